import flash.net.SharedObject;
import flash.text.TextField;

// Tries to keep far more than a movie may: at its first start it flushes 40 shared objects
// ("hoard0" to "hoard39") of one 15 MB string each, one every tick, counting the flushes that succeed and those
// that fail, and keeps the counts in "outcome". Every start counts itself there too, with what it
// read back of the first run: the counts and the length of hoard0's string (-1 when none).
class Hoard {
    static function main() {
        var outcome = SharedObject.getLocal("outcome");
        var starts:Int = outcome.data.starts == null ? 0 : outcome.data.starts;
        var first = SharedObject.getLocal("hoard0");
        outcome.data.starts = starts + 1;
        outcome.data.readFlushed = outcome.data.flushed == null ? -1 : outcome.data.flushed;
        outcome.data.readLength = first.data.blob == null ? -1 : first.data.blob.length;
        outcome.flush();
        // One object every tick, so no script of the movie runs long.
        if (starts == 0) {
            var size = 15 * 1024 * 1024;
            var blob = "x";
            while (blob.length < size)
                blob += blob;
            blob = blob.substr(0, size);
            var tried = 0;
            var flushed = 0;
            var refused = 0;
            var timer = new haxe.Timer(10);
            timer.run = function() {
                var so = SharedObject.getLocal("hoard" + tried);
                so.data.blob = blob;
                try {
                    so.flush();
                    flushed++;
                } catch (e:Dynamic) {
                    refused++;
                }
                if (++tried < 40) return;
                timer.stop();
                outcome.data.flushed = flushed;
                outcome.data.refused = refused;
                outcome.flush();
            };
        }
        var text = new TextField();
        text.width = 400;
        text.text = "hoard: start " + (starts + 1);
        flash.Lib.current.addChild(text);
    }
}
