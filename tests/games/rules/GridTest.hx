import RulesTest.check;
import RulesTest.equal;

// Sudoku: the built-in puzzles and the rule that no digit repeats.
class GridTest {
    // How many ways the grid can be completed, counting up to two: every digit of the cell with
    // the fewest.
    static function solutions(grid:Array<Int>):Int {
        var cell = -1;
        var choices:Array<Int> = null;
        for (i in 0...81)
            if (grid[i] == 0) {
                var digits = Grid.options(grid, i);
                if (choices == null || digits.length < choices.length) {
                    cell = i;
                    choices = digits;
                }
            }
        if (cell < 0) return 1;
        var count = 0;
        for (digit in choices) {
            grid[cell] = digit;
            count += solutions(grid);
            if (count > 1) break;
        }
        grid[cell] = 0;
        return count;
    }

    public static function run() {
        for (n in 0...Grid.PUZZLES.length) {
            var given = Grid.parse(Grid.PUZZLES[n]);
            equal(81, given.length, "cells of puzzle " + n);
            var clues = given.filter(v -> v != 0).length;
            check(clues >= 17 && clues < 81, "puzzle " + n + " has " + clues + " clues");
            for (i in 0...81) if (given[i] != 0) check(Grid.allowed(given, i, given[i]), "clue " + i + " of puzzle " + n + " clashes");
            equal(1, solutions(given.copy()), "solutions of puzzle " + n);
            var solved = given.copy();
            check(Grid.solve(solved), "puzzle " + n + " solves");
            check(Grid.complete(solved), "the solution of puzzle " + n + " is complete");
            for (i in 0...81) if (given[i] != 0) equal(given[i], solved[i], "clue kept in puzzle " + n);
        }

        var solved = Grid.parse(Grid.PUZZLES[0]);
        Grid.solve(solved);
        var grid = solved.copy();
        grid[40] = 0;
        check(!Grid.complete(grid), "an empty cell is not complete");
        // Swapping two cells of a row keeps the row right but breaks a column.
        grid = solved.copy();
        var t = grid[0];
        grid[0] = grid[1];
        grid[1] = t;
        check(!Grid.complete(grid), "a swapped pair is not complete");
        check(!Grid.allowed(grid, 0, grid[0]), "the clash shows on the swapped cell");

        var empty = [for (i in 0...81) 0];
        empty[0] = 5;
        check(!Grid.allowed(empty, 8, 5), "same row");
        check(!Grid.allowed(empty, 72, 5), "same column");
        check(!Grid.allowed(empty, 20, 5), "same box");
        check(Grid.allowed(empty, 30, 5), "another row, column and box");
        // The last cell of the first row can take no digit: 1 to 8 stand beside it, 9 below it.
        var stuck = [for (i in 0...81) i < 8 ? i + 1 : 0];
        stuck[17] = 9;
        check(!Grid.solve(stuck), "a cell without a digit left has no solution");
        equal(0, stuck[8], "and stays empty");
    }
}
