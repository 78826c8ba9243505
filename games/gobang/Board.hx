// The points of a five-in-a-row board, what lines the stones make, and the computer's choice of
// a move.
class Board {
    public static inline var SIZE = 15;
    public static inline var EMPTY = 0;
    public static inline var BLACK = 1;
    public static inline var WHITE = 2;
    static var DIRECTIONS = [[1, 0], [0, 1], [1, 1], [1, -1]];

    public var points:Array<Int> = [for (i in 0...SIZE * SIZE) EMPTY]; // row by row

    public function new() {}

    // The five (or more) stones in a line through a point, as their two ends, or null.
    public function fiveThrough(point:Int):Array<Int> {
        var stone = points[point];
        var x = point % SIZE, y = Std.int(point / SIZE);
        for (d in DIRECTIONS) {
            var back = run(x, y, -d[0], -d[1], stone);
            var ahead = run(x, y, d[0], d[1], stone);
            if (back + ahead + 1 >= 5)
                return [(y - back * d[1]) * SIZE + x - back * d[0], (y + ahead * d[1]) * SIZE + x + ahead * d[0]];
        }
        return null;
    }

    // How many stones of a colour follow a point in one direction.
    function run(x:Int, y:Int, dx:Int, dy:Int, stone:Int):Int {
        var n = 0;
        x += dx;
        y += dy;
        while (x >= 0 && x < SIZE && y >= 0 && y < SIZE && points[y * SIZE + x] == stone) {
            n++;
            x += dx;
            y += dy;
        }
        return n;
    }

    function openEnd(x:Int, y:Int):Bool {
        return x >= 0 && x < SIZE && y >= 0 && y < SIZE && points[y * SIZE + x] == EMPTY;
    }

    // What a stone of a colour on an empty point would make: per direction the length of its line
    // and how many ends stay open, weighed so that five beats an open four beats two threes...
    public function worth(point:Int, stone:Int):Float {
        var x = point % SIZE, y = Std.int(point / SIZE);
        var total = 0.0;
        for (d in DIRECTIONS) {
            var back = run(x, y, -d[0], -d[1], stone);
            var ahead = run(x, y, d[0], d[1], stone);
            var length = back + ahead + 1;
            var open = (openEnd(x - (back + 1) * d[0], y - (back + 1) * d[1]) ? 1 : 0)
                + (openEnd(x + (ahead + 1) * d[0], y + (ahead + 1) * d[1]) ? 1 : 0);
            total += if (length >= 5) 100000
                else if (open == 0) 0
                else switch (length) {
                    case 4: open == 2 ? 10000 : 1200;
                    case 3: open == 2 ? 1000 : 150;
                    case 2: open == 2 ? 100 : 20;
                    default: open == 2 ? 10 : 2;
                };
        }
        return total;
    }

    // Points next to a stone: the only ones worth weighing.
    function candidates():Array<Int> {
        var list = [];
        for (point in 0...SIZE * SIZE) {
            if (points[point] != EMPTY) continue;
            var x = point % SIZE, y = Std.int(point / SIZE);
            var near = false;
            for (dy in -2...3) for (dx in -2...3) {
                var nx = x + dx, ny = y + dy;
                if (nx >= 0 && nx < SIZE && ny >= 0 && ny < SIZE && points[ny * SIZE + nx] != EMPTY) near = true;
            }
            if (near) list.push(point);
        }
        if (list.length == 0) list.push(Std.int(SIZE / 2) * SIZE + Std.int(SIZE / 2));
        return list;
    }

    function score(point:Int, defence:Float):Float {
        return worth(point, WHITE) * 1.1 + worth(point, BLACK) * defence;
    }

    // The computer's move. Easy blocks less and picks among the better points at random; fair
    // takes the best point by attack and defence; strong also looks at your best answer to each
    // of its best points and avoids those that leave you a strong reply.
    public function choose(level:Int):Int {
        var list = candidates();
        var defence = level == 1 ? 0.5 : 1.0;
        list.sort(function(a, b) return score(b, defence) > score(a, defence) ? 1 : -1);
        if (level == 1) return list[Std.random(Std.int(Math.min(4, list.length)))];
        if (level == 2 || worth(list[0], WHITE) >= 100000) return list[0];
        var best = list[0];
        var bestValue = -1e12;
        for (i in 0...Std.int(Math.min(8, list.length))) {
            var point = list[i];
            points[point] = WHITE;
            var reply = 0.0;
            for (answer in candidates()) reply = Math.max(reply, worth(answer, BLACK) - worth(answer, WHITE) * 0.5);
            points[point] = EMPTY;
            var value = score(point, 1.0) - reply * 0.8;
            if (value > bestValue) {
                bestValue = value;
                best = point;
            }
        }
        return best;
    }
}
