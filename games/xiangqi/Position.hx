// The rules of Chinese chess on a board of 90 points, row by row from black's side: a piece is a
// letter, upper case red, lower case black (K king, A advisor, E elephant, H horse, R chariot,
// C cannon, P pawn), "." an empty point.
class Position {
    public static var START = "rheakaehr" + "........." + ".c.....c." + "p.p.p.p.p" + "........." + "........." + "P.P.P.P.P" + ".C.....C."
        + "........." + "RHEAKAEHR";
    public static var VALUES = ["K" => 1000, "A" => 20, "E" => 20, "H" => 40, "R" => 90, "C" => 45, "P" => 10];

    // The board of a kept game, or null when the text is not one: 90 points of known pieces with
    // both kings.
    public static function read(text:Dynamic):Array<String> {
        if (!Std.isOfType(text, String) || (text : String).length != 90) return null;
        var board = (text : String).split("");
        for (p in board) if (p != "." && !VALUES.exists(kind(p))) return null;
        return board.indexOf("K") >= 0 && board.indexOf("k") >= 0 ? board : null;
    }

    public static function isRed(p:String):Bool {
        return p != "." && p == p.toUpperCase();
    }

    public static function kind(p:String):String {
        return p.toUpperCase();
    }

    // Black's choice: the best of capture value, minus what the piece risks where it lands, plus
    // a little chance so that games differ.
    public static function choose(board:Array<String>):Array<Int> {
        var best:Array<Int> = null;
        var bestScore = -1e9;
        for (m in allMoves(board, false)) {
            var after = board.copy();
            var taken = after[m[1]];
            after[m[1]] = after[m[0]];
            after[m[0]] = ".";
            var score:Float = taken == "." ? 0 : VALUES[kind(taken)];
            if (attacked(after, m[1], true)) score -= VALUES[kind(board[m[0]])] * 0.9;
            if (inCheck(after, true)) score += 15;
            score += Math.random() * 6;
            if (score > bestScore) {
                bestScore = score;
                best = m;
            }
        }
        return best;
    }

    public static function allMoves(b:Array<String>, red:Bool):Array<Array<Int>> {
        var list = [];
        for (i in 0...90) if (b[i] != "." && isRed(b[i]) == red) for (t in legalMoves(b, i)) list.push([i, t]);
        return list;
    }

    public static function legalMoves(b:Array<String>, from:Int):Array<Int> {
        var red = isRed(b[from]);
        return pseudoMoves(b, from).filter(function(to) {
            var after = b.copy();
            after[to] = after[from];
            after[from] = ".";
            return !inCheck(after, red);
        });
    }

    // Whether the general of that side is attacked, or faces the other general on an open file.
    public static function inCheck(b:Array<String>, red:Bool):Bool {
        var king = b.indexOf(red ? "K" : "k");
        var other = b.indexOf(red ? "k" : "K");
        if (king < 0) return true;
        if (other >= 0 && king % 9 == other % 9) {
            var open = true;
            var step = king < other ? 9 : -9;
            var i = king + step;
            while (i != other) {
                if (b[i] != ".") open = false;
                i += step;
            }
            if (open) return true;
        }
        return attacked(b, king, !red);
    }

    public static function attacked(b:Array<String>, square:Int, byRed:Bool):Bool {
        for (i in 0...90) if (b[i] != "." && isRed(b[i]) == byRed && pseudoMoves(b, i).indexOf(square) >= 0) return true;
        return false;
    }

    static function pseudoMoves(b:Array<String>, from:Int):Array<Int> {
        var p = b[from];
        var red = isRed(p);
        var c = from % 9, r = Std.int(from / 9);
        var out = [];
        function at(cc:Int, rr:Int):String return cc < 0 || cc > 8 || rr < 0 || rr > 9 ? null : b[rr * 9 + cc];
        function add(cc:Int, rr:Int):Void {
            var t = at(cc, rr);
            if (t != null && (t == "." || isRed(t) != red)) out.push(rr * 9 + cc);
        }
        function inPalace(cc:Int, rr:Int):Bool return cc >= 3 && cc <= 5 && (red ? rr >= 7 : rr <= 2);
        var straight = [[1, 0], [-1, 0], [0, 1], [0, -1]];
        switch (kind(p)) {
            case "K":
                for (d in straight) if (inPalace(c + d[0], r + d[1])) add(c + d[0], r + d[1]);
            case "A":
                for (d in [[1, 1], [1, -1], [-1, 1], [-1, -1]]) if (inPalace(c + d[0], r + d[1])) add(c + d[0], r + d[1]);
            case "E":
                for (d in [[2, 2], [2, -2], [-2, 2], [-2, -2]]) {
                    var rr = r + d[1];
                    if ((red && rr < 5) || (!red && rr > 4)) continue; // elephants stay home
                    if (at(c + (d[0] >> 1), r + (d[1] >> 1)) == ".") add(c + d[0], rr);
                }
            case "H":
                for (d in straight) {
                    if (at(c + d[0], r + d[1]) != ".") continue; // the leg is blocked
                    if (d[0] == 0) {
                        add(c + 1, r + 2 * d[1]);
                        add(c - 1, r + 2 * d[1]);
                    } else {
                        add(c + 2 * d[0], r + 1);
                        add(c + 2 * d[0], r - 1);
                    }
                }
            case "R" | "C":
                var cannon = kind(p) == "C";
                for (d in straight) {
                    var cc = c + d[0], rr = r + d[1];
                    var jumped = false;
                    while (at(cc, rr) != null) {
                        var t = at(cc, rr);
                        if (!jumped) {
                            if (t == ".") out.push(rr * 9 + cc) else if (cannon) jumped = true else {
                                if (isRed(t) != red) out.push(rr * 9 + cc);
                                break;
                            }
                        } else if (t != ".") {
                            if (isRed(t) != red) out.push(rr * 9 + cc); // a cannon takes over one screen
                            break;
                        }
                        cc += d[0];
                        rr += d[1];
                    }
                }
            case "P":
                var forward = red ? -1 : 1;
                add(c, r + forward);
                var crossed = red ? r <= 4 : r >= 5;
                if (crossed) {
                    add(c + 1, r);
                    add(c - 1, r);
                }
        }
        return out;
    }
}
