import flash.display.Loader;
import flash.events.Event;
import flash.events.IOErrorEvent;
import flash.net.SharedObject;
import flash.net.URLLoader;
import flash.net.URLRequest;
import flash.system.ApplicationDomain;
import flash.system.LoaderContext;
import flash.text.TextField;
import flash.text.TextFormat;

// Reports what a movie learns of its own address into the shared object "probe", flushing each
// finding: loaderInfo.url, the parameters of its query, the text of beside.txt loaded relative to
// itself, the address of second.swf loaded the same way (which saves "second" itself), and what a
// load of a file that is nowhere gives. It shows the findings as text too.
class Probe {
    static var so:SharedObject;
    static var lines:TextField;

    static function keep(name:String, value:Dynamic) {
        Reflect.setField(so.data, name, value);
        so.flush();
        lines.appendText(name + ": " + value + "\n");
    }

    static function main() {
        var root = flash.Lib.current;
        lines = new TextField();
        lines.defaultTextFormat = new TextFormat("_sans", 14, 0x000000);
        lines.width = 540;
        lines.height = 380;
        lines.multiline = true;
        lines.wordWrap = true;
        root.addChild(lines);

        so = SharedObject.getLocal("probe");
        var info = root.loaderInfo;
        keep("url", info.url);
        keep("parameters", info.parameters);

        var text = new URLLoader();
        text.addEventListener(Event.COMPLETE, function(_) keep("beside", text.data));
        text.addEventListener(IOErrorEvent.IO_ERROR, function(e:IOErrorEvent) keep("beside", "error"));
        text.load(new URLRequest("beside.txt"));

        var missing = new URLLoader();
        missing.addEventListener(Event.COMPLETE, function(_) keep("missing", "loaded"));
        missing.addEventListener(IOErrorEvent.IO_ERROR, function(e:IOErrorEvent) keep("missing", "error"));
        missing.load(new URLRequest("nowhere.txt"));

        var loader = new Loader();
        var done = loader.contentLoaderInfo;
        done.addEventListener(Event.COMPLETE, function(_) keep("second", done.url));
        done.addEventListener(IOErrorEvent.IO_ERROR, function(e:IOErrorEvent) keep("second", "error"));
        loader.y = 300;
        root.addChild(loader);
        // A domain of its own, so the second movie runs its own classes rather than these.
        loader.load(new URLRequest("second.swf"), new LoaderContext(false, new ApplicationDomain()));
    }
}
