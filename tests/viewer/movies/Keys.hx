import flash.display.Sprite;
import flash.events.KeyboardEvent;

// Fills its stage with the colour of the last arrow key pressed: grey before any, then left red,
// right green, up blue, down yellow. Tells whether the keys reach a movie.
class Keys {
    static function main() {
        var root = flash.Lib.current;
        var fill = new Sprite();
        root.addChild(fill);
        function paint(colour:Int) {
            fill.graphics.clear();
            fill.graphics.beginFill(colour);
            fill.graphics.drawRect(0, 0, 400, 300);
        }
        paint(0x808080);
        // The stage takes the keys, as the store's games do.
        root.stage.focus = root.stage;
        root.stage.addEventListener(KeyboardEvent.KEY_DOWN, function(event:KeyboardEvent) {
            switch (event.keyCode) {
                case 37: paint(0xff0000);
                case 39: paint(0x00ff00);
                case 38: paint(0x0000ff);
                case 40: paint(0xffff00);
                default:
            }
        });
    }
}
