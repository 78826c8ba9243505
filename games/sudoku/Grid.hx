// The rules of sudoku on a grid of 81 cells, row by row, 0 for an empty cell, and the puzzles
// the game brings, each with exactly one solution.
class Grid {
    public static var PUZZLES = [
        "1...825.4....9.36.5..6....2..32546..64..3..25.95..714...2..8..63.8...25..5.3.648.",
        "..1.7.3...3825..4.9.2...75.2..8.....4.3.15..2.19.24.7...5...614...1....5.9.58...7",
        ".8.4..257.4.8....3...3...412.9.4.7..1.4...9..6.8.2...4...2.4....2.9...8..6.75..1.",
        "1...4..5..54..2..1.8.71.6..9.8...2..2.6.3.8.4.......9..25....8............38.45.7",
        ".67.4.......7.3.1.54...8..........46...9....8..4.3....819..5.23....9...77...2...5",
        "..4.1......5..8....3.6...........89.17....64...2..9..1..1.....389..2....5..8.1.79",
    ];

    // A puzzle's cells: its digits, 0 for each ".".
    public static function parse(puzzle:String):Array<Int> {
        return [for (i in 0...81) puzzle.charAt(i) == "." ? 0 : Std.parseInt(puzzle.charAt(i))];
    }

    // Fills the empty cells, or gives false when they cannot be filled. Each step takes the
    // empty cell with the fewest digits left and goes back when one has none, which solves even
    // the hard puzzles at once.
    public static function solve(grid:Array<Int>):Bool {
        var cell = -1;
        var choices:Array<Int> = null;
        for (i in 0...81) {
            if (grid[i] != 0) continue;
            var digits = options(grid, i);
            if (choices == null || digits.length < choices.length) {
                cell = i;
                choices = digits;
                if (digits.length <= 1) break;
            }
        }
        if (cell < 0) return true;
        for (digit in choices) {
            grid[cell] = digit;
            if (solve(grid)) return true;
        }
        grid[cell] = 0;
        return false;
    }

    // The digits a cell may take.
    public static function options(grid:Array<Int>, cell:Int):Array<Int> {
        return [for (digit in 1...10) if (allowed(grid, cell, digit)) digit];
    }

    // No other cell of the row, column or box of a cell holds the digit.
    public static function allowed(grid:Array<Int>, cell:Int, digit:Int):Bool {
        var row = Std.int(cell / 9), column = cell % 9;
        var boxTop = row - row % 3, boxLeft = column - column % 3;
        for (k in 0...9) {
            var inRow = row * 9 + k, inColumn = k * 9 + column;
            var inBox = (boxTop + Std.int(k / 3)) * 9 + boxLeft + k % 3;
            if (inRow != cell && grid[inRow] == digit) return false;
            if (inColumn != cell && grid[inColumn] == digit) return false;
            if (inBox != cell && grid[inBox] == digit) return false;
        }
        return true;
    }

    // Every cell is filled and no digit repeats in a row, column or box.
    public static function complete(grid:Array<Int>):Bool {
        for (i in 0...81) if (grid[i] == 0 || !allowed(grid, i, grid[i])) return false;
        return true;
    }
}
