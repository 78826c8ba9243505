import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;

using Lambda;

typedef Block = {x:Float, y:Float, w:Float, h:Float, vx:Float, vy:Float, angle:Float, spin:Float, loose:Bool, life:Int};
typedef Pig = {x:Float, y:Float, vy:Float, fell:Float};

// A slingshot: drag the bird back with the mouse and let go. The bird flies under gravity and
// knocks blocks off their stacks; what loses its support falls, a falling or hit pig pops. All
// pigs popped clears the level, running out of birds tries it again.
class Main extends Game {
    static inline var GROUND = 360.0;
    static inline var GRAVITY = 0.3;
    static inline var SLING_X = 95.0;
    static inline var SLING_Y = 290.0;
    static inline var BIRD_R = 10.0;
    static inline var PIG_R = 12.0;
    static inline var MAX_PULL = 75.0;
    static inline var BIRDS = 4;

    // per level: blocks as [x, y, w, h] and pigs as [x, y]
    static var LEVELS:Array<{blocks:Array<Array<Float>>, pigs:Array<Array<Float>>}> = [
        {
            blocks: [[380, 300, 15, 60], [445, 300, 15, 60], [370, 285, 100, 15]],
            pigs: [[420, 273], [505, 348]]
        },
        {
            blocks: [
                [340, 300, 15, 60], [405, 300, 15, 60], [330, 285, 100, 15], [350, 225, 15, 60], [395, 225, 15, 60],
                [340, 210, 80, 15], [470, 330, 30, 30], [470, 300, 30, 30]
            ],
            pigs: [[380, 198], [380, 348], [485, 288]]
        },
        {
            blocks: [
                [300, 280, 20, 80], [360, 310, 15, 50], [440, 310, 15, 50], [355, 295, 105, 15], [380, 255, 15, 40],
                [420, 255, 15, 40], [370, 240, 75, 15], [490, 330, 30, 30], [490, 300, 30, 30], [490, 270, 30, 30]
            ],
            pigs: [[407, 348], [407, 283], [407, 228], [505, 258]]
        }
    ];

    var scene = new Sprite();
    var status:TextField;
    var blocks:Array<Block> = [];
    var pigs:Array<Pig> = [];
    var bird:{x:Float, y:Float, vx:Float, vy:Float, rest:Int} = null;
    var puffs:Array<{x:Float, y:Float, life:Int}> = [];
    var dragging = false;
    var birdsLeft = 0;
    var level = 0;
    var score = 0;
    var levelScore = 0;
    var state = 0; // 0 aiming or flying, 1 level over

    static function main() new Main();

