import flash.Lib;
import flash.display.Bitmap;
import flash.display.BitmapData;
import flash.display.GradientType;
import flash.display.Shape;
import flash.display.Sprite;
import flash.events.Event;
import flash.filters.BitmapFilter;
import flash.filters.BlurFilter;
import flash.filters.DropShadowFilter;
import flash.filters.GlowFilter;
import flash.geom.Matrix;
import flash.net.SharedObject;
import flash.text.TextField;
import flash.text.TextFormat;

// A heavy movie in the manner of the fighting and action games of 2005 to 2008, for the frame-rate
// benchmark (800 x 480 at 30 frames a second), in two parts built as two movies (HeavyLogo,
// HeavyPlay): a studio logo of 120 frames (4 s) whose title, stars and light sweep carry blur, glow
// and drop shadow filters that change every frame, played again and again; and a scene of many
// gradient-filled vector figures, smoothed bitmaps, shadowed and glowing fighters and text that
// changes every frame, all moving.
//
// The movie counts the frames it sees and reports them in the shared object "rate", twice a second
// by its own clock: frames (counted since the first) and at (milliseconds since 1970).
class HeavyScene {
    static inline var LogoFrames = 120;
    static inline var Width = 800;
    static inline var Height = 480;

    var root:Sprite;
    var logoOnly:Bool;
    var frames = 0;
    var lastReport = 0.0;
    var rate:SharedObject;

    var logo:Sprite;
    var title:TextField;
    var stars:Array<Shape> = [];
    var sweep:Shape;

    var scenery:Array<Shape> = [];
    var figures:Array<Sprite> = [];
    var pictures:Array<Bitmap> = [];
    var fighters:Array<Sprite> = [];
    var labels:Array<TextField> = [];

    public function new(logoOnly:Bool) {
        this.logoOnly = logoOnly;
        root = Lib.current;
        rate = SharedObject.getLocal("rate");
        if (logoOnly) buildLogo(); else buildScene();
        root.addEventListener(Event.ENTER_FRAME, onFrame);
    }

    function onFrame(_) {
        frames++;
        if (logoOnly) animateLogo(frames % LogoFrames); else animateScene(frames);
        var now = Date.now().getTime();
        if (now - lastReport >= 500) {
            lastReport = now;
            rate.data.frames = frames;
            rate.data.at = now;
            rate.flush();
        }
    }

    static function text(size:Int, colour:Int):TextField {
        var field = new TextField();
        field.defaultTextFormat = new TextFormat("_sans", size, colour, true);
        field.selectable = false;
        field.autoSize = flash.text.TextFieldAutoSize.LEFT;
        return field;
    }

    function buildLogo() {
        logo = new Sprite();
        root.addChild(logo);
        var back = new Shape();
        var m = new Matrix();
        m.createGradientBox(Width, Height, Math.PI / 2);
        back.graphics.beginGradientFill(GradientType.LINEAR, [0x101040, 0x402060, 0x000000], [1, 1, 1], [0, 128, 255], m);
        back.graphics.drawRect(0, 0, Width, Height);
        logo.addChild(back);
        for (i in 0...40) {
            var star = new Shape();
            star.graphics.beginFill(0xffffff - i * 0x030102);
            for (p in 0...10) {
                var r = p % 2 == 0 ? 14.0 : 6.0;
                var a = p * Math.PI / 5;
                if (p == 0) star.graphics.moveTo(r * Math.cos(a), r * Math.sin(a)); else star.graphics.lineTo(r * Math.cos(a), r * Math.sin(a));
            }
            star.graphics.endFill();
            star.x = (i * 97) % Width;
            star.y = (i * 53) % Height;
            stars.push(star);
            logo.addChild(star);
        }
        sweep = new Shape();
        var s = new Matrix();
        s.createGradientBox(160, Height, 0);
        sweep.graphics.beginGradientFill(GradientType.LINEAR, [0xffffff, 0xffffff, 0xffffff], [0, 0.6, 0], [0, 128, 255], s);
        sweep.graphics.drawRect(0, 0, 160, Height);
        logo.addChild(sweep);
        title = text(72, 0xffe080);
        title.text = "BRINDLE 工作室";
        title.x = (Width - title.width) / 2;
        title.y = (Height - title.height) / 2;
        logo.addChild(title);
    }

    function animateLogo(frame:Int) {
        var t = frame / LogoFrames;
        var blur = Math.max(0, 40 * (1 - t * 3));
        var pulse = 8 + 8 * Math.sin(frame * 0.3);
        title.filters = [
            new BlurFilter(blur + 1, blur + 1, 2),
            new GlowFilter(0xff8000, 0.9, pulse, pulse, 2, 3),
            new DropShadowFilter(6, 45, 0x000000, 0.8, 8, 8, 1, 2)
        ];
        title.alpha = Math.min(1, t * 2);
        for (i in 0...stars.length) {
            var star = stars[i];
            star.rotation += 4 + i % 5;
            star.x = (star.x + 2 + i % 7) % Width;
            var g = 4 + 6 * Math.abs(Math.sin(frame * 0.2 + i));
            star.filters = [new GlowFilter(0x80c0ff, 1, g, g, 2, 2), new BlurFilter(2 + i % 3, 2 + i % 3, 1)];
        }
        sweep.x = -160 + (Width + 320) * t;
        sweep.filters = [new BlurFilter(20 + 10 * Math.sin(frame * 0.1), 4, 2)];
    }

