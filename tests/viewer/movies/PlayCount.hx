import flash.display.Sprite;
import flash.net.SharedObject;
import flash.text.TextField;
import flash.text.TextFormat;

// Counts its plays in the shared object "plays": each start reads the count, adds one and flushes
// at once. It shows the count as text and as that many green squares, keeps the count it read in
// the save too ("read"), and traces "plays N" twice a second for a test that listens.
class PlayCount {
    static function main() {
        var root = flash.Lib.current;
        var plays = 0;
        var read = -1;
        try {
            var so = SharedObject.getLocal("plays");
            read = so.data.count == null ? 0 : so.data.count;
            plays = read + 1;
            so.data.count = plays;
            so.data.read = read;
            so.flush();
        } catch (e:Dynamic) {}

        var stage = new Sprite();
        stage.graphics.beginFill(0x203040);
        stage.graphics.drawRect(0, 0, 400, 300);
        for (i in 0...plays) {
            stage.graphics.beginFill(0x20c040);
            stage.graphics.drawRect(20 + i * 40, 200, 30, 30);
        }
        root.addChild(stage);
        var text = new TextField();
        text.defaultTextFormat = new TextFormat("_sans", 28, 0xffffff, true);
        text.width = 380;
        text.text = read < 0 ? "no storage" : "plays: " + plays;
        text.x = 20;
        text.y = 40;
        root.addChild(text);

        var timer = new haxe.Timer(500);
        timer.run = function() flash.Lib.trace("plays " + plays);
    }
}
