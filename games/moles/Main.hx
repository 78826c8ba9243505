import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Shape;
import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;
import flash.ui.Mouse;

// Whack-a-mole: moles look out of nine holes, a click on one (or its key 1 to 9, laid out like the
// number pad) hits it. Brown moles give 10, the quick gold ones 30; a bomb costs five seconds.
// A round lasts a minute and the moles grow quicker as it runs.
class Main extends Game {
    static inline var ROUND_FRAMES = 60 * 30;
    static inline var NORMAL = 0;
    static inline var GOLD = 1;
    static inline var BOMB = 2;

    var holes:Array<Hole> = [];
    var hammer = new Shape();
    var hammerDown = 0; // frames the hammer stays down after a hit
    var score = 0;
    var hits = 0;
    var misses = 0;
    var timeLeft = 0;
    var nextMole = 0; // frames until another mole shows
    var playing = false;
    var scoreText:TextField;
    var timeText:TextField;
    var bestText:TextField;
    var pops:Array<TextField> = [];

    static function main() {
        new Main();
    }

    public function new() {
        super();
        graphics.beginFill(0x7CB342);
        graphics.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        graphics.endFill();
        graphics.beginFill(0x558B2F);
        graphics.drawRect(0, 0, Game.WIDTH, 44);
        graphics.endFill();
        label(12, 8, 22, 0xFFF59D, "打地鼠");
        scoreText = label(200, 12, 16, 0xFFFFFF);
        timeText = label(320, 12, 16, 0xFFFFFF);
        bestText = label(440, 12, 16, 0xFFF59D);
        for (row in 0...3)
            for (column in 0...3) {
                var hole = new Hole(115 + column * 160, 120 + row * 105);
                holes.push(hole);
                addChild(hole);
            }
        drawHammer();
        addChild(hammer);
        timeLeft = ROUND_FRAMES;
        updateTexts();
        flash.Lib.current.stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) whack(mouseX, mouseY));
        showMessage("打地鼠", "点击地鼠，或按 1 到 9（排列与数字小键盘相同）\n"
            + "金色地鼠分数更高，千万别砸到炸弹\n点击或按空格键开始");
    }

    function updateTexts() {
        scoreText.text = "得分 " + score;
        timeText.text = "时间 " + Math.ceil(timeLeft / 30);
        bestText.text = "最高分 " + Progress.best();
    }

    function start() {
        score = 0;
        hits = 0;
        misses = 0;
        timeLeft = ROUND_FRAMES;
        nextMole = 20;
        for (hole in holes) hole.clear();
        playing = true;
        hideMessage();
        updateTexts();
    }

    override function keyDown(keyCode:Int, charCode:Int) {
        if (!playing) {
            if (keyCode == Keys.SPACE || keyCode == Keys.ENTER) start();
            return;
        }
        var digit = Keys.digit(keyCode);
        if (digit >= 1) {
            // 7 8 9 are the top row, as on the number pad.
            var hole = holes[(2 - Std.int((digit - 1) / 3)) * 3 + (digit - 1) % 3];
            hit(hole);
            hammer.x = hole.x + 30;
            hammer.y = hole.y - 40;
        }
    }

    function whack(x:Float, y:Float) {
        if (!playing) {
            start();
            return;
        }
        for (hole in holes)
            if (hole.covers(x, y)) {
                hit(hole);
                return;
            }
        hammerDown = 6;
    }

    function hit(hole:Hole) {
        hammerDown = 6;
        if (!hole.hittable()) {
            misses++;
            return;
        }
        var points = switch (hole.kind) {
            case GOLD: 30;
            case BOMB: 0;
            default: 10;
        }
        if (hole.kind == BOMB) {
            timeLeft = Std.int(Math.max(0, timeLeft - 5 * 30));
            pop(hole, "-5 秒", 0xFF5252);
        } else {
            score += points;
            hits++;
            pop(hole, "+" + points, hole.kind == GOLD ? 0xFFD600 : 0xFFFFFF);
        }
        hole.whack();
        updateTexts();
    }

    function pop(hole:Hole, text:String, colour:Int) {
        var field = label(hole.x, hole.y - 70, 20, colour, text, true);
        pops.push(field);
    }

    override function tick() {
        if (hammerDown <= 0) {
            hammer.x = mouseX;
            hammer.y = mouseY;
        }
        hammer.rotation = hammerDown > 0 ? -10 : 30;
        if (hammerDown > 0) hammerDown--;
        for (field in pops.copy()) {
            field.y -= 1.5;
            field.alpha -= 0.03;
            if (field.alpha <= 0) {
                removeChild(field);
                pops.remove(field);
            }
        }
        for (hole in holes) hole.tick();
        if (!playing) return;
        if (--nextMole <= 0) {
            // Later in the round moles come more often and stay for less time.
            var pace = 1 - timeLeft / ROUND_FRAMES;
            nextMole = Std.int(28 - pace * 16 + Std.random(12));
            var free = holes.filter(function(h) return h.idle());
            if (free.length > 0) {
                var roll = Std.random(100);
                var kind = roll < 12 ? GOLD : (roll < 24 ? BOMB : NORMAL);
                var stay = Std.int((kind == GOLD ? 24 : 48) - pace * 18);
                free[Std.random(free.length)].show(kind, stay);
            }
        }
        timeLeft--;
        if (timeLeft % 30 == 0) updateTexts();
        if (timeLeft <= 0) {
            playing = false;
            var best = Progress.offerBest(score);
            updateTexts();
            showMessage("时间到", "得分 " + score + (best ? "，创造新纪录！" : "") + "\n击中 " + hits
                + " 次，落空 " + misses + " 次\n点击或按空格键再玩一次");
        }
    }

    function drawHammer() {
        Mouse.hide();
        var g = hammer.graphics;
        g.beginFill(0x8D6E63);
        g.drawRect(-4, -6, 8, 56);
        g.endFill();
        g.beginFill(0x616161);
        g.drawRoundRect(-26, -26, 52, 24, 8, 8);
        g.endFill();
        g.beginFill(0x9E9E9E);
        g.drawRoundRect(-26, -26, 52, 8, 8, 8);
        g.endFill();
    }
}

