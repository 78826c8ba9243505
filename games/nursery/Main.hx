import common.Game;
import common.Keys;
import common.Progress;
import common.Tones;
import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;

// One of the four singers on the meadow: it jumps and sings the next line of its song.
class Singer extends Sprite {
    public var song:Array<{words:String, notes:Array<Int>}>;
    public var line = 0;
    public var homeY:Float;
    public var vy = 0.0;
    public var singing:Array<Int> = [];
    public var wait = 0;
    public var kind:Int;

    public function new(kind:Int, x:Float, y:Float, song:Array<{words:String, notes:Array<Int>}>) {
        super();
        this.kind = kind;
        this.x = x;
        this.y = homeY = y;
        this.song = song;
        buttonMode = true;
        draw(false);
    }

    public function draw(mouthOpen:Bool):Void {
        var g = graphics;
        g.clear();
        var body = [0xffd830, 0x50b840, 0xf4f0f0, 0xf09838][kind];
        switch (kind) {
            case 0: // duck
                g.beginFill(body);
                g.drawEllipse(-28, -20, 56, 40);
                g.beginFill(body);
                g.drawCircle(16, -30, 16);
                g.beginFill(0xf08020);
                g.drawEllipse(28, mouthOpen ? -34 : -30, 16, mouthOpen ? 12 : 7);
            case 1: // frog
                g.beginFill(body);
                g.drawEllipse(-30, -26, 60, 44);
                g.beginFill(body);
                g.drawCircle(-14, -28, 11);
                g.beginFill(body);
                g.drawCircle(14, -28, 11);
                g.beginFill(0xc02020);
                g.drawEllipse(-12, -8, 24, mouthOpen ? 14 : 4);
            case 2: // bunny
                g.beginFill(body);
                g.drawEllipse(-14, -82, 10, 36);
                g.drawEllipse(4, -82, 10, 36);
                g.beginFill(body);
                g.drawEllipse(-24, -24, 48, 44);
                g.beginFill(body);
                g.drawCircle(0, -42, 20);
                g.beginFill(0xf0a0b0);
                g.drawEllipse(-11, -76, 4, 26);
                g.drawEllipse(7, -76, 4, 26);
                g.drawEllipse(-5, mouthOpen ? -34 : -32, 10, mouthOpen ? 10 : 4);
            case 3: // cat
                g.beginFill(body);
                g.drawEllipse(-24, -24, 48, 44);
                g.beginFill(body);
                g.drawCircle(0, -40, 20);
                g.beginFill(body);
                g.moveTo(-18, -50);
                g.lineTo(-14, -70);
                g.lineTo(-4, -56);
                g.beginFill(body);
                g.moveTo(18, -50);
                g.lineTo(14, -70);
                g.lineTo(4, -56);
                g.beginFill(0x803020);
                g.drawEllipse(-5, mouthOpen ? -32 : -30, 10, mouthOpen ? 10 : 3);
        }
        // eyes: the duck's sit on its side-turned head, the others look ahead
        g.beginFill(0x000000);
        switch (kind) {
            case 0: g.drawCircle(20, -34, 3);
            case 1:
                g.drawCircle(-14, -30, 4);
                g.drawCircle(14, -30, 4);
            default:
                g.drawCircle(-7, -46, 3);
                g.drawCircle(7, -46, 3);
        }
        g.endFill();
    }
}

