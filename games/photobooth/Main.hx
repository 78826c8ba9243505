import common.Button;
import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Graphics;
import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;

// A sticker on the photo; its drawing depends on its kind.
class Sticker extends Sprite {
    public var kind:Int;

    public function new(kind:Int) {
        super();
        this.kind = kind;
        buttonMode = true;
        Main.drawSticker(graphics, kind);
        if (kind == 7) {
            var words = new TextField();
            words.defaultTextFormat = new flash.text.TextFormat("_sans", 16, 0x303030, true);
            words.text = "你好";
            words.selectable = false;
            words.mouseEnabled = false;
            words.width = 40;
            words.x = -14;
            words.y = -16;
            addChild(words);
        }
    }
}

// A photo booth: a drawn portrait gets a frame, a backdrop and stickers. Click a sticker in the
// panel to put it on the photo, drag stickers around (drag one off the photo to throw it away),
// and with one picked: + and - resize it, Q and E turn it, Delete removes it. The composition is
// kept after every change, and Snap counts a photo taken.
class Main extends Game {
    static inline var PX = 18;
    static inline var PY = 44;
    static inline var PW = 300;
    static inline var PH = 330;
    static var FRAME_NAMES = ["无", "爱心", "星星", "花朵", "胶片", "金边"];
    static var BACKDROPS = [0xbfe4ff, 0xffd6e8, 0xe0ffd0, 0xfff0b0];

    var photo = new Sprite();
    var stickers = new Sprite();
    var frameLayer = new Sprite();
    var flashLayer = new Sprite();
    var outline = new Sprite(); // around the picked sticker
    var frameButtons:Array<Button> = [];
    var info:TextField;
    var frame = 0;
    var backdrop = 0;
    var picked:Sticker = null;
    var dragging = false;
    var grabX = 0.0;
    var grabY = 0.0;
    var frames = 0;
    var flash = 0;
    var snaps:Int;

    static function main() new Main();

    function new() {
        super();
        var picture = new Sprite();
        picture.addChild(photo);
        picture.addChild(stickers);
        picture.addChild(outline);
        outline.mouseEnabled = false;
        for (layer in [picture, frameLayer, flashLayer]) {
            layer.x = PX;
            layer.y = PY;
            addChild(layer);
        }
        frameLayer.mouseEnabled = false;
        photo.addEventListener(MouseEvent.MOUSE_DOWN, function(_) pick(null));
        flashLayer.mouseEnabled = false;

        label(PX, 8, 20, 0x7a3060, "大头贴");
        label(340, 8, 13, 0x505050, "相框");
        for (i in 0...FRAME_NAMES.length) {
            var b = new Button(340 + (i % 3) * 68, 26 + Std.int(i / 3) * 30, 64, 26, FRAME_NAMES[i], 0x9a6a90, setFrame.bind(i), 0xffffff, 12);
            frameButtons.push(b);
            addChild(b);
        }
        label(340, 90, 13, 0x505050, "背景");
        for (i in 0...BACKDROPS.length) addChild(new Button(340 + i * 51, 108, 46, 22, "", BACKDROPS[i], setBackdrop.bind(i)));
        label(340, 136, 13, 0x505050, "贴纸：点击添加到照片上");
        for (k in 0...Composition.KINDS) {
            var icon = new Sticker(k);
            icon.scaleX = icon.scaleY = 0.55;
            icon.x = 372 + (k % 3) * 68;
            icon.y = 178 + Std.int(k / 3) * 48;
            icon.addEventListener(MouseEvent.MOUSE_DOWN, function(e:MouseEvent) {
                e.stopPropagation();
                add(k, PW / 2, PH / 2, 1, 0);
                save();
            });
            addChild(icon);
        }
        addChild(new Button(340, 316, 98, 32, "拍照！", 0xe06030, snap));
        addChild(new Button(446, 316, 98, 32, "清空", 0x707070, clear));
        // Two lines of help that end well above the bottom edge.
        info = label(340, 352, 12, 0x505050);
        snaps = Std.int(number(Progress.get("snaps", 0)));

        stage.addEventListener(MouseEvent.MOUSE_MOVE, function(_) drag());
        stage.addEventListener(MouseEvent.MOUSE_UP, function(_) drop());
        restore();
    }

