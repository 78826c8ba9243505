import flash.display.Sprite;

// Draws yellow bands beyond every edge of its 300 x 300 stage, whose background is blue, as games
// draw what comes in from outside. Its stage scales to the player and sits in its middle, as by
// default in a movie made with Flash's own tools.
class Beyond {
    static function main() {
        flash.Lib.current.stage.align = cast "";
        var bands = new Sprite();
        flash.Lib.current.addChild(bands);
        bands.graphics.beginFill(0xffff00);
        bands.graphics.drawRect(-300, 0, 300, 300);
        bands.graphics.drawRect(300, 0, 300, 300);
        bands.graphics.drawRect(0, -300, 300, 300);
        bands.graphics.drawRect(0, 300, 300, 300);
    }
}
