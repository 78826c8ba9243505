import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Shape;
import flash.events.MouseEvent;
import flash.media.Sound;
import flash.text.TextField;

// The drum sounds, made when the movie is built.
@:build(common.Synth.sound({seconds: 0.45, tone: 160, toneEnd: 42, sweep: 25, toneDecay: 7, noise: 0.15, noiseDecay: 60, rate: 11025}))
class Kick extends Sound {}

@:build(common.Synth.sound({seconds: 0.3, tone: 190, toneEnd: 160, toneDecay: 18, noise: 0.7, noiseDecay: 14, bright: 0.3, rate: 11025}))
class Snare extends Sound {}

@:build(common.Synth.sound({seconds: 0.12, noise: 0.6, noiseDecay: 40, bright: 1, volume: 0.6, rate: 22050}))
class HiHat extends Sound {}

@:build(common.Synth.sound({seconds: 0.9, noise: 0.5, noiseDecay: 4, bright: 0.9, rate: 11025}))
class Crash extends Sound {}

@:build(common.Synth.sound({seconds: 0.6, noise: 0.3, noiseDecay: 6, bright: 1, tone: 620, toneDecay: 6, harmonics: [0.4, 0, 0.3, 0, 0.2], volume: 0.7, rate: 11025}))
class Ride extends Sound {}

@:build(common.Synth.sound({seconds: 0.4, tone: 260, toneEnd: 190, sweep: 12, toneDecay: 9, noise: 0.1, noiseDecay: 40, rate: 11025}))
class HighTom extends Sound {}

@:build(common.Synth.sound({seconds: 0.45, tone: 180, toneEnd: 130, sweep: 12, toneDecay: 8, noise: 0.1, noiseDecay: 40, rate: 11025}))
class LowTom extends Sound {}

@:build(common.Synth.sound({seconds: 0.55, tone: 120, toneEnd: 85, sweep: 10, toneDecay: 6, noise: 0.1, noiseDecay: 40, rate: 11025}))
class FloorTom extends Sound {}

// A drum kit: each pad sounds by its key or by a click. Free play counts your beats; the rhythm
// lesson (R) sends beats along the lane at the top to hit as they reach the line: in time keeps
// the streak going, a miss ends it, and the longest streak is kept.
class Main extends Game {
    static inline var LANE_Y = 78;
    static inline var HIT_X = 80;
    static inline var SPEED = 4.0; // lane pixels a frame
    static inline var SPACE = "空格"; // the kick's key, as its drum shows it

    var pads:Array<Pad> = [];
    var lane = new Shape();
    var laneLabels:Array<TextField> = [];
    var notes:Array<Array<Float>> = []; // x and pad index of the beats on the lane
    var pattern = [7, 1, 3, 1, 7, 7, 3, 1, 7, 1, 3, 1, 7, 2, 3, 6];
    var patternStep = 0;
    var nextNote = 0.0; // lane pixels until the next beat enters
    var spacing = 60.0;
    var lesson = false;
    var streak = 0;
    var beats = 0;
    var judgement:TextField;
    var judgementFrames = 0;
    var modeText:TextField;
    var streakText:TextField;
    var bestText:TextField;
    var beatsText:TextField;

    static function main() {
        new Main();
    }

