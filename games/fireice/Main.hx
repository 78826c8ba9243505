import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Sprite;
import flash.text.TextField;

// One of the two temple runners, moved by its own three keys.
class Runner {
    public static inline var W = 16;
    public static inline var H = 22;

    public var fire:Bool;
    public var x:Float;
    public var y:Float;
    public var vx = 0.0;
    public var vy = 0.0;
    public var onGround = false;
    public var atDoor = false;
    public var left:Int;
    public var right:Int;
    public var jump:Int;

    public function new(fire:Bool, left:Int, right:Int, jump:Int) {
        this.fire = fire;
        this.left = left;
        this.right = right;
        this.jump = jump;
    }
}

// Two players on one keyboard climb a temple: Fire (arrow keys) walks through lava but dies in
// water, Ice (W A D) the other way round, green goo kills both. Each picks up gems of its colour,
// and the level is cleared when both stand at their own doors.
class Main extends Game {
    static inline var T = 25; // tile size; a map is 22 x 16 tiles
    static inline var GRAVITY = 0.45;
    static inline var JUMP = 9.8;
    static inline var SPEED = 2.7;

    // '#' stone, 'R' lava, 'B' water, 'G' goo, 'F'/'I' doors, 'f'/'i' starts, 'r'/'b' gems
    static var LEVELS = [
        [
            "######################",
            "#....................#",
            "#F..................I#",
            "####......r.b.....####",
            "#....................#",
            "#.....###....###.....#",
            "#....................#",
            "#...r............b...#",
            "#..###..........###..#",
            "#....................#",
            "#.......r....b.......#",
            "#......###..###......#",
            "#....................#",
            "#.........fi.........#",
            "###RRR########BBB#####",
            "######################"
        ],
        [
            "######################",
            "#....................#",
            "#I........b.........F#",
            "#####...######...#####",
            "#....................#",
            "#....................#",
            "#.####..........####.#",
            "#.......r....b.......#",
            "#....................#",
            "#.....####GG####.....#",
            "#....................#",
            "#....................#",
            "#.###....r..b....###.#",
            "#.........if.........#",
            "####RRR######BBB######",
            "######################"
        ],
        [
            "######################",
            "#F..................I#",
            "####......b.......####",
            "#.....r......b.......#",
            "#......###RR###......#",
            "#....................#",
            "####...............###",
            "#.......b....r.......#",
            "#....####BB####......#",
            "#....................#",
            "#..................###",
            "#.###................#",
            "#.......####GG###....#",
            "#.fi.................#",
            "####RR#####BB#########",
            "######################"
        ]
    ];

    var map:Array<Array<String>>;
    var walls = new Sprite();
    var actors = new Sprite();
    var status:TextField;
    var held = new Map<Int, Bool>();
    var runners:Array<Runner>;
    var level = 0;
    var frames = 0;
    var gems = 0;
    var gemsTotal = 0;
    var state = 0; // 0 playing, 1 someone died, 2 cleared

    static function main() new Main();

    function new() {
        super();
        addChild(walls);
        addChild(actors);
        status = label(6, 2, 13, 0xffffff);
        runners = [new Runner(true, Keys.LEFT, Keys.RIGHT, Keys.UP), new Runner(false, Keys.A, Keys.A + 3, Keys.A + 22)]; // W A D
        load(Std.int(Math.min(unlocked(), LEVELS.length - 1)));
    }

    function unlocked():Int {
        var value:Dynamic = Progress.get("unlocked", 0);
        return Std.isOfType(value, Int) ? value : 0;
    }

    function load(index:Int):Void {
        level = index;
        map = [for (row in LEVELS[index]) row.split("")];
        gems = 0;
        gemsTotal = 0;
        frames = 0;
        state = 0;
        hideMessage();
        for (ty in 0...map.length) for (tx in 0...map[ty].length) {
            switch (map[ty][tx]) {
                case "f" | "i":
                    var r = runners[map[ty][tx] == "f" ? 0 : 1];
                    r.x = tx * T + (T - Runner.W) / 2;
                    r.y = (ty + 1) * T - Runner.H;
                    r.vx = r.vy = 0;
                    map[ty][tx] = ".";
                case "r" | "b": gemsTotal++;
            }
        }
        drawWalls();
    }

