import flash.display.Sprite;
import flash.net.SharedObject;
import flash.text.TextField;
import flash.text.TextFormat;

// Counts its plays in the shared object "plays": each start reads the count, adds one and flushes
// at once. It shows the count as text and as that many green squares, keeps the count it read in
// the save too ("read"), and every 100 ms counts a tick ("ticks") and flushes again, tracing
// "plays N" for a test that listens. The shared object "kept" counts the plays the same way but is
// never flushed: only the player's save at the movie's end keeps it.
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
            var kept = SharedObject.getLocal("kept");
            var keptRead = kept.data.count == null ? 0 : kept.data.count;
            kept.data.count = keptRead + 1;
            kept.data.read = keptRead;
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

        var timer = new haxe.Timer(100);
        timer.run = function() {
            try {
                var so = SharedObject.getLocal("plays");
                so.data.ticks = so.data.ticks == null ? 1 : so.data.ticks + 1;
                so.flush();
            } catch (e:Dynamic) {}
            flash.Lib.trace("plays " + plays);
        };
    }
}