    public function new() {
        super();
        graphics.beginFill(0x1A1A2E);
        graphics.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        graphics.endFill();
        graphics.beginFill(0x16213E);
        graphics.drawRect(0, 0, Game.WIDTH, 120);
        graphics.endFill();
        label(10, 6, 18, 0xFFC857, "架子鼓");
        beatsText = label(150, 8, 14, 0xFFFFFF);
        streakText = label(270, 8, 14, 0xFFFFFF);
        bestText = label(400, 8, 14, 0xFFC857);
        modeText = label(10, 32, 13, 0xB0BEC5);
        addChild(lane);
        judgement = label(HIT_X, 100, 14, 0xFFFFFF, "", true);
        pads.push(new Pad("A", "吊镲", 90, 168, 44, true, new Crash().ring));
        pads.push(new Pad("S", "踩镲", 100, 255, 36, true, new HiHat().ring));
        pads.push(new Pad("D", "高音通鼓", 230, 188, 36, false, new HighTom().ring));
        pads.push(new Pad("F", "军鼓", 170, 330, 42, false, new Snare().ring));
        pads.push(new Pad("J", "低音通鼓", 330, 188, 38, false, new LowTom().ring));
        pads.push(new Pad("K", "落地通鼓", 415, 318, 46, false, new FloorTom().ring));
        pads.push(new Pad("L", "叮叮镲", 478, 196, 44, true, new Ride().ring));
        pads.push(new Pad(SPACE, "底鼓", 288, 318, 58, false, new Kick().ring));
        // The key in the middle of its drum or cymbal, the name below its rim, so neither covers
        // the other even on the flat cymbals.
        for (pad in pads) {
            addChild(pad);
            label(pad.x, pad.y - 10, 14, pad.cymbal ? 0x5D4037 : 0x37474F, pad.key, true);
            label(pad.x, pad.y + pad.rimBelow() + 2, 12, 0xB0BEC5, pad.title, true);
        }
        flash.Lib.current.stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) {
            for (i in 0...pads.length) if (pads[i].covers(mouseX, mouseY)) hit(i);
        });
        beats = Progress.get("beats", 0);
        updateTexts();
        drawLane();
    }

    function updateTexts() {
        modeText.text = lesson ? "节奏练习：鼓点到达圆环时敲对应的鼓（按 R 停止）" : "自由演奏：按键或点击就能打鼓（按 R 开始节奏练习）";
        beatsText.text = "敲击 " + beats;
        streakText.text = "连击 " + streak;
        bestText.text = "最高连击 " + Progress.best();
    }

    override function keyDown(keyCode:Int, charCode:Int) {
        if (keyCode == 82) { // R
            lesson = !lesson;
            notes = [];
            for (field in laneLabels) removeChild(field);
            laneLabels = [];
            streak = 0;
            patternStep = 0;
            spacing = 60;
            nextNote = 0;
            updateTexts();
            return;
        }
        var key = keyCode == Keys.SPACE ? SPACE : String.fromCharCode(keyCode);
        for (i in 0...pads.length) if (pads[i].key == key) hit(i);
    }

    function hit(index:Int) {
        pads[index].strike();
        beats++;
        if (beats % 20 == 0) Progress.set("beats", beats);
        if (lesson) judge(index);
        updateTexts();
    }

    // The nearest beat of this pad at the line: close enough keeps the streak, else it breaks.
    function judge(index:Int) {
        var best = -1;
        for (i in 0...notes.length)
            if (Std.int(notes[i][1]) == index && Math.abs(notes[i][0] - HIT_X) < 30 && (best < 0 || Math.abs(notes[i][0] - HIT_X) < Math.abs(notes[best][0] - HIT_X)))
                best = i;
        if (best < 0) {
            miss("没打中");
            return;
        }
        var off = Math.abs(notes[best][0] - HIT_X);
        removeNote(best);
        streak++;
        Progress.offerBest(streak);
        show(off < 10 ? "完美" : "不错", off < 10 ? 0x69F0AE : 0xB9F6CA);
    }

    function miss(text:String) {
        streak = 0;
        show(text, 0xFF8A80);
        updateTexts();
    }

    function show(text:String, colour:Int) {
        judgement.text = text;
        judgement.textColor = colour;
        judgement.x = HIT_X - judgement.width / 2;
        judgementFrames = 20;
    }

    function removeNote(i:Int) {
        notes.splice(i, 1);
        removeChild(laneLabels[i]);
        laneLabels.splice(i, 1);
    }

    override function tick() {
        for (pad in pads) pad.tick();
        if (judgementFrames > 0 && --judgementFrames == 0) judgement.text = "";
        if (lesson) {
            nextNote -= SPEED;
            if (nextNote <= 0) {
                var index = pattern[patternStep % pattern.length];
                patternStep++;
                // Every round of the pattern the beats come a little closer together.
                if (patternStep % pattern.length == 0) spacing = Math.max(28, spacing - 4);
                notes.push([Game.WIDTH + 20.0, index]);
                laneLabels.push(label(Game.WIDTH + 20, LANE_Y - 9, 13, 0x1A1A2E, pads[index].key == SPACE ? "空" : pads[index].key, true));
                nextNote = spacing;
            }
            var i = notes.length;
            while (i-- > 0) {
                notes[i][0] -= SPEED;
                laneLabels[i].x = notes[i][0] - laneLabels[i].width / 2;
                if (notes[i][0] < HIT_X - 30) {
                    removeNote(i);
                    miss("漏掉了");
                }
            }
        }
        drawLane();
    }

    function drawLane() {
        var g = lane.graphics;
        g.clear();
        if (!lesson) return;
        g.beginFill(0x0F3460);
        g.drawRect(0, LANE_Y - 22, Game.WIDTH, 44);
        g.endFill();
        g.lineStyle(3, 0xFFC857);
        g.drawCircle(HIT_X, LANE_Y, 20);
        g.lineStyle();
        for (note in notes) {
            g.beginFill(pads[Std.int(note[1])].colour);
            g.drawCircle(note[0], LANE_Y, 16);
            g.endFill();
        }
    }
}

