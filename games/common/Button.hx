package common;

import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;
import flash.text.TextFieldAutoSize;
import flash.text.TextFormat;
import flash.text.TextFormatAlign;

// A rounded push button with a centred caption that calls back when clicked.
class Button extends Sprite {
    var caption:TextField;
    var w:Float;
    var h:Float;

    public function new(x:Float, y:Float, w:Float, h:Float, text:String, fill:Int, onClick:Void->Void,
            textColour:Int = 0xffffff, size:Int = 16) {
        super();
        this.x = x;
        this.y = y;
        this.w = w;
        this.h = h;
        buttonMode = true;
        mouseChildren = false;
        caption = new TextField();
        var format = new TextFormat("_sans", size, textColour, true);
        format.align = TextFormatAlign.CENTER;
        caption.defaultTextFormat = format;
        caption.multiline = true;
        caption.selectable = false;
        caption.autoSize = TextFieldAutoSize.CENTER;
        addChild(caption);
        setText(text);
        setFill(fill);
        addEventListener(MouseEvent.CLICK, function(e:MouseEvent) {
            e.stopPropagation(); // a button is not a click on the game below it
            onClick();
        });
    }

    public function setText(text:String):Void {
        caption.text = text;
        caption.x = (w - caption.width) / 2;
        caption.y = (h - caption.height) / 2;
    }

    // Repaints the button in another colour, e.g. to mark the chosen one of a group.
    public function setFill(colour:Int):Void {
        graphics.clear();
        graphics.lineStyle(1, 0x000000, 0.35);
        graphics.beginFill(colour);
        graphics.drawRoundRect(0, 0, w, h, 10, 10);
        graphics.endFill();
    }
}