// One hole and what looks out of it: a mole rising, staying, ducking away, or knocked back.
class Hole extends Sprite {
    public var kind = 0;

    var critter = new Shape();
    var rise = 0.0; // 0 hidden ... 1 fully out
    var stay = 0;
    var state = 0; // 0 idle, 1 rising, 2 out, 3 going down, 4 hit

    public function new(x:Float, y:Float) {
        super();
        this.x = x;
        this.y = y;
        mouseEnabled = false;
        mouseChildren = false;
        graphics.beginFill(0x3E2723);
        graphics.drawEllipse(-52, -14, 104, 32);
        graphics.endFill();
        addChild(critter);
        var mask = new Shape();
        mask.graphics.beginFill(0);
        mask.graphics.drawRect(-60, -100, 120, 106);
        mask.graphics.endFill();
        addChild(mask);
        critter.mask = mask;
        var lip = new Shape();
        lip.graphics.beginFill(0x6D4C41);
        lip.graphics.drawEllipse(-56, 4, 112, 20);
        lip.graphics.endFill();
        lip.graphics.beginFill(0x7CB342);
        lip.graphics.drawEllipse(-50, 10, 100, 18);
        lip.graphics.endFill();
        addChild(lip);
    }

    public function idle():Bool {
        return state == 0;
    }

    public function hittable():Bool {
        return (state == 1 || state == 2) && rise > 0.35;
    }

    // Inside the hole or the mole above it.
    public function covers(px:Float, py:Float):Bool {
        return Math.abs(px - x) < 55 && py > y - 20 - 70 * rise && py < y + 20;
    }

    public function clear() {
        state = 0;
        rise = 0;
        draw(false);
    }

    public function show(kind:Int, stay:Int) {
        this.kind = kind;
        this.stay = stay;
        state = 1;
        draw(false);
    }

    public function whack() {
        state = 4;
        stay = 12;
        draw(true);
    }

    public function tick() {
        switch (state) {
            case 1:
                rise = Math.min(1, rise + 0.15);
                if (rise >= 1) state = 2;
            case 2:
                if (--stay <= 0) state = 3;
            case 3:
                rise = Math.max(0, rise - 0.12);
                if (rise <= 0) state = 0;
            case 4:
                if (--stay <= 0) state = 3;
            default:
        }
        critter.y = 95 * (1 - rise);
    }

    function draw(dazed:Bool) {
        var g = critter.graphics;
        g.clear();
        if (kind == 2) { // a bomb with a lit fuse
            g.beginFill(0x212121);
            g.drawCircle(0, -40, 30);
            g.endFill();
            g.lineStyle(4, 0x795548);
            g.moveTo(10, -68);
            g.curveTo(18, -82, 28, -78);
            g.lineStyle();
            g.beginFill(0xFF9800);
            g.drawCircle(29, -79, 6);
            g.endFill();
            g.beginFill(0xFFFFFF, 0.3);
            g.drawCircle(-10, -52, 8);
            g.endFill();
            return;
        }
        var fur = kind == 1 ? 0xFFC107 : 0x8D6E63;
        g.beginFill(fur);
        g.drawRoundRect(-34, -70, 68, 90, 60, 60);
        g.endFill();
        g.beginFill(kind == 1 ? 0xFFE082 : 0xD7CCC8);
        g.drawEllipse(-20, -38, 40, 30);
        g.endFill();
        g.beginFill(0xF48FB1);
        g.drawEllipse(-7, -42, 14, 10);
        g.endFill();
        if (dazed) {
            g.lineStyle(3, 0x212121);
            for (side in [-1, 1]) {
                g.moveTo(side * 14 - 5, -57);
                g.lineTo(side * 14 + 5, -49);
                g.moveTo(side * 14 + 5, -57);
                g.lineTo(side * 14 - 5, -49);
            }
            g.lineStyle();
        } else {
            g.beginFill(0x212121);
            g.drawCircle(-14, -53, 5);
            g.drawCircle(14, -53, 5);
            g.endFill();
            g.beginFill(0xFFFFFF);
            g.drawCircle(-12, -55, 1.5);
            g.drawCircle(16, -55, 1.5);
            g.endFill();
        }
    }
}
