using Lambda;

typedef Block = {x:Float, y:Float, w:Float, h:Float, vx:Float, vy:Float, angle:Float, spin:Float, loose:Bool, life:Int};
typedef Pig = {x:Float, y:Float, vy:Float, fell:Float};

// The yard of a level, in the game's pixels: stacks of blocks with pigs on and between them,
// and the bird in flight. A bird fast enough knocks the block it hits loose; a loose block
// tumbles away under gravity, knocks what it hits hard enough, and fades. Standing blocks and
// pigs without support fall; a pig pops when hit, crushed or after a long fall.
class Yard {
    public static inline var GROUND = 360.0;
    public static inline var GRAVITY = 0.3;
    public static inline var BIRD_R = 10.0;
    public static inline var PIG_R = 12.0;
    static inline var WIDTH = 550;

    // per level: blocks as [x, y, w, h] and pigs as [x, y]
    public static var LEVELS:Array<{blocks:Array<Array<Float>>, pigs:Array<Array<Float>>}> = [
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

    public var blocks:Array<Block>;
    public var pigs:Array<Pig>;
    public var bird:{x:Float, y:Float, vx:Float, vy:Float, rest:Int} = null;
    public var points = 0;
    public var popped:Array<{x:Float, y:Float}> = []; // where pigs popped, for the game to show

    public function new(index:Int) {
        blocks = [for (b in LEVELS[index].blocks) {x: b[0], y: b[1], w: b[2], h: b[3], vx: 0.0, vy: 0.0, angle: 0.0, spin: 0.0, loose: false, life: 0}];
        pigs = [for (p in LEVELS[index].pigs) {x: p[0], y: p[1], vy: 0.0, fell: 0.0}];
    }

    public function launch(x:Float, y:Float, vx:Float, vy:Float):Void {
        bird = {x: x, y: y, vx: vx, vy: vy, rest: 0};
    }

    // One frame; the bird is gone (null) once it has come to rest or left the yard.
    public function step():Void {
        if (bird != null) flyBird();
        for (b in blocks) if (b.loose) tumble(b);
        blocks = blocks.filter(b -> !b.loose || b.life < 90);
        settle();
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
            } else if (bird.y < b.y) { // too slow, from above: it lands on the block
                bird.y = b.y - BIRD_R;
                bird.vy = -Math.abs(bird.vy) * 0.3;
                bird.vx *= 0.8;
            } else { // too slow, from the side: it bounces off, away from the block and out of it
                var away = bird.x < b.x + b.w / 2 ? -1 : 1;
                bird.vx = away * Math.abs(bird.vx) * 0.3;
                bird.x = away < 0 ? Math.min(bird.x, b.x - BIRD_R) : Math.max(bird.x, b.x + b.w + BIRD_R);
            }
        }
        for (p in pigs.copy()) {
            var dx = p.x - bird.x, dy = p.y - bird.y;
            if (dx * dx + dy * dy < (BIRD_R + PIG_R) * (BIRD_R + PIG_R)) pop(p);
        }
        bird.rest = speed < 0.4 ? bird.rest + 1 : 0;
        if (bird.rest > 45 || bird.x > WIDTH + 40 || bird.x < -40) bird = null;
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
        points += 100;
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
        points += 500;
        popped.push({x: p.x, y: p.y});
    }

    // Nothing tumbles any more: what is left stands.
    public function calm():Bool {
        return !blocks.exists(b -> b.loose && b.life < 60);
    }
}
