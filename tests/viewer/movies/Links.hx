import flash.display.Sprite;
import flash.events.KeyboardEvent;
import flash.events.MouseEvent;
import flash.net.URLRequest;

// Opens links and gives commands as the era's games did. At its start, without a press, it opens
// http://127.0.0.1:9/start in a new window. Its first three presses (mouse presses, or the key L)
// open a javascript:, a file: and a brindle: address in a new window, one each; every later press
// opens http://127.0.0.1:9/more?press=N (N counts the presses) when N is even, more/games.html?press=N
// beside the movie when it is odd, then in the same press another web address in a new window and
// one in its own window. Keys F and N send fscommand
// "fullscreen" "true" and "false", S and A "allowscale" "false" and "true", M "showmenu" "false",
// Q "quit". Its 200 x 150 stage has a red 50 x 50 square at its top left corner on grey, which
// turns blue once the start's link has been opened, then cyan, magenta and green after each of
// the first three presses.
class Links {
    static var presses = 0;
    static var others = ["javascript:document.title='ran'", "file:///etc/passwd", "brindle://elsewhere/Game/links.swf"];
    static var colours = [0x0000ff, 0x00ffff, 0xff00ff, 0x00ff00];
    static var fill:Sprite;

    static function open(url:String, target = "_blank") {
        flash.Lib.getURL(new URLRequest(url), target);
    }

    static function paint(colour:Int) {
        fill.graphics.clear();
        fill.graphics.beginFill(colour);
        fill.graphics.drawRect(0, 0, 200, 150);
        fill.graphics.beginFill(0xff0000);
        fill.graphics.drawRect(0, 0, 50, 50);
    }

    static function press() {
        presses++;
        if (presses <= others.length) {
            open(others[presses - 1]);
            paint(colours[presses]);
            return;
        }
        open((presses % 2 == 0 ? "http://127.0.0.1:9/more" : "more/games.html") + "?press=" + presses);
        open("http://127.0.0.1:9/again?press=" + presses);
        open("https://127.0.0.1:9/self?press=" + presses, "_self");
    }

    static function main() {
        var stage = flash.Lib.current.stage;
        fill = new Sprite();
        flash.Lib.current.addChild(fill);
        paint(0x808080);
        open("http://127.0.0.1:9/start");
        paint(colours[0]);
        stage.focus = stage;
        stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) press());
        stage.addEventListener(KeyboardEvent.KEY_DOWN, function(event:KeyboardEvent) {
            switch (event.keyCode) {
                case 76: press();
                case 70: flash.Lib.fscommand("fullscreen", "true");
                case 78: flash.Lib.fscommand("fullscreen", "false");
                case 83: flash.Lib.fscommand("allowscale", "false");
                case 65: flash.Lib.fscommand("allowscale", "true");
                case 77: flash.Lib.fscommand("showmenu", "false");
                case 81: flash.Lib.fscommand("quit");
                default:
            }
        });
    }
}
