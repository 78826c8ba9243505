import flash.display.Sprite;
import flash.net.SharedObject;

// A movie with many saves for the closing benchmark: it puts count shared objects of about size
// bytes each ("save0", "save1"...) in a state of this start and never flushes them, so only the
// save at the movie's end writes them. The shared object "started", flushed at once, tells that
// the movie runs and when it started (stamp, which every other object holds too).
class ManySaves {
    public static function start(count:Int, size:Int) {
        var stamp = Date.now().getTime();
        var filler = new StringBuf();
        for (i in 0...size)
            filler.addChar(97 + i % 26);
        var text = filler.toString();
        for (i in 0...count) {
            var so = SharedObject.getLocal("save" + i);
            so.data.stamp = stamp;
            so.data.filler = text;
        }
        var started = SharedObject.getLocal("started");
        started.data.stamp = stamp;
        started.flush();

        var stage = new Sprite();
        stage.graphics.beginFill(0x305070);
        stage.graphics.drawRect(0, 0, 400, 300);
        flash.Lib.current.addChild(stage);
    }
}
