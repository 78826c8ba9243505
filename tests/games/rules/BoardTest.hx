import RulesTest.check;
import RulesTest.equal;

// Five in a row: lines of five, and the computer winning or blocking when it must.
class BoardTest {
    static inline var S = Board.SIZE;

    static function board(black:Array<Array<Int>>, white:Array<Array<Int>>):Board {
        var b = new Board();
        for (p in black) b.points[p[1] * S + p[0]] = Board.BLACK;
        for (p in white) b.points[p[1] * S + p[0]] = Board.WHITE;
        return b;
    }

    public static function run() {
        var row = board([[0, 3], [1, 3], [2, 3], [3, 3], [4, 3]], []);
        equal([3 * S, 3 * S + 4], row.fiveThrough(3 * S + 2), "five across from the edge, ends");
        var column = board([for (y in 10...15) [14, y]], []);
        check(column.fiveThrough(14 * S + 14) != null, "five down to the corner");
        var slant = board([for (i in 0...5) [i + 2, i + 5]], []);
        check(slant.fiveThrough(7 * S + 4) != null, "five slanting down");
        var back = board([for (i in 0...5) [i + 2, 9 - i]], []);
        check(back.fiveThrough(9 * S + 2) != null, "five slanting up");
        var six = board([for (x in 3...9) [x, 0]], []);
        equal([3, 8], six.fiveThrough(5), "six count as five");
        var four = board([for (x in 3...7) [x, 0]], []);
        check(four.fiveThrough(4) == null, "four are not five");
        var broken = board([[3, 0], [4, 0], [6, 0], [7, 0], [8, 0]], [[5, 0]]);
        check(broken.fiveThrough(4) == null, "a white stone breaks the line");

        // The computer completes its own four before anything else, at every level but easy.
        for (level in 2...4) {
            var win = board([[7, 7], [7, 8], [7, 9], [7, 10]], [[3, 3], [4, 3], [5, 3], [6, 3]]);
            var move = win.choose(level);
            check(move == 3 * S + 2 || move == 3 * S + 7, "level " + level + " wins at once, chose " + move);
        }
        // It blocks your four when it cannot win.
        for (level in 2...4) {
            var block = board([[4, 6], [5, 6], [6, 6], [7, 6]], [[3, 6], [10, 10], [12, 2]]);
            equal(6 * S + 8, block.choose(level), "level " + level + " blocks the four");
        }
        // And an open three, which would become an open four.
        var three = board([[5, 5], [6, 5], [7, 5]], [[9, 9], [9, 10]]);
        var move = three.choose(2);
        check(move == 5 * S + 4 || move == 5 * S + 8, "blocks an open three, chose " + move);
        // The first move of an empty board is the centre.
        equal(7 * S + 7, new Board().choose(2), "first move");
    }
}