    function tile(px:Float, py:Float):String {
        var tx = Math.floor(px / T), ty = Math.floor(py / T);
        if (ty < 0 || ty >= map.length || tx < 0 || tx >= map[ty].length) return "#";
        return map[ty][tx];
    }

    static function solid(t:String):Bool {
        return t == "#" || t == "R" || t == "B" || t == "G";
    }

    override function keyDown(keyCode:Int, charCode:Int):Void {
        held.set(keyCode, true);
        var digit = Keys.digit(keyCode);
        if (keyCode == Keys.A + 17) load(level); // R
        if (digit >= 1 && digit <= LEVELS.length && digit - 1 <= unlocked()) load(digit - 1);
        if ((keyCode == Keys.ENTER || keyCode == Keys.SPACE) && state == 2) load(Std.int(Math.min(level + 1, LEVELS.length - 1)));
        if ((keyCode == Keys.ENTER || keyCode == Keys.SPACE) && state == 1) load(level);
    }

    override function keyUp(keyCode:Int):Void {
        held.remove(keyCode);
    }

    override function tick():Void {
        if (state == 0) {
            frames++;
            for (r in runners) move(r);
            if (runners[0].atDoor && runners[1].atDoor) cleared();
        }
        var time = Std.int(frames / 3) / 10;
        var best:Dynamic = Progress.get("time" + level, 0);
        status.text = "Level " + (level + 1) + "/" + LEVELS.length + "   Time " + time + "s   Gems " + gems + "/" + gemsTotal
            + (best > 0 ? "   Best " + best + "s" : "") + "   Levels cleared " + Progress.best()
            + "\nFire: arrow keys   Ice: W A D   R: restart   1-3: pick level";
        drawActors();
    }

    function move(r:Runner):Void {
        r.vx = (held.exists(r.left) ? -SPEED : 0) + (held.exists(r.right) ? SPEED : 0);
        if (held.exists(r.jump) && r.onGround) r.vy = -JUMP;
        r.vy = Math.min(r.vy + GRAVITY, 10);

        r.x += r.vx;
        if (r.vx > 0 && (solid(tile(r.x + Runner.W, r.y)) || solid(tile(r.x + Runner.W, r.y + Runner.H - 1))))
            r.x = Math.floor((r.x + Runner.W) / T) * T - Runner.W - 0.01;
        if (r.vx < 0 && (solid(tile(r.x, r.y)) || solid(tile(r.x, r.y + Runner.H - 1))))
            r.x = (Math.floor(r.x / T) + 1) * T;

        r.y += r.vy;
        r.onGround = false;
        if (r.vy > 0 && (solid(tile(r.x + 1, r.y + Runner.H)) || solid(tile(r.x + Runner.W - 1, r.y + Runner.H)))) {
            r.y = Math.floor((r.y + Runner.H) / T) * T - Runner.H;
            r.vy = 0;
            r.onGround = true;
        } else if (r.vy < 0 && (solid(tile(r.x + 1, r.y)) || solid(tile(r.x + Runner.W - 1, r.y)))) {
            r.y = (Math.floor(r.y / T) + 1) * T;
            r.vy = 0;
        }

        // what it stands on: a liquid of the other element, or goo, ends the try
        for (t in [tile(r.x + 5, r.y + Runner.H + 1), tile(r.x + Runner.W - 5, r.y + Runner.H + 1)]) {
            if (r.onGround && (t == "G" || (t == "B" && r.fire) || (t == "R" && !r.fire))) {
                state = 1;
                showMessage((r.fire ? "Fire" : "Ice") + (t == "G" ? " fell in the goo!" : (r.fire ? " fell in the water!" : " fell in the lava!")),
                    "Enter or R tries again");
            }
        }

        var cx = r.x + Runner.W / 2, cy = r.y + Runner.H / 2;
        var here = tile(cx, cy);
        if ((here == "r" && r.fire) || (here == "b" && !r.fire)) {
            map[Math.floor(cy / T)][Math.floor(cx / T)] = ".";
            gems++;
        }
        r.atDoor = here == (r.fire ? "F" : "I") && r.onGround;
    }

