typedef Plant = {kind:Int, col:Int, lane:Int, hp:Float, timer:Int};
typedef Walker = {x:Float, lane:Int, hp:Float, speed:Float, biting:Bool};

// The lawn and what happens on it, in the game's pixels: five lanes of nine squares left of
// the edge where walkers come in. Plants cost sun; a shooter fires peas along its lane while a
// walker is ahead of it, a sunflower makes sun, a wall only holds walkers up. Walkers bite the
// plant in their way and walk on once it is eaten. Sun falls from the sky now and then.
class Lawn {
    public static inline var LANES = 5;
    public static inline var COLS = 9;
    public static inline var CW = 55;
    public static inline var CH = 64;
    public static inline var LEFT = 40;
    public static inline var TOP = 72;
    static inline var WIDTH = 550;
    public static var COSTS = [100, 50, 50]; // shooter, sunflower, wall
    public static var HEALTH = [6.0, 5.0, 40.0];
    public static inline var GOING = 0;
    public static inline var CLEARED = 1;
    public static inline var LOST = 2;

    public var plants:Array<Plant> = [];
    public var walkers:Array<Walker> = [];
    public var peas:Array<{x:Float, lane:Int}> = [];
    public var suns:Array<{x:Float, y:Float, stop:Float, life:Int}> = [];
    public var sun = 150;
    public var wave = 1;
    public var toSpawn = 0;
    var spawnIn = 0;
    var skyIn = 200;

    public function new() {
        startWave();
    }

    function startWave():Void {
        toSpawn = 4 + wave * 4;
        spawnIn = 300;
    }

    // Plants `kind` on a free square when there is sun enough for it.
    public function plant(kind:Int, col:Int, lane:Int):Bool {
        if (col < 0 || col >= COLS || lane < 0 || lane >= LANES) return false;
        if (Lambda.exists(plants, p -> p.col == col && p.lane == lane) || sun < COSTS[kind]) return false;
        sun -= COSTS[kind];
        plants.push({kind: kind, col: col, lane: lane, hp: HEALTH[kind], timer: 0});
        return true;
    }

    // Collects the sun at a point, if there is one.
    public function collect(x:Float, y:Float):Bool {
        for (s in suns) {
            if (Math.abs(x - s.x) < 18 && Math.abs(y - s.y) < 18) {
                suns.remove(s);
                sun += 25;
                return true;
            }
        }
        return false;
    }

    // One frame. Returns LOST when a walker got through, CLEARED when the wave was beaten (and
    // the next one begins), else GOING.
    public function step():Int {
        if (--skyIn <= 0) {
            suns.push({x: LEFT + 20 + Math.random() * (COLS * CW - 40), y: TOP - 20, stop: TOP + 30 + Math.random() * (LANES * CH - 60), life: 0});
            skyIn = 300 + Std.random(150);
        }
        for (s in suns.copy()) {
            if (s.y < s.stop) s.y += 1 else if (++s.life > 400) suns.remove(s);
        }
        if (toSpawn > 0 && --spawnIn <= 0) {
            var tough = wave > 2 && Math.random() < 0.25;
            walkers.push({x: WIDTH + 10, lane: Std.random(LANES), hp: tough ? 28 : 10, speed: 0.22 + Math.random() * 0.1 + wave * 0.01, biting: false});
            toSpawn--;
            spawnIn = Std.int(Math.max(60, 360 - wave * 30)) + Std.random(120);
        }
        for (p in plants) {
            p.timer++;
            var x = LEFT + p.col * CW + CW / 2;
            if (p.kind == 0 && p.timer >= 45 && Lambda.exists(walkers, w -> w.lane == p.lane && w.x > x)) {
                peas.push({x: x + 12, lane: p.lane});
                p.timer = 0;
            } else if (p.kind == 1 && p.timer >= 600) {
                suns.push({x: x + 10, y: TOP + p.lane * CH + 20, stop: TOP + p.lane * CH + 40, life: 0});
                p.timer = 0;
            }
        }
        for (pea in peas.copy()) {
            pea.x += 5;
            var hit = Lambda.find(walkers, w -> w.lane == pea.lane && Math.abs(w.x - pea.x) < 12);
            if (hit != null) {
                hit.hp--;
                peas.remove(pea);
                if (hit.hp <= 0) walkers.remove(hit);
            } else if (pea.x > WIDTH) peas.remove(pea);
        }
        for (w in walkers) {
            var blocker = Lambda.find(plants, p -> p.lane == w.lane && Math.abs(LEFT + p.col * CW + CW / 2 - (w.x - 12)) < 16);
            w.biting = blocker != null;
            if (blocker != null) {
                blocker.hp -= 1 / 60;
                if (blocker.hp <= 0) plants.remove(blocker);
            } else {
                w.x -= w.speed;
            }
            if (w.x < LEFT - 10) return LOST;
        }
        if (toSpawn == 0 && walkers.length == 0) {
            wave++;
            startWave();
            sun += 50;
            return CLEARED;
        }
        return GOING;
    }
}