    static function number(value:Dynamic):Float {
        return Std.isOfType(value, Float) || Std.isOfType(value, Int) ? value : 0;
    }

    function setFrame(i:Int):Void {
        frame = i;
        for (k in 0...frameButtons.length) frameButtons[k].setFill(k == i ? 0xc04890 : 0x9a6a90);
        drawFrame();
        save();
    }

    function setBackdrop(i:Int):Void {
        backdrop = i;
        save();
    }

    function add(kind:Int, x:Float, y:Float, scale:Float, rotation:Float):Sticker {
        var s = new Sticker(kind);
        s.x = x;
        s.y = y;
        s.scaleX = s.scaleY = scale;
        s.rotation = rotation;
        s.addEventListener(MouseEvent.MOUSE_DOWN, function(e:MouseEvent) {
            e.stopPropagation();
            pick(s);
            dragging = true;
            grabX = stickers.mouseX - s.x;
            grabY = stickers.mouseY - s.y;
            stickers.setChildIndex(s, stickers.numChildren - 1); // the one taken comes to the top
        });
        stickers.addChild(s);
        pick(s);
        return s;
    }

    function pick(s:Sticker):Void {
        picked = s;
    }

    function drag():Void {
        if (!dragging || picked == null) return;
        picked.x = stickers.mouseX - grabX;
        picked.y = stickers.mouseY - grabY;
    }

    function drop():Void {
        if (!dragging) return;
        dragging = false;
        if (picked != null && (picked.x < 0 || picked.y < 0 || picked.x > PW || picked.y > PH)) remove();
        save();
    }

    function remove():Void {
        if (picked == null) return;
        stickers.removeChild(picked);
        picked = null;
        save();
    }

    function clear():Void {
        while (stickers.numChildren > 0) stickers.removeChildAt(0);
        picked = null;
        setFrame(0);
    }

    function snap():Void {
        flash = 12;
        snaps++;
        Progress.set("snaps", snaps);
        Progress.offerBest(snaps);
        save();
    }

    override function keyDown(keyCode:Int, charCode:Int):Void {
        if (picked == null) return;
        var ch = String.fromCharCode(charCode);
        if (keyCode == Keys.DELETE || keyCode == Keys.BACKSPACE) remove();
        else if (ch == "+" || ch == "=") picked.scaleX = picked.scaleY = Math.min(Composition.MAX_SCALE / 100, picked.scaleX * 1.15);
        else if (ch == "-") picked.scaleX = picked.scaleY = Math.max(Composition.MIN_SCALE / 100, picked.scaleX / 1.15);
        else if (ch == "q" || ch == "Q") picked.rotation -= 15;
        else if (ch == "e" || ch == "E") picked.rotation += 15;
        else if (keyCode >= Keys.LEFT && keyCode <= Keys.DOWN) {
            picked.x += keyCode == Keys.LEFT ? -4 : (keyCode == Keys.RIGHT ? 4 : 0);
            picked.y += keyCode == Keys.UP ? -4 : (keyCode == Keys.DOWN ? 4 : 0);
        } else return;
        save();
    }

    // The composition as text: frame, backdrop, then kind, x, y, scale and turn of every sticker.
    function save():Void {
        var c = new Composition();
        c.frame = frame;
        c.backdrop = backdrop;
        for (i in 0...stickers.numChildren) {
            var s:Sticker = cast stickers.getChildAt(i);
            c.stickers.push({kind: s.kind, x: Math.round(s.x), y: Math.round(s.y), scale: Math.round(s.scaleX * 100), turn: Math.round(s.rotation)});
        }
        Progress.set("photo", c.write());
    }

    function restore():Void {
        var c = Composition.read(Progress.get("photo", ""), PW, PH);
        backdrop = c.backdrop;
        for (s in c.stickers) add(s.kind, s.x, s.y, s.scale / 100, s.turn);
        pick(null);
        setFrame(c.frame);
    }

