import flash.net.SharedObject;
import flash.text.TextField;

// Loaded by Probe beside itself: saves "second" with its own address, and says so on screen.
class Second {
    static function main() {
        var so = SharedObject.getLocal("second");
        so.data.ran = true;
        so.data.url = flash.Lib.current.loaderInfo.url;
        so.flush();
        var text = new TextField();
        text.width = 400;
        text.text = "second.swf ran";
        flash.Lib.current.addChild(text);
    }
}
