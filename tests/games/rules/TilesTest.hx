import RulesTest.check;
import RulesTest.equal;

// Pair matching: which two tiles a line with at most two bends joins.
class TilesTest {
    // A board of 4 x 3 tiles (6 x 5 places with the ring), all empty.
    static function board():Tiles {
        var tiles = new Tiles(4, 3);
        for (i in 0...tiles.places.length) tiles.places[i] = 0;
        return tiles;
    }

    static function at(x:Int, y:Int):Int {
        return y * 6 + x;
    }

    public static function run() {
        var t = board();
        t.places[at(1, 1)] = 1;
        t.places[at(2, 1)] = 1;
        equal([at(1, 1), at(2, 1)], t.join(at(1, 1), at(2, 1)), "neighbours join straight");
        check(t.join(at(1, 1), at(1, 1)) == null, "a tile never joins itself");

        t = board();
        t.places[at(1, 1)] = 1;
        t.places[at(2, 1)] = 2;
        t.places[at(3, 1)] = 1;
        equal([at(1, 1), at(1, 0), at(3, 0), at(3, 1)], t.join(at(1, 1), at(3, 1)), "round a tile between, through the ring");

        t = board();
        t.places[at(1, 1)] = 1;
        t.places[at(2, 2)] = 1;
        var line = t.join(at(1, 1), at(2, 2));
        check(line != null && line.length == 3, "one bend at a free corner");

        // A tile walled in on all four sides by other kinds joins nothing.
        t = board();
        t.places[at(2, 2)] = 1;
        t.places[at(4, 3)] = 1;
        for (p in [at(1, 2), at(3, 2), at(2, 1), at(2, 3)]) t.places[p] = 2 + p;
        check(t.join(at(2, 2), at(4, 3)) == null, "a walled-in tile joins nothing");
        check(t.findPair() == null, "no pair on a board whose only pair cannot be joined");

        // Three bends are one too many: a to b needs down, right, up, right.
        t = board();
        for (p in 0...t.places.length) t.places[p] = 0;
        t.places[at(1, 1)] = 1;
        t.places[at(4, 1)] = 1;
        for (p in [at(1, 0), at(2, 1), at(0, 1), at(4, 0), at(5, 1), at(3, 1), at(4, 2)]) t.places[p] = 9 + p;
        check(t.join(at(1, 1), at(4, 1)) == null, "three bends do not join");

        // A dealt board: every tile placed, each kind an even number of times, a pair to take.
        var dealt = new Tiles(12, 7);
        dealt.deal(14);
        var counts = new Map<Int, Int>();
        for (y in 0...9) for (x in 0...14) {
            var v = dealt.places[y * 14 + x];
            var ring = x == 0 || y == 0 || x == 13 || y == 8;
            check(ring ? v == 0 : v > 0, "ring empty, tiles full at " + x + "," + y);
            if (v > 0) counts.set(v, (counts.exists(v) ? counts.get(v) : 0) + 1);
        }
        for (kind in counts.keys()) equal(6, counts.get(kind), "tiles of kind " + kind);
        check(dealt.findPair() != null, "a dealt board has a pair to take");

        // Shuffling keeps the tiles, moves none onto an empty place and leaves a pair.
        dealt.places[at(1, 1)] = 0;
        var before = [for (v in dealt.places) v].filter(v -> v != 0);
        before.sort(Reflect.compare);
        dealt.shuffle();
        var after = [for (v in dealt.places) v].filter(v -> v != 0);
        after.sort(Reflect.compare);
        equal(before, after, "shuffled tiles");
        equal(0, dealt.places[at(1, 1)], "an emptied place stays empty");
        check(dealt.findPair() != null, "a shuffled board has a pair to take");
    }
}
