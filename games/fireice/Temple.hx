// One of the two temple runners.
class Runner {
    public static inline var W = 16;
    public static inline var H = 22;

    public var fire:Bool;
    public var x = 0.0;
    public var y = 0.0;
    public var vx = 0.0;
    public var vy = 0.0;
    public var onGround = false;
    public var atDoor = false;

    public function new(fire:Bool) {
        this.fire = fire;
    }
}

// A level of the temple and how the runners move in it: walking, jumping and falling onto stone,
// gems picked up by the runner of their colour, each runner's door, and the liquids: Fire dies
// in water, Ice in lava, both in goo.
class Temple {
    public static inline var T = 25; // tile size; a map is 22 x 16 tiles
    static inline var GRAVITY = 0.45;
    static inline var JUMP = 9.8;
    static inline var SPEED = 2.7;

    // '#' stone, 'R' lava, 'B' water, 'G' goo, 'F'/'I' doors, 'f'/'i' starts, 'r'/'b' gems
    public static var LEVELS = [
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

    public var map:Array<Array<String>>;
    public var gems = 0;
    public var gemsTotal = 0;

    // Level `index`, with the runners (Fire first, then Ice) at their starts.
    public function new(index:Int, runners:Array<Runner>) {
        map = [for (row in LEVELS[index]) row.split("")];
        for (ty in 0...map.length) for (tx in 0...map[ty].length) {
            switch (map[ty][tx]) {
                case "f" | "i":
                    var r = runners[map[ty][tx] == "f" ? 0 : 1];
                    r.x = tx * T + (T - Runner.W) / 2;
                    r.y = (ty + 1) * T - Runner.H;
                    r.vx = r.vy = 0;
                    r.onGround = r.atDoor = false;
                    map[ty][tx] = ".";
                case "r" | "b": gemsTotal++;
            }
        }
    }

    // The tile at a point; outside the map is stone.
    public function tile(px:Float, py:Float):String {
        var tx = Math.floor(px / T), ty = Math.floor(py / T);
        if (ty < 0 || ty >= map.length || tx < 0 || tx >= map[ty].length) return "#";
        return map[ty][tx];
    }

    static function solid(t:String):Bool {
        return t == "#" || t == "R" || t == "B" || t == "G";
    }

    // One frame of a runner with its keys held or not. Returns the liquid it died in ("B" water,
    // "R" lava, "G" goo), or "" while it lives.
    public function step(r:Runner, left:Bool, right:Bool, jump:Bool):String {
        r.vx = (left ? -SPEED : 0) + (right ? SPEED : 0);
        if (jump && r.onGround) r.vy = -JUMP;
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

        var cx = r.x + Runner.W / 2, cy = r.y + Runner.H / 2;
        var here = tile(cx, cy);
        if ((here == "r" && r.fire) || (here == "b" && !r.fire)) {
            map[Math.floor(cy / T)][Math.floor(cx / T)] = ".";
            gems++;
        }
        r.atDoor = here == (r.fire ? "F" : "I") && r.onGround;

        // what it stands on: a liquid of the other element, or goo, ends the try
        for (t in [tile(r.x + 5, r.y + Runner.H + 1), tile(r.x + Runner.W - 5, r.y + Runner.H + 1)])
            if (r.onGround && (t == "G" || (t == "B" && r.fire) || (t == "R" && !r.fire))) return t;
        return "";
    }
}