    function cleared():Void {
        state = 2;
        var time = Std.int(frames / 3) / 10;
        var key = "time" + level;
        var best:Dynamic = Progress.get(key, 0);
        if (best == 0 || time < best) Progress.set(key, time);
        if (level + 1 > unlocked()) Progress.set("unlocked", Std.int(Math.min(level + 1, LEVELS.length - 1)));
        Progress.offerBest(level + 1);
        if (level + 1 < LEVELS.length) showMessage("Level cleared in " + time + "s!", "Enter goes to the next level");
        else showMessage("Temple escaped in " + time + "s!", "Enter plays the last level again");
    }

    function drawWalls():Void {
        var g = walls.graphics;
        g.clear();
        g.beginFill(0x2a2618);
        g.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        for (ty in 0...map.length) for (tx in 0...map[ty].length) {
            var x = tx * T, y = ty * T;
            switch (map[ty][tx]) {
                case "#":
                    g.beginFill(0x7a6a40);
                    g.drawRect(x, y, T, T);
                    g.beginFill(0x8c7c50);
                    g.drawRect(x + 1, y + 1, T - 2, T / 2 - 2);
                case "R" | "B" | "G":
                    g.beginFill(0x7a6a40);
                    g.drawRect(x, y, T, T);
                    g.beginFill(switch (map[ty][tx]) { case "R": 0xff4010; case "B": 0x2090ff; default: 0x40d020; });
                    g.drawRect(x, y, T, 10);
                case "F" | "I":
                    g.beginFill(map[ty][tx] == "F" ? 0xc03010 : 0x1060c0);
                    g.drawRect(x + 2, y - 10, T - 4, T + 10);
                    g.beginFill(0x000000, 0.4);
                    g.drawRect(x + 6, y - 5, T - 12, T + 5);
            }
        }
        g.endFill();
    }

    function drawActors():Void {
        var g = actors.graphics;
        g.clear();
        for (ty in 0...map.length) for (tx in 0...map[ty].length) {
            var t = map[ty][tx];
            if (t == "r" || t == "b") {
                var cx = tx * T + T / 2, cy = ty * T + T / 2;
                g.beginFill(t == "r" ? 0xff5030 : 0x40b0ff);
                g.moveTo(cx, cy - 8);
                g.lineTo(cx + 7, cy);
                g.lineTo(cx, cy + 8);
                g.lineTo(cx - 7, cy);
                g.endFill();
            }
        }
        for (r in runners) {
            var body = r.fire ? 0xe04010 : 0x3080e0, head = r.fire ? 0xffa020 : 0xa0e0ff;
            g.beginFill(body);
            g.drawRoundRect(r.x, r.y + 8, Runner.W, Runner.H - 8, 6, 6);
            g.beginFill(head);
            g.drawCircle(r.x + Runner.W / 2, r.y + 6, 7);
            // a flame or an icicle on top, a fill of its own so that the overlap does not cancel out
            g.beginFill(head);
            g.moveTo(r.x + 3, r.y + 3);
            g.lineTo(r.x + Runner.W / 2, r.y - 8);
            g.lineTo(r.x + Runner.W - 3, r.y + 3);
            g.beginFill(0x000000);
            g.drawCircle(r.x + 5, r.y + 6, 1.6);
            g.drawCircle(r.x + 11, r.y + 6, 1.6);
            g.endFill();
        }
    }
}
