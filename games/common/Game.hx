package common;

import flash.display.Shape;
import flash.display.Sprite;
import flash.display.StageAlign;
import flash.display.StageScaleMode;
import flash.events.Event;
import flash.events.KeyboardEvent;
import flash.text.TextField;
import flash.text.TextFieldAutoSize;
import flash.text.TextFormat;
import flash.text.TextFormatAlign;

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
        addEventListener(Event.ENTER_FRAME, function(_) {
            tick();
            pulseMessage();
        });
    }

    var message:Sprite;
    var messageRim:Shape;
    var pulse = 0;

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

    // A panel in the middle of the game, over everything else: a title and smaller lines below
    // (start, pause, game over). A new message replaces the one shown.
    function showMessage(title:String, detail:String = ""):Void {
        hideMessage();
        message = new Sprite();
        message.mouseEnabled = false;
        message.mouseChildren = false;
        var heading = new TextField();
        heading.defaultTextFormat = new TextFormat("_sans", 28, 0xFFFFFF, true, null, null, null, null, TextFormatAlign.CENTER);
        var lines = new TextField();
        lines.defaultTextFormat = new TextFormat("_sans", 15, 0xE0E0E0, false, null, null, null, null, TextFormatAlign.CENTER);
        for (field in [heading, lines]) {
            field.selectable = false;
            field.multiline = true;
            field.autoSize = TextFieldAutoSize.CENTER;
            field.width = 460;
        }
        heading.text = title;
        lines.text = detail;
        // The panel is as wide as its text, so that it leaves the game's side columns in sight.
        var width = Math.min(500, Math.max(240, Math.max(heading.textWidth, detail == "" ? 0 : lines.textWidth) + 56));
        var height = heading.height + (detail == "" ? 0 : lines.height + 6) + 32;
        var top = (HEIGHT - height) / 2;
        var left = (WIDTH - width) / 2;
        message.graphics.beginFill(0x000000, 0.72);
        message.graphics.drawRoundRect(left, top, width, height, 24, 24);
        message.graphics.endFill();
        messageRim = new Shape();
        messageRim.graphics.lineStyle(3, 0xFFFFFF);
        messageRim.graphics.drawRoundRect(left, top, width, height, 24, 24);
        message.addChild(messageRim);
        pulse = 0;
        heading.x = (WIDTH - heading.width) / 2;
        heading.y = top + 16;
        lines.x = (WIDTH - lines.width) / 2;
        lines.y = heading.y + heading.height + 6;
        message.addChild(heading);
        if (detail != "") message.addChild(lines);
        addChild(message);
    }

    function hideMessage():Void {
        if (message != null) removeChild(message);
        message = null;
    }

    // The panel's rim glows and fades, so a game waiting for the player shows it is alive.
    function pulseMessage():Void {
        if (message == null) return;
        messageRim.alpha = 0.45 - 0.35 * Math.cos(pulse++ * 0.1);
    }
}