// A meadow where four animals sing nursery songs. Click an animal (or press 1-4, or A S D F) and it
// jumps and sings the next line of its song with its tune; Space makes them all jump. Stars come
// out in the sky and are caught by clicking them. Stars caught and songs sung to the end are kept.
@:build(common.Tones.embed(60, 13))
class Main extends Game {
    static inline var GROUND = 330.0;
    static var SONGS = [
        [
            {words: "一闪一闪亮晶晶", notes: [0, 0, 7, 7, 9, 9, 7]},
            {words: "满天都是小星星", notes: [5, 5, 4, 4, 2, 2, 0]}
        ],
        [
            {words: "划，划，划小船", notes: [0, 0, 0, 2, 4]},
            {words: "轻轻顺水流", notes: [4, 2, 4, 5, 7]},
            {words: "快乐地，快乐地，快乐地，快乐地", notes: [12, 12, 12, 7, 7, 7, 4, 4, 4, 0, 0, 0]},
            {words: "生活像个梦", notes: [7, 5, 4, 2, 0]}
        ],
        [
            {words: "玛丽有只小羊羔", notes: [4, 2, 0, 2, 4, 4, 4]},
            {words: "小羊羔，小羊羔", notes: [2, 2, 2, 4, 7, 7]},
            {words: "玛丽有只小羊羔", notes: [4, 2, 0, 2, 4, 4, 4]},
            {words: "羊毛白得像雪", notes: [4, 2, 2, 4, 2, 0]}
        ],
        [
            {words: "王老先生有块地", notes: [7, 7, 7, 2, 4, 4, 2]},
            {words: "咿呀咿呀哟！", notes: [11, 11, 9, 9, 7]}
        ]
    ];

    var sky = new Sprite();
    var effects = new Sprite();
    var singers:Array<Singer> = [];
    var bubble:TextField;
    var counter:TextField;
    var stars:Array<{x:Float, y:Float, life:Int}> = [];
    var floating:Array<{x:Float, y:Float, life:Int, star:Bool}> = [];
    var frames = 0;
    var caught:Int;
    var sung:Int;

    static function main() new Main();