    override function tick():Void {
        frames++;
        drawPhoto();
        var o = outline.graphics;
        o.clear();
        if (picked != null) {
            var r = picked.getBounds(stickers);
            o.lineStyle(2, frames % 30 < 15 ? 0xffffff : 0x6090ff);
            o.drawRoundRect(r.x - 4, r.y - 4, r.width + 8, r.height + 8, 10, 10);
        }
        var f = flashLayer.graphics;
        f.clear();
        if (flash > 0) {
            f.beginFill(0xffffff, flash / 12);
            f.drawRect(0, 0, PW, PH);
            f.endFill();
            flash--;
        }
        info.text = "已拍 " + snaps + " 张    选中的贴纸：\n+ - 缩放   Q E 旋转   Del 删除";
    }

    function drawPhoto():Void {
        var g = photo.graphics;
        g.clear();
        g.beginFill(BACKDROPS[backdrop]);
        g.drawRect(0, 0, PW, PH);
        var cx = PW / 2;
        g.beginFill(0x4a70c0); // shirt
        g.drawEllipse(cx - 120, 260, 240, 160);
        g.beginFill(0xf2c8a0); // neck and head
        g.drawRect(cx - 22, 210, 44, 60);
        g.beginFill(0xf2c8a0);
        g.drawEllipse(cx - 80, 70, 160, 170);
        g.beginFill(0x3a2418); // hair
        g.drawEllipse(cx - 88, 52, 176, 90);
        g.beginFill(0x3a2418);
        g.drawRect(cx - 88, 96, 18, 70);
        g.beginFill(0x3a2418);
        g.drawRect(cx + 70, 96, 18, 70);
        var blink = frames % 150 < 6;
        for (side in [-1, 1]) {
            var ex = cx + side * 32;
            g.beginFill(0xffffff);
            g.drawEllipse(ex - 14, blink ? 146 : 138, 28, blink ? 3 : 20);
            if (!blink) {
                g.beginFill(0x302010);
                g.drawCircle(ex + (mouseX - PX - ex) / 60, 148 + (mouseY - PY - 148) / 80, 6);
            }
            g.beginFill(0xff9aa0, 0.6);
            g.drawEllipse(ex - 16 + side * 10, 180, 24, 12);
        }
        g.endFill();
        g.lineStyle(3, 0x3a2418);
        g.moveTo(cx - 46, 124);
        g.curveTo(cx - 32, 116, cx - 18, 124);
        g.moveTo(cx + 18, 124);
        g.curveTo(cx + 32, 116, cx + 46, 124);
        g.lineStyle(3, 0xc08060);
        g.moveTo(cx, 160);
        g.lineTo(cx - 6, 180);
        g.lineTo(cx + 4, 182);
        g.lineStyle(4, 0xb03040);
        g.moveTo(cx - 26, 200);
        g.curveTo(cx, 218, cx + 26, 200);
        g.lineStyle();
    }

    function drawFrame():Void {
        var g = frameLayer.graphics;
        g.clear();
        // the page around the photo, over whatever of the portrait and its stickers reaches out
        g.beginFill(0xfff4f8);
        g.drawRect(-PX, -PY, Game.WIDTH, PY);
        g.drawRect(-PX, PH, Game.WIDTH, Game.HEIGHT - PY - PH);
        g.drawRect(-PX, 0, PX, PH);
        g.drawRect(PW, 0, Game.WIDTH - PX - PW, PH);
        g.endFill();
        if (frame == 0) return;
        var colour = [0, 0xff7aa8, 0x4a70d0, 0x60b050, 0x202020, 0xd4a020][frame];
        var t = 18;
        g.beginFill(colour);
        g.drawRect(0, 0, PW, t);
        g.drawRect(0, PH - t, PW, t);
        g.drawRect(0, t, t, PH - 2 * t);
        g.drawRect(PW - t, t, t, PH - 2 * t);
        g.endFill();
        var k = 0;
        var step = 30;
        var spots = [for (x in 0...11) [9 + x * step, 9]].concat([for (x in 0...11) [9 + x * step, PH - 9]])
            .concat([for (y in 1...11) [9, 9 + y * step]]).concat([for (y in 1...11) [PW - 9, 9 + y * step]]);
        for (s in spots) {
            var x = s[0], y = s[1];
            if (x > PW || y > PH) continue;
            switch (frame) {
                case 1: heart(g, x, y, 6, 0xffffff);
                case 2: star(g, x, y, 7, 0xffe040);
                case 3:
                    for (p in 0...5) {
                        g.beginFill([0xffffff, 0xffd0e0, 0xfff080][k % 3]);
                        g.drawCircle(x + Math.cos(p * 1.26) * 4, y + Math.sin(p * 1.26) * 4, 3.5);
                    }
                    g.beginFill(0xffa000);
                    g.drawCircle(x, y, 2.5);
                case 4:
                    g.beginFill(0xffffff);
                    g.drawRect(x - 4, y - 3, 8, 6);
                case 5:
                    g.beginFill(0xfff0a0);
                    g.drawCircle(x, y, 3);
            }
            k++;
        }
        g.endFill();
    }

