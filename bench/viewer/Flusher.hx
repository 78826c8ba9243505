import flash.net.SharedObject;

// Saves four times a second for the viewer benchmark: the shared object "flushes" holds how many
// saves were made (n) and when the last one was made (at, milliseconds since 1970), so the time
// from a save to its file on disk can be read off the file.
class Flusher {
    static function main() {
        var so = SharedObject.getLocal("flushes");
        var n = 0;
        var timer = new haxe.Timer(250);
        timer.run = function() {
            n++;
            so.data.n = n;
            so.data.at = Date.now().getTime();
            so.flush();
        };
    }
}
