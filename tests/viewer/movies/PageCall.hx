import flash.display.Sprite;
import flash.external.ExternalInterface;

// Calls its page as games that report scores do: ExternalInterface.available, a call of a function
// the page does not have, and a call whose name is script that would retitle the page. Fills its
// stage green when the page is there and both calls gave null, red when not, and stays grey when
// a call stopped the movie with an error.
class PageCall {
    static function main() {
        var fill = new Sprite();
        flash.Lib.current.addChild(fill);
        function paint(colour:Int) {
            fill.graphics.clear();
            fill.graphics.beginFill(colour);
            fill.graphics.drawRect(0, 0, 400, 300);
        }
        paint(0x808080);
        var available = ExternalInterface.available;
        var missing:Dynamic = ExternalInterface.call("submitScore", 100);
        var script:Dynamic = ExternalInterface.call("function () { document.title = 'ran'; return 1; }");
        var isNull = function(value:Dynamic) return untyped __typeof__(value) == "object" && value == null;
        paint(available && isNull(missing) && isNull(script) ? 0x00ff00 : 0xff0000);
    }
}
