// The bubbles stuck on the field: rows of places, every other row set in by half a bubble, so
// each place touches six others. Which bubbles hang together, which hang on nothing, and the
// ceiling bringing a new row.
class Field {
    public var columns(default, null):Int;
    public var rows(default, null):Int;
    public var places:Array<Int> = []; // colour + 1 per place, row by row, 0 when empty
    var shift = 0; // 0 or 1: which rows are set in

    public function new(columns:Int, rows:Int) {
        this.columns = columns;
        this.rows = rows;
        for (i in 0...columns * rows) places.push(0);
    }

    public function clear() {
        for (i in 0...places.length) places[i] = 0;
        shift = 0;
    }

    // The row is set in by half a bubble.
    public function setIn(row:Int):Bool {
        return (row + shift) % 2 == 1;
    }

    // The places that touch a place.
    public function neighbours(place:Int):Array<Int> {
        var row = Std.int(place / columns), column = place % columns;
        var inset = setIn(row);
        var list = [];
        var offsets = inset ? [[-1, 0], [1, 0], [0, -1], [1, -1], [0, 1], [1, 1]] : [[-1, 0], [1, 0], [-1, -1], [0, -1], [-1, 1], [0, 1]];
        for (o in offsets) {
            var c = column + o[0], r = row + o[1];
            if (c >= 0 && c < columns && r >= 0 && r < rows) list.push(r * columns + c);
        }
        return list;
    }

    // The places joined to one: of its colour only, or any bubble.
    public function connected(start:Int, sameColour:Bool):Array<Int> {
        var seen = [start];
        var open = [start];
        while (open.length > 0) {
            var place = open.pop();
            for (n in neighbours(place))
                if (places[n] != 0 && seen.indexOf(n) < 0 && (!sameColour || places[n] == places[start])) {
                    seen.push(n);
                    open.push(n);
                }
        }
        return seen;
    }

    // Bubbles no chain of bubbles joins to the ceiling.
    public function floating():Array<Int> {
        var held = [];
        for (column in 0...columns)
            if (places[column] != 0 && held.indexOf(column) < 0)
                for (place in connected(column, false)) if (held.indexOf(place) < 0) held.push(place);
        return [for (place in 0...places.length) if (places[place] != 0 && held.indexOf(place) < 0) place];
    }

    // Everything moves a row down and a new row of random colours comes in at the top.
    public function addRow(colours:Int) {
        var i = places.length - 1;
        while (i >= columns) {
            places[i] = places[i - columns];
            i--;
        }
        for (column in 0...columns) places[column] = Std.random(colours) + 1;
        shift = 1 - shift;
    }

    public function empty():Bool {
        for (v in places) if (v != 0) return false;
        return true;
    }

    // A bubble in the last row, past the line.
    public function overLine():Bool {
        for (place in (rows - 1) * columns...places.length) if (places[place] != 0) return true;
        return false;
    }
}