    public static function heart(g:Graphics, x:Float, y:Float, r:Float, colour:Int):Void {
        g.beginFill(colour);
        g.moveTo(x, y + r * 1.4);
        g.curveTo(x - r * 2.2, y - r * 0.2, x - r, y - r);
        g.curveTo(x, y - r * 1.5, x, y - r * 0.4);
        g.curveTo(x, y - r * 1.5, x + r, y - r);
        g.curveTo(x + r * 2.2, y - r * 0.2, x, y + r * 1.4);
        g.endFill();
    }

    public static function star(g:Graphics, x:Float, y:Float, r:Float, colour:Int):Void {
        g.beginFill(colour);
        g.moveTo(x, y - r);
        for (k in 1...10) {
            var a = -Math.PI / 2 + k * Math.PI / 5, rr = k % 2 == 0 ? r : r * 0.45;
            g.lineTo(x + Math.cos(a) * rr, y + Math.sin(a) * rr);
        }
        g.endFill();
    }

    public static function drawSticker(g:Graphics, kind:Int):Void {
        switch (kind) {
            case 0: heart(g, 0, 0, 16, 0xe02040);
            case 1: star(g, 0, 0, 26, 0xffd020);
            case 2: // crown
                g.beginFill(0xf0c020);
                g.moveTo(-30, 14);
                g.lineTo(-30, -14);
                g.lineTo(-15, 0);
                g.lineTo(0, -20);
                g.lineTo(15, 0);
                g.lineTo(30, -14);
                g.lineTo(30, 14);
                g.beginFill(0xe02040);
                g.drawCircle(0, 6, 4);
            case 3: // sunglasses
                g.beginFill(0x101010);
                g.drawRoundRect(-44, -12, 38, 26, 10, 10);
                g.beginFill(0x101010);
                g.drawRoundRect(6, -12, 38, 26, 10, 10);
                g.beginFill(0x101010);
                g.drawRect(-8, -8, 16, 4);
            case 4: // bow
                g.beginFill(0xff60a0);
                g.moveTo(0, 0);
                g.lineTo(-30, -16);
                g.lineTo(-30, 16);
                g.beginFill(0xff60a0);
                g.moveTo(0, 0);
                g.lineTo(30, -16);
                g.lineTo(30, 16);
                g.beginFill(0xd03080);
                g.drawCircle(0, 0, 7);
            case 5: // cat ears
                for (side in [-1, 1]) {
                    g.beginFill(0x404040);
                    g.moveTo(side * 50, 14);
                    g.lineTo(side * 38, -26);
                    g.lineTo(side * 18, 6);
                    g.beginFill(0xf0a0b0);
                    g.moveTo(side * 44, 8);
                    g.lineTo(side * 38, -14);
                    g.lineTo(side * 26, 4);
                }
            case 6: // moustache
                g.beginFill(0x4a2a10);
                g.moveTo(0, -4);
                g.curveTo(-20, -14, -36, 2);
                g.curveTo(-18, 4, 0, 6);
                g.curveTo(18, 4, 36, 2);
                g.curveTo(20, -14, 0, -4);
            case 7: // speech bubble; its words are a text field
                g.lineStyle(2, 0x303030);
                g.beginFill(0xffffff);
                g.drawEllipse(-30, -22, 60, 36);
                g.beginFill(0xffffff);
                g.moveTo(-12, 12);
                g.lineTo(-22, 26);
                g.lineTo(0, 13);
                g.lineStyle();
            default: // flower
                for (p in 0...6) {
                    g.beginFill(0xff80c0);
                    g.drawCircle(Math.cos(p * 1.047) * 13, Math.sin(p * 1.047) * 13, 10);
                }
                g.beginFill(0xffe040);
                g.drawCircle(0, 0, 9);
        }
        g.endFill();
    }
}
