import RulesTest.check;
import RulesTest.equal;

// Falling blocks: turning pieces, what fits, and full rows going.
class WellTest {
    static function cellsOf(shape:Array<Int>):Array<String> {
        var list = [for (i in 0...Std.int(shape.length / 2)) shape[i * 2] + "," + shape[i * 2 + 1]];
        list.sort(Reflect.compare);
        return list;
    }

    public static function run() {
        for (kind in 0...Well.PIECES.length) {
            var first = cellsOf(Well.shape(kind, 0));
            equal(first, cellsOf(Well.shape(kind, 4)), "four turns bring piece " + kind + " back");
            for (turn in 0...4) {
                var cells = cellsOf(Well.shape(kind, turn));
                equal(4, cells.length, "cells of piece " + kind);
                var distinct = [for (c in cells) if (cells.indexOf(c) == cells.lastIndexOf(c)) c];
                equal(4, distinct.length, "distinct cells of piece " + kind + " turn " + turn);
            }
        }
        check(cellsOf(Well.shape(0, 0)).join(" ") != cellsOf(Well.shape(0, 1)).join(" "), "the bar turns upright");

        var well = new Well(10, 20);
        // The flat bar lies in row 1 of its box, over columns x to x + 3.
        check(well.fits(0, 0, 0, 0), "bar at the left wall");
        check(!well.fits(0, 0, -1, 0), "bar through the left wall");
        check(well.fits(0, 0, 6, 0), "bar at the right wall");
        check(!well.fits(0, 0, 7, 0), "bar through the right wall");
        check(well.fits(0, 0, 0, -1), "above the top is open");
        check(well.fits(0, 0, 0, 18) && !well.fits(0, 0, 0, 19), "the floor");

        // Two bars and a square fill the bottom row; what stood above moves down.
        equal([], well.lock(0, 0, 0, 18), "one bar fills no row");
        well.cells[17 * 10 + 5] = 3;
        equal([], well.lock(0, 0, 4, 18), "two bars fill no row");
        check(!well.fits(1, 0, 4, 16), "the square on a taken cell");
        // The square lies in columns 1 and 2 of its box.
        equal([19], well.lock(1, 0, 7, 18), "the square fills the bottom row");
        well.remove([19]);
        equal(3, well.cells[18 * 10 + 5], "the block above moved down");
        equal(2, well.cells[19 * 10 + 9], "the square's top half moved down");
        equal(0, well.cells[19 * 10 + 0], "the bar's row is gone");

        // Two full rows at once, one apart from the other.
        well.clear();
        for (column in 0...10) {
            well.cells[17 * 10 + column] = 1;
            well.cells[19 * 10 + column] = 1;
        }
        well.cells[16 * 10] = 5;
        well.cells[18 * 10 + 3] = 6;
        well.remove([17, 19]);
        equal(5, well.cells[18 * 10], "the top block fell two rows");
        equal(6, well.cells[19 * 10 + 3], "the block between fell one row");
        equal(2, well.cells.filter(v -> v != 0).length, "nothing else is left");
    }
}