// One drum or cymbal: its key, how it looks, its sound, and how it shakes when struck.
class Pad extends flash.display.Sprite {
    public var key:String;
    public var title:String;
    public var colour:Int;
    public var cymbal:Bool;

    var radius:Float;
    var ring:Void->Void; // plays the pad's sound
    var glow = 0;

    public function new(key:String, title:String, x:Float, y:Float, radius:Float, cymbal:Bool, ring:Void->Void) {
        super();
        this.key = key;
        this.title = title;
        this.x = x;
        this.y = y;
        this.radius = radius;
        this.ring = ring;
        this.cymbal = cymbal;
        colour = cymbal ? 0xD4A017 : 0xC0392B;
        mouseEnabled = false;
        var g = graphics;
        if (cymbal) {
            g.beginFill(0xB8860B);
            g.drawEllipse(-radius, -radius * 0.55, radius * 2, radius * 1.1);
            g.endFill();
            g.beginFill(0xFFD54F);
            g.drawEllipse(-radius * 0.9, -radius * 0.5, radius * 1.8, radius * 0.95);
            g.endFill();
        } else {
            g.beginFill(0x7B241C);
            g.drawCircle(0, 0, radius);
            g.endFill();
            g.beginFill(0xECEFF1);
            g.drawCircle(0, 0, radius * 0.86);
            g.endFill();
            g.lineStyle(1, 0xB0BEC5);
            g.drawCircle(0, 0, radius * 0.6);
            g.lineStyle();
        }
    }

    // How far below its centre the pad ends: cymbals are seen flat, drums from above.
    public function rimBelow():Float {
        return cymbal ? radius * 0.55 : radius;
    }

    public function covers(px:Float, py:Float):Bool {
        return (px - x) * (px - x) + (py - y) * (py - y) < radius * radius;
    }

    public function strike() {
        ring();
        glow = 8;
    }

    public function tick() {
        if (glow > 0) glow--;
        scaleX = scaleY = 1 + glow * 0.012;
        rotation = glow > 0 ? (glow % 2 == 0 ? 2 : -2) : 0;
        alpha = 1 - glow * 0.03;
        filters = glow > 0 ? [new flash.filters.GlowFilter(0xFFFFFF, glow / 8, 24, 24, 3)] : [];
    }
}