    function figure(i:Int):Sprite {
        var f = new Sprite();
        var m = new Matrix();
        m.createGradientBox(40, 40, 0, -20, -20);
        var colour = [0xe04040, 0x40a0e0, 0x60c040, 0xe0c040, 0xa060e0][i % 5];
        f.graphics.lineStyle(2, 0x202020);
        f.graphics.beginGradientFill(GradientType.RADIAL, [0xffffff, colour, 0x000000], [1, 1, 1], [0, 120, 255], m);
        f.graphics.moveTo(-20, 0);
        f.graphics.curveTo(-20, -24, 0, -22);
        f.graphics.curveTo(20, -24, 20, 0);
        f.graphics.curveTo(22, 20, 0, 22);
        f.graphics.curveTo(-22, 20, -20, 0);
        f.graphics.endFill();
        f.graphics.beginFill(0xffffff);
        f.graphics.drawEllipse(-10, -10, 7, 9);
        f.graphics.drawEllipse(3, -10, 7, 9);
        f.graphics.endFill();
        return f;
    }

    function buildScene() {
        var sky = new Shape();
        var m = new Matrix();
        m.createGradientBox(Width, Height, Math.PI / 2);
        sky.graphics.beginGradientFill(GradientType.LINEAR, [0x3070c0, 0xa0d0ff, 0x70a040], [1, 1, 1], [0, 160, 255], m);
        sky.graphics.drawRect(0, 0, Width, Height);
        root.addChild(sky);
        for (i in 0...30) {
            var hill = new Shape();
            hill.graphics.beginFill(i % 2 == 0 ? 0x508030 : 0x406828, 0.9);
            hill.graphics.moveTo(0, 0);
            hill.graphics.curveTo(60, -80 - i % 4 * 20, 120, 0);
            hill.graphics.curveTo(90, 30, 60, 20);
            hill.graphics.curveTo(30, 30, 0, 0);
            hill.graphics.endFill();
            hill.x = i * 40;
            hill.y = 300 + i % 3 * 30;
            scenery.push(hill);
            root.addChild(hill);
        }
        var tile = new BitmapData(64, 64, true, 0);
        tile.perlinNoise(32, 32, 3, 7, false, true, 7, false);
        // A round picture, cut by pixel (drawing a shape into a bitmap needs a renderer that
        // draws off the screen, which only some of the player's renderers have).
        var round = new BitmapData(64, 64, true, 0);
        for (y in 0...64)
            for (x in 0...64)
                if ((x - 32) * (x - 32) + (y - 32) * (y - 32) < 900)
                    round.setPixel32(x, y, 0xff000000 | (tile.getPixel32(x, y) & 0xffffff));
        for (i in 0...60) {
            var picture = new Bitmap(round, flash.display.PixelSnapping.NEVER, true);
            picture.x = (i * 131) % Width;
            picture.y = (i * 71) % Height;
            pictures.push(picture);
            root.addChild(picture);
        }
        for (i in 0...120) {
            var f = figure(i);
            f.x = (i * 37) % Width;
            f.y = (i * 89) % Height;
            figures.push(f);
            root.addChild(f);
        }
        for (i in 0...8) {
            var f = figure(i);
            f.scaleX = f.scaleY = 2.5;
            f.x = 100 + i * 85;
            f.y = 360;
            fighters.push(f);
            root.addChild(f);
        }
        for (i in 0...10) {
            var label = text(i == 0 ? 28 : 16, 0xffffff);
            label.x = 10 + (i % 5) * 160;
            label.y = i < 5 ? 8 : 440;
            label.filters = [new GlowFilter(0x000000, 1, 4, 4, 4, 1)];
            labels.push(label);
            root.addChild(label);
        }
    }

    function animateScene(frame:Int) {
        for (i in 0...scenery.length) {
            var hill = scenery[i];
            hill.x -= 1 + i % 3;
            if (hill.x < -120) hill.x += Width + 240;
        }
        for (i in 0...pictures.length) {
            var p = pictures[i];
            p.x = (p.x + 1.5 + i % 4) % Width;
            p.y = (i * 71) % Height + 20 * Math.sin(frame * 0.05 + i);
            p.rotation = frame * (i % 5 - 2);
        }
        for (i in 0...figures.length) {
            var f = figures[i];
            f.x = (f.x + 1 + i % 6) % Width;
            f.y = (i * 89) % Height + 30 * Math.sin(frame * 0.07 + i * 0.5);
            f.rotation = 15 * Math.sin(frame * 0.1 + i);
            f.scaleX = f.scaleY = 0.8 + 0.3 * Math.sin(frame * 0.05 + i);
        }
        for (i in 0...fighters.length) {
            var f = fighters[i];
            f.x = 100 + i * 85 + 40 * Math.sin(frame * 0.08 + i);
            f.y = 360 - Math.abs(60 * Math.sin(frame * 0.12 + i));
            var glow:Array<BitmapFilter> = i % 2 == 0 ? [new GlowFilter(0xffff00, 0.8, 10 + frame % 8, 10 + frame % 8, 2, 2)] : [];
            f.filters = glow.concat([new DropShadowFilter(10, 60, 0x000000, 0.5, 6, 6, 1, 2)]);
        }
        labels[0].text = "得分 " + (frame * 37);
        for (i in 1...labels.length)
            labels[i].text = (i < 5 ? "连击 " : "生命 ") + ((frame + i * 13) % 100);
    }
}
