package common;

import flash.display.Sprite;
import flash.display.StageAlign;
import flash.display.StageScaleMode;
import flash.events.Event;
import flash.events.KeyboardEvent;
import flash.text.TextField;
import flash.text.TextFieldAutoSize;
import flash.text.TextFormat;

// Base of every store game: the stage scales the game to the player's size, the game gets key
// presses and releases and a frame tick, and has labels for its texts.
class Game extends Sprite {
    public static inline var WIDTH = 550;
    public static inline var HEIGHT = 400;

    public function new() {
        super();
        var stage = flash.Lib.current.stage;
        stage.scaleMode = StageScaleMode.SHOW_ALL;
        stage.align = StageAlign.TOP;
        flash.Lib.current.addChild(this);
        stage.focus = stage;
        stage.addEventListener(KeyboardEvent.KEY_DOWN, function(e:KeyboardEvent) keyDown(e.keyCode, e.charCode));
        stage.addEventListener(KeyboardEvent.KEY_UP, function(e:KeyboardEvent) keyUp(e.keyCode));
        addEventListener(Event.ENTER_FRAME, function(_) tick());
    }

    function keyDown(keyCode:Int, charCode:Int):Void {}

    function keyUp(keyCode:Int):Void {}

    function tick():Void {}

    // A text on the game at x, y; centred on x when centred is set.
    function label(x:Float, y:Float, size:Int, colour:Int, text:String = "", centred:Bool = false):TextField {
        var field = new TextField();
        field.defaultTextFormat = new TextFormat("_sans", size, colour, true);
        field.selectable = false;
        field.mouseEnabled = false;
        field.autoSize = centred ? TextFieldAutoSize.CENTER : TextFieldAutoSize.LEFT;
        field.text = text;
        field.x = centred ? x - field.width / 2 : x;
        field.y = y;
        addChild(field);
        return field;
    }
}
