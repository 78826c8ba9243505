// The tiles of a pair-matching board and the rule that joins two of them. The board keeps an
// empty ring round the tiles, so lines may run round the outside.
class Tiles {
    public var width(default, null):Int; // places a row, the ring included
    public var height(default, null):Int;
    public var places:Array<Int> = []; // kind + 1 per place, 0 when empty

    public function new(columns:Int, rows:Int) {
        width = columns + 2;
        height = rows + 2;
        for (i in 0...width * height) places.push(0);
    }

    // Every kind in pairs over all tiles (kinds must divide the tiles into an even count each),
    // in random places, mixed again until some pair can be joined.
    public function deal(kinds:Int) {
        var tiles = (width - 2) * (height - 2);
        var list = [for (i in 0...tiles) Std.int(i * kinds / tiles) + 1];
        shuffleList(list);
        for (i in 0...places.length) places[i] = 0;
        var n = 0;
        for (y in 1...height - 1) for (x in 1...width - 1) places[y * width + x] = list[n++];
        if (findPair() == null) shuffle();
    }

    // Mixes the tiles left over the places they hold until some pair can be joined; an empty
    // board stays as it is.
    public function shuffle() {
        var held = [for (i in 0...places.length) if (places[i] != 0) i];
        if (held.length == 0) return;
        do {
            var kinds = [for (p in held) places[p]];
            shuffleList(kinds);
            for (i in 0...held.length) places[held[i]] = kinds[i];
        } while (findPair() == null);
    }

    public function empty():Bool {
        for (v in places) if (v != 0) return false;
        return true;
    }

    static function shuffleList(list:Array<Int>) {
        var i = list.length;
        while (i > 1) {
            var j = Std.random(i--);
            var t = list[i];
            list[i] = list[j];
            list[j] = t;
        }
    }

    // Any pair of equal tiles that can be joined, or null.
    public function findPair():Array<Int> {
        for (a in 0...places.length) {
            if (places[a] == 0) continue;
            for (b in a + 1...places.length)
                if (places[b] == places[a] && join(a, b) != null) return [a, b];
        }
        return null;
    }

    // Everything strictly between two places of one row or column is empty.
    function clearBetween(a:Int, b:Int):Bool {
        if (a == b) return true;
        var ax = a % width, ay = Std.int(a / width), bx = b % width, by = Std.int(b / width);
        if (ax != bx && ay != by) return false;
        var step = ax == bx ? (by > ay ? width : -width) : (bx > ax ? 1 : -1);
        var p = a + step;
        while (p != b) {
            if (places[p] != 0) return false;
            p += step;
        }
        return true;
    }

    // The shortest line with at most two bends from a to b through empty places, as its corner
    // places from a to b, or null.
    public function join(a:Int, b:Int):Array<Int> {
        if (a == b) return null;
        if (clearBetween(a, b)) return [a, b];
        var ax = a % width, ay = Std.int(a / width), bx = b % width, by = Std.int(b / width);
        for (corner in [ay * width + bx, by * width + ax])
            if (places[corner] == 0 && clearBetween(a, corner) && clearBetween(corner, b)) return [a, corner, b];
        var best:Array<Int> = null;
        var bestLength = 1000;
        // Two bends: out along a's row or column to some line, across, and in to b.
        for (x in 0...width) {
            var c1 = ay * width + x, c2 = by * width + x;
            if (x == ax || x == bx || places[c1] != 0 || places[c2] != 0) continue;
            var length = Std.int(Math.abs(x - ax) + Math.abs(x - bx));
            if (length < bestLength && clearBetween(a, c1) && clearBetween(c1, c2) && clearBetween(c2, b)) {
                best = [a, c1, c2, b];
                bestLength = length;
            }
        }
        for (y in 0...height) {
            var c1 = y * width + ax, c2 = y * width + bx;
            if (y == ay || y == by || places[c1] != 0 || places[c2] != 0) continue;
            var length = Std.int(Math.abs(y - ay) + Math.abs(y - by));
            if (length < bestLength && clearBetween(a, c1) && clearBetween(c1, c2) && clearBetween(c2, b)) {
                best = [a, c1, c2, b];
                bestLength = length;
            }
        }
        return best;
    }
}
