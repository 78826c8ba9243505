// The well the blocks fall into: the seven pieces and their turns, what fits where, locking a
// piece in place and taking full rows out.
class Well {
    // The seven pieces as cells (x, y) of their first turn.
    public static var PIECES:Array<Array<Int>> = [
        [0, 1, 1, 1, 2, 1, 3, 1], // I
        [1, 0, 2, 0, 1, 1, 2, 1], // O
        [1, 0, 0, 1, 1, 1, 2, 1], // T
        [1, 0, 2, 0, 0, 1, 1, 1], // S
        [0, 0, 1, 0, 1, 1, 2, 1], // Z
        [0, 0, 0, 1, 1, 1, 2, 1], // J
        [2, 0, 0, 1, 1, 1, 2, 1], // L
    ];

    public var columns(default, null):Int;
    public var rows(default, null):Int;
    public var cells:Array<Int> = []; // per cell, row by row, the piece's kind + 1, 0 when empty

    public function new(columns:Int, rows:Int) {
        this.columns = columns;
        this.rows = rows;
        for (i in 0...columns * rows) cells.push(0);
    }

    public function clear() {
        for (i in 0...cells.length) cells[i] = 0;
    }

    // The cells of a piece in a turn, as (x, y) pairs: each quarter turn rotates about the centre
    // of its 4 x 4 box (2 x 2 for the square, which never changes).
    public static function shape(kind:Int, turns:Int):Array<Int> {
        var result = PIECES[kind].copy();
        if (kind == 1) return result;
        var size = kind == 0 ? 4 : 3;
        for (t in 0...turns % 4) {
            var i = 0;
            while (i < result.length) {
                var x = result[i];
                result[i] = size - 1 - result[i + 1];
                result[i + 1] = x;
                i += 2;
            }
        }
        return result;
    }

    // The piece in that turn at x, y stays inside the well (above its top is allowed) and on
    // empty cells.
    public function fits(kind:Int, turns:Int, x:Int, y:Int):Bool {
        var c = shape(kind, turns);
        var i = 0;
        while (i < c.length) {
            var cx = x + c[i];
            var cy = y + c[i + 1];
            if (cx < 0 || cx >= columns || cy >= rows) return false;
            if (cy >= 0 && cells[cy * columns + cx] != 0) return false;
            i += 2;
        }
        return true;
    }

    // Puts a piece into the well where it stands (its cells above the top are lost) and gives the
    // rows it filled, top to bottom.
    public function lock(kind:Int, turns:Int, x:Int, y:Int):Array<Int> {
        var c = shape(kind, turns);
        var i = 0;
        while (i < c.length) {
            var row = y + c[i + 1];
            if (row >= 0) cells[row * columns + x + c[i]] = kind + 1;
            i += 2;
        }
        var full = [];
        for (row in 0...rows) {
            var filled = true;
            for (column in 0...columns) if (cells[row * columns + column] == 0) filled = false;
            if (filled) full.push(row);
        }
        return full;
    }

    // Takes rows out, top to bottom as lock gives them; what stood above each moves down.
    public function remove(full:Array<Int>) {
        for (row in full) {
            var r = row;
            while (r > 0) {
                for (column in 0...columns) cells[r * columns + column] = cells[(r - 1) * columns + column];
                r--;
            }
            for (column in 0...columns) cells[column] = 0;
        }
    }
}
