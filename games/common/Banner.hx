package common;

import flash.text.TextField;
import flash.text.TextFieldAutoSize;
import flash.text.TextFormat;
import flash.text.TextFormatAlign;

// A message over the game, each line centred on x, on a box of its own colour; hidden while empty.
class Banner extends TextField {
    public function new(x:Float, y:Float, size:Int, colour:Int, box:Int) {
        super();
        var format = new TextFormat("_sans", size, colour, true);
        format.align = TextFormatAlign.CENTER;
        defaultTextFormat = format;
        selectable = false;
        mouseEnabled = false;
        multiline = true;
        autoSize = TextFieldAutoSize.CENTER;
        background = true;
        backgroundColor = box;
        width = 2;
        this.x = x - 1; // the centre stays at x as the text resizes the field
        this.y = y;
        visible = false;
    }

    public function show(message:String):Void {
        text = message;
        visible = message != "";
    }
}