    function new() {
        super();
        caught = count("stars");
        sung = count("songs");
        addChild(sky);
        for (i in 0...4) {
            var s = new Singer(i, 90 + i * 125, GROUND, SONGS[i]);
            s.addEventListener(MouseEvent.MOUSE_DOWN, function(e:MouseEvent) {
                e.stopPropagation();
                sing(s);
            });
            singers.push(s);
            addChild(s);
        }
        addChild(effects);
        bubble = label(275, 14, 20, 0x5a2a80, "点一点小动物，或按 1 2 3 4，听它唱歌！", true);
        counter = label(8, 372, 14, 0xffffff);
        stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) catchStar());
    }

    function count(key:String):Int {
        var value:Dynamic = Progress.get(key, 0);
        return Std.isOfType(value, Int) ? value : 0;
    }

    override function keyDown(keyCode:Int, charCode:Int):Void {
        var i = Keys.digit(keyCode) - 1;
        if (i < 0 || i >= singers.length) i = [Keys.A, Keys.A + 18, Keys.A + 3, Keys.A + 5].indexOf(keyCode); // A S D F
        if (i >= 0) sing(singers[i]);
        if (keyCode == Keys.SPACE) for (s in singers) if (s.y >= s.homeY) s.vy = -7;
    }

    function sing(s:Singer):Void {
        if (s.singing.length > 0) return; // let it finish its line
        var line = s.song[s.line];
        bubble.text = "“" + line.words + "”";
        s.singing = line.notes.copy();
        s.wait = 0;
        s.vy = -8;
        s.line = (s.line + 1) % s.song.length;
        if (s.line == 0) {
            sung++;
            Progress.set("songs", sung);
        }
    }

    function catchStar():Void {
        for (st in stars) {
            if (Math.abs(mouseX - st.x) < 22 && Math.abs(mouseY - st.y) < 22) {
                stars.remove(st);
                caught++;
                Progress.set("stars", caught);
                Progress.offerBest(caught);
                floating.push({x: st.x, y: st.y, life: 0, star: true});
                return;
            }
        }
    }

    override function tick():Void {
        frames++;
        if (frames % 100 == 0 && stars.length < 4) stars.push({x: 40 + Math.random() * 470, y: 60 + Math.random() * 120, life: 0});
        for (st in stars) st.life++;
        stars = stars.filter(st -> st.life < 360);
        for (s in singers) {
            s.vy += 0.5;
            s.y = Math.min(s.homeY, s.y + s.vy);
            if (s.singing.length > 0 && --s.wait <= 0) {
                Tones.play(TONES[s.singing.shift()]);
                s.wait = 11;
                floating.push({x: s.x + 10, y: s.y - 70, life: 0, star: false});
            }
            s.draw(s.singing.length > 0 && s.wait > 4);
        }
        for (f in floating) f.life++;
        floating = floating.filter(f -> f.life < 50);
        counter.text = "摘到星星 " + caught + " 颗      唱完 " + sung + " 首歌      空格键：大家一起跳";
        drawScene();
    }

    function drawScene():Void {
        var g = sky.graphics;
        g.clear();
        g.beginFill(0x9ad8ff);
        g.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        // the sun with turning rays
        g.beginFill(0xffe040);
        for (k in 0...12) {
            var a = k * Math.PI / 6 + frames / 60;
            g.drawCircle(480 + Math.cos(a) * 44, 70 + Math.sin(a) * 44, 5);
        }
        g.beginFill(0xffe040);
        g.drawCircle(480, 70, 30);
        for (c in 0...3) {
            var cx = ((frames * (0.3 + c * 0.15) + c * 200) % 700) - 80;
            var cy = 60 + c * 40;
            // each part is a fill of its own, as overlapping parts of one fill cancel out
            for (part in [[0, 0, 20], [22, -8, 24], [46, 0, 18]]) {
                g.beginFill(0xffffff);
                g.drawCircle(cx + part[0], cy + part[1], part[2]);
            }
        }
        g.beginFill(0x60c040);
        g.drawEllipse(-100, GROUND - 40, 400, 90);
        g.beginFill(0x60c040);
        g.drawEllipse(250, GROUND - 30, 420, 80);
        g.beginFill(0x60c040);
        g.drawRect(0, GROUND, Game.WIDTH, Game.HEIGHT - GROUND);
        // swaying flowers
        for (k in 0...9) {
            var fx = 30 + k * 62, sway = Math.sin(frames / 20 + k) * 4;
            g.lineStyle(2, 0x2a8020);
            g.moveTo(fx, GROUND + 45);
            g.lineTo(fx + sway, GROUND + 25);
            g.lineStyle();
            g.beginFill([0xff6080, 0xffffff, 0xffd020][k % 3]);
            g.drawCircle(fx + sway, GROUND + 22, 6);
            g.beginFill(0xffa000);
            g.drawCircle(fx + sway, GROUND + 22, 2.5);
        }
        for (st in stars) star(g, st.x, st.y, 12 + Math.sin(st.life / 6) * 4, 0xfff060, Math.min(1, (360 - st.life) / 60));
        g.endFill();

        var e = effects.graphics;
        e.clear();
        for (f in floating) {
            var a = 1 - f.life / 50;
            if (f.star) { // a caught star grows and fades
                star(e, f.x, f.y, 14 + f.life, 0xfff060, a);
                continue;
            }
            // a note rising from the singer
            e.beginFill(0x5a2a80, a);
            e.drawCircle(f.x + Math.sin(f.life / 5) * 6, f.y - f.life * 1.5, 5);
            e.endFill();
            e.lineStyle(2, 0x5a2a80, a);
            e.moveTo(f.x + Math.sin(f.life / 5) * 6 + 5, f.y - f.life * 1.5);
            e.lineTo(f.x + Math.sin(f.life / 5) * 6 + 5, f.y - f.life * 1.5 - 16);
            e.lineStyle();
        }
    }

    static function star(g:flash.display.Graphics, x:Float, y:Float, r:Float, colour:Int, alpha:Float):Void {
        g.beginFill(colour, alpha);
        g.moveTo(x, y - r);
        for (k in 1...10) {
            var a = -Math.PI / 2 + k * Math.PI / 5, rr = k % 2 == 0 ? r : r * 0.45;
            g.lineTo(x + Math.cos(a) * rr, y + Math.sin(a) * rr);
        }
        g.endFill();
    }
}
