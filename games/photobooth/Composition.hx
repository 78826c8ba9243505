typedef Placed = {kind:Int, x:Int, y:Int, scale:Int, turn:Int}; // scale in percent, turn in degrees

// What the photo booth keeps: the frame, the backdrop and the stickers from the bottom up, as a
// text "frame;backdrop;kind,x,y,scale,turn;...". Reading takes what it can of a damaged text:
// unknown frames and backdrops become the first, broken or unknown stickers are left out, and
// positions, sizes and turns are brought into range.
class Composition {
    public static inline var FRAMES = 6;
    public static inline var BACKDROPS = 4;
    public static inline var KINDS = 9;
    public static inline var MIN_SCALE = 40;
    public static inline var MAX_SCALE = 300;

    public var frame = 0;
    public var backdrop = 0;
    public var stickers:Array<Placed> = [];

    public function new() {}

    public static function read(text:Dynamic, width:Int, height:Int):Composition {
        var c = new Composition();
        if (!Std.isOfType(text, String)) return c;
        var parts = (text : String).split(";");
        if (parts.length < 2) return c;
        c.frame = choice(Std.parseInt(parts[0]), FRAMES);
        c.backdrop = choice(Std.parseInt(parts[1]), BACKDROPS);
        for (p in parts.slice(2)) {
            var v = p.split(",").map(Std.parseInt);
            if (v.length != 5 || v.contains(null) || v[0] < 0 || v[0] >= KINDS) continue;
            c.stickers.push({
                kind: v[0],
                x: within(v[1], 0, width),
                y: within(v[2], 0, height),
                scale: within(v[3], MIN_SCALE, MAX_SCALE),
                turn: ((v[4] % 360) + 360) % 360
            });
        }
        return c;
    }

    public function write():String {
        return [Std.string(frame), Std.string(backdrop)].concat([for (s in stickers) [s.kind, s.x, s.y, s.scale, s.turn].join(",")]).join(";");
    }

    static function choice(v:Null<Int>, count:Int):Int {
        return v == null || v < 0 || v >= count ? 0 : v;
    }

    static function within(v:Int, low:Int, high:Int):Int {
        return v < low ? low : (v > high ? high : v);
    }
}
