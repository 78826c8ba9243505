typedef Ball = {colour:Int, s:Float};

// The chain of balls along the path, each at its distance s from the start (below 0: not yet
// in). The rear ball rolls on and pushes the balls in front of it; balls in front of a gap stand.
// A gap with one colour on both sides closes by pulling the front part back, and three or more of
// a colour that touch vanish, for points that grow with every closing in a row.
class Chain {
    public static inline var D = 20.0; // ball diameter, also the spacing along the path
    static inline var TOUCH = D + 0.5;
    static inline var PULL = 6.0;

    public var balls:Array<Ball> = [];
    var combo = 1;

    // count balls waiting before the start, of the first `colours` colours, no three in a row.
    public function new(count:Int, colours:Int) {
        for (i in 0...count) {
            var colour = Std.random(colours);
            if (i >= 2 && balls[0].colour == colour && balls[1].colour == colour) colour = (colour + 1) % colours;
            balls.unshift({colour: colour, s: -i * D});
        }
    }

    // How far the front ball has come.
    public function lead():Float {
        return balls.length == 0 ? 0 : balls[balls.length - 1].s;
    }

    // One frame: the rear ball rolls `speed`, gaps of one colour close. Returns the points won.
    public function roll(speed:Float):Int {
        if (balls.length == 0) return 0;
        balls[0].s += speed;
        for (i in 1...balls.length) {
            var gap = balls[i].s - balls[i - 1].s;
            if (gap > TOUCH && balls[i].colour == balls[i - 1].colour) {
                var pull = Math.min(PULL, gap - D);
                var end = i + 1; // the front part: the balls touching from i on
                while (end < balls.length && balls[end].s - balls[end - 1].s <= TOUCH) end++;
                for (j in i...end) balls[j].s -= pull;
                if (gap - pull <= TOUCH) {
                    combo++;
                    push();
                    return match(i);
                }
            }
        }
        push();
        return 0;
    }

    // A shot joins beside ball `hit`, in front of it or behind it. Returns the points won.
    public function insert(hit:Int, inFront:Bool, colour:Int):Int {
        var at = inFront ? hit + 1 : hit;
        balls.insert(at, {colour: colour, s: inFront ? balls[hit].s + D : balls[hit].s});
        push();
        combo = 1;
        return match(at);
    }

    function push():Void {
        for (i in 1...balls.length) if (balls[i].s < balls[i - 1].s + D) balls[i].s = balls[i - 1].s + D;
    }

    // Removes the run of one colour through ball i when it has three or more balls.
    function match(i:Int):Int {
        var colour = balls[i].colour;
        var first = i, last = i;
        while (first > 0 && balls[first - 1].colour == colour && balls[first].s - balls[first - 1].s <= TOUCH) first--;
        while (last < balls.length - 1 && balls[last + 1].colour == colour && balls[last + 1].s - balls[last].s <= TOUCH) last++;
        var run = last - first + 1;
        if (run < 3) return 0;
        balls.splice(first, run);
        return run * 10 * combo;
    }
}