    function new() {
        super();
        addChild(scene);
        status = label(8, 4, 14, 0x202020);
        stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) pressed());
        stage.addEventListener(MouseEvent.MOUSE_UP, function(_) released());
        var saved:Dynamic = Progress.get("level", 0);
        load(Std.isOfType(saved, Int) ? Std.int(Math.min(saved, LEVELS.length - 1)) : 0);
    }

    function load(index:Int):Void {
        level = index;
        blocks = [for (b in LEVELS[index].blocks) {x: b[0], y: b[1], w: b[2], h: b[3], vx: 0.0, vy: 0.0, angle: 0.0, spin: 0.0, loose: false, life: 0}];
        pigs = [for (p in LEVELS[index].pigs) {x: p[0], y: p[1], vy: 0.0, fell: 0.0}];
        birdsLeft = BIRDS;
        levelScore = 0;
        state = 0;
        bird = null;
        hideMessage();
    }

    override function keyDown(keyCode:Int, charCode:Int):Void {
        if (keyCode == Keys.A + 17) load(level); // R tries the level again
    }

    function pressed():Void {
        if (state == 1) {
            var won = pigs.length == 0;
            if (won) score += levelScore else score = 0;
            load(won ? (level + 1) % LEVELS.length : level);
            return;
        }
        if (bird == null && birdsLeft > 0) {
            var dx = mouseX - SLING_X, dy = mouseY - SLING_Y;
            if (dx * dx + dy * dy < 50 * 50) dragging = true;
        }
    }

    function pull():{x:Float, y:Float} {
        var dx = mouseX - SLING_X, dy = mouseY - SLING_Y;
        var len = Math.sqrt(dx * dx + dy * dy);
        if (len > MAX_PULL) {
            dx *= MAX_PULL / len;
            dy *= MAX_PULL / len;
        }
        return {x: dx, y: dy};
    }

    function released():Void {
        if (!dragging) return;
        dragging = false;
        var p = pull();
        if (p.x * p.x + p.y * p.y < 100) return; // too short a pull: nothing happens
        bird = {x: SLING_X + p.x, y: SLING_Y + p.y, vx: -p.x * 0.22, vy: -p.y * 0.22, rest: 0};
        birdsLeft--;
    }

    override function tick():Void {
        if (bird != null) flyBird();
        for (b in blocks) if (b.loose) tumble(b);
        blocks = blocks.filter(b -> !b.loose || b.life < 90);
        settle();
        if (state == 0 && bird == null) {
            if (pigs.length == 0) finish(true) else if (birdsLeft == 0 && calm()) finish(false);
        }
        status.text = "Level " + (level + 1) + "/" + LEVELS.length + "    Birds " + birdsLeft + "    Score " + (score + levelScore)
            + "    Best " + Progress.best() + "    Drag the bird back, let go. R: retry";
        draw();
    }

    function flyBird():Void {
        bird.vy += GRAVITY;
        bird.x += bird.vx;
        bird.y += bird.vy;
        if (bird.y + BIRD_R > GROUND) {
            bird.y = GROUND - BIRD_R;
            bird.vy = -bird.vy * 0.4;
            bird.vx *= 0.8;
        }
        var speed = Math.sqrt(bird.vx * bird.vx + bird.vy * bird.vy);
        for (b in blocks) {
            if (b.loose || !touches(b, bird.x, bird.y, BIRD_R)) continue;
            if (speed > 3) {
                knock(b, bird.vx * 0.7, bird.vy * 0.7 - 1);
                bird.vx *= 0.45;
                bird.vy *= 0.45;
            } else {
                bird.vx = -bird.vx * 0.3;
                bird.x += bird.vx * 2;
            }
        }
        for (p in pigs.copy()) {
            var dx = p.x - bird.x, dy = p.y - bird.y;
            if (dx * dx + dy * dy < (BIRD_R + PIG_R) * (BIRD_R + PIG_R)) pop(p);
        }
        bird.rest = speed < 0.4 ? bird.rest + 1 : 0;
        if (bird.rest > 45 || bird.x > Game.WIDTH + 40 || bird.x < -40) bird = null;
    }

    static function touches(b:Block, cx:Float, cy:Float, r:Float):Bool {
        var nx = Math.max(b.x, Math.min(cx, b.x + b.w)), ny = Math.max(b.y, Math.min(cy, b.y + b.h));
        return (cx - nx) * (cx - nx) + (cy - ny) * (cy - ny) < r * r;
    }

    function knock(b:Block, vx:Float, vy:Float):Void {
        b.loose = true;
        b.vx = vx;
        b.vy = vy;
        b.spin = (Math.random() - 0.5) * 0.3;
        levelScore += 100;
    }

    // A knocked block tumbles away and knocks what it hits hard enough.
    function tumble(b:Block):Void {
        b.life++;
        b.vy += GRAVITY;
        b.x += b.vx;
        b.y += b.vy;
        b.angle += b.spin;
        if (b.y + b.h > GROUND) {
            b.y = GROUND - b.h;
            b.vy = -b.vy * 0.3;
            b.vx *= 0.7;
            b.spin *= 0.5;
        }
        var speed = Math.sqrt(b.vx * b.vx + b.vy * b.vy);
        if (speed < 3) return;
        for (o in blocks) {
            if (o.loose || o.x > b.x + b.w || o.x + o.w < b.x || o.y > b.y + b.h || o.y + o.h < b.y) continue;
            knock(o, b.vx * 0.6, b.vy * 0.6);
            b.vx *= 0.5;
            b.vy *= 0.5;
        }
        for (p in pigs.copy()) if (touches(b, p.x, p.y, PIG_R)) pop(p);
    }

    // Standing blocks and pigs without anything under them fall until they land.
    function settle():Void {
        var standing = blocks.filter(b -> !b.loose);
        standing.sort((a, b) -> Std.int((b.y + b.h) - (a.y + a.h))); // lowest first
        for (b in standing) {
            var floor = floorUnder(b.x, b.x + b.w, b.y + b.h, b);
            if (b.y + b.h < floor - 0.5) {
                b.vy += GRAVITY;
                b.y = Math.min(b.y + b.vy, floor - b.h);
                if (b.y + b.h >= floor - 0.5) b.vy = 0;
                for (p in pigs.copy()) if (touches(b, p.x, p.y, PIG_R)) pop(p); // crushed
            }
        }
        for (p in pigs.copy()) {
            var floor = floorUnder(p.x - 6, p.x + 6, p.y + PIG_R, null);
            if (p.y + PIG_R < floor - 0.5) {
                p.vy += GRAVITY;
                var step = Math.min(p.vy, floor - PIG_R - p.y);
                p.y += step;
                p.fell += step;
            } else {
                p.vy = 0;
                if (p.fell > 25) pop(p); // a hard landing pops it
                p.fell = 0;
            }
        }
    }

    // The highest top of a standing block under the span from x0 to x1 at or below height y.
    function floorUnder(x0:Float, x1:Float, y:Float, self:Block):Float {
        var floor = GROUND;
        for (o in blocks) {
            if (o == self || o.loose || o.x >= x1 || o.x + o.w <= x0) continue;
            if (o.y >= y - 0.5 && o.y < floor) floor = o.y;
        }
        return floor;
    }

    function pop(p:Pig):Void {
        if (!pigs.remove(p)) return;
        levelScore += 500;
        puffs.push({x: p.x, y: p.y, life: 0});
    }

    function calm():Bool {
        return !blocks.exists(b -> b.loose && b.life < 60);
    }

    function finish(won:Bool):Void {
        state = 1;
        if (won) {
            levelScore += birdsLeft * 1000;
            Progress.offerBest(score + levelScore);
            if (level + 1 > Progress.get("level", 0)) Progress.set("level", Std.int(Math.min(level + 1, LEVELS.length - 1)));
            showMessage("Level cleared!", "+" + levelScore + " points\nClick for the next level");
        } else {
            Progress.offerBest(score + levelScore);
            showMessage("Out of birds", "Click to try again");
        }
    }

    function draw():Void {
        var g = scene.graphics;
        g.clear();
        g.beginFill(0x9ad0f0);
        g.drawRect(0, 0, Game.WIDTH, GROUND);
        g.beginFill(0x5a9a3a);
        g.drawRect(0, GROUND, Game.WIDTH, Game.HEIGHT - GROUND);
        // the slingshot
        g.beginFill(0x6a4020);
        g.drawRect(SLING_X - 4, SLING_Y, 8, GROUND - SLING_Y);
        g.drawRect(SLING_X - 16, SLING_Y - 20, 6, 30);
        g.drawRect(SLING_X + 10, SLING_Y - 20, 6, 30);
        g.endFill();
        for (b in blocks) drawBlock(b);
        for (f in puffs) {
            f.life++;
            g.beginFill(0xffffff, 1 - f.life / 20);
            g.drawCircle(f.x, f.y, 8 + f.life * 1.5);
            g.endFill();
        }
        puffs = puffs.filter(f -> f.life < 20);
        for (p in pigs) {
            g.beginFill(0x60c040);
            g.drawCircle(p.x, p.y, PIG_R);
            g.beginFill(0x90e070);
            g.drawEllipse(p.x - 5, p.y, 10, 7);
            g.beginFill(0x000000);
            g.drawCircle(p.x - 4, p.y - 4, 1.8);
            g.drawCircle(p.x + 4, p.y - 4, 1.8);
            g.endFill();
        }
        if (dragging) {
            var p = pull();
            var bx = SLING_X + p.x, by = SLING_Y + p.y;
            g.lineStyle(3, 0x402010);
            g.moveTo(SLING_X - 13, SLING_Y - 18);
            g.lineTo(bx, by);
            g.lineTo(SLING_X + 13, SLING_Y - 18);
            g.lineStyle();
            // where the shot would go
            var x = bx, y = by, vx = -p.x * 0.22, vy = -p.y * 0.22;
            for (i in 0...40) {
                vy += GRAVITY;
                x += vx;
                y += vy;
                if (i % 3 == 0) {
                    g.beginFill(0xffffff, 0.8);
                    g.drawCircle(x, y, 2);
                }
            }
            drawBird(bx, by);
        } else if (bird != null) {
            drawBird(bird.x, bird.y);
        } else if (birdsLeft > 0 && state == 0) {
            drawBird(SLING_X, SLING_Y - 14);
        }
        for (i in 0...birdsLeft - (bird == null && state == 0 ? 1 : 0)) drawBird(60 - i * 22, GROUND - BIRD_R);
        g.endFill();
    }

    function drawBlock(b:Block):Void {
        var g = scene.graphics;
        var cx = b.x + b.w / 2, cy = b.y + b.h / 2, c = Math.cos(b.angle), s = Math.sin(b.angle);
        g.lineStyle(1, 0x6a4a20);
        g.beginFill(b.loose ? 0xb08850 : 0xd0a060, b.loose ? Math.max(0, 1 - b.life / 90) : 1);
        var corners = [[-b.w / 2, -b.h / 2], [b.w / 2, -b.h / 2], [b.w / 2, b.h / 2], [-b.w / 2, b.h / 2]];
        g.moveTo(cx + corners[3][0] * c - corners[3][1] * s, cy + corners[3][0] * s + corners[3][1] * c);
        for (k in corners) g.lineTo(cx + k[0] * c - k[1] * s, cy + k[0] * s + k[1] * c);
        g.endFill();
        g.lineStyle();
    }

    function drawBird(x:Float, y:Float):Void {
        var g = scene.graphics;
        g.beginFill(0xd02020);
        g.drawCircle(x, y, BIRD_R);
        g.beginFill(0xffffff);
        g.drawCircle(x + 3, y - 3, 3);
        g.beginFill(0xf0b020);
        g.moveTo(x + 8, y - 1);
        g.lineTo(x + 14, y + 2);
        g.lineTo(x + 8, y + 4);
        g.endFill();
    }
}
