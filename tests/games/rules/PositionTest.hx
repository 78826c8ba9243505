import RulesTest.check;
import RulesTest.equal;

// Chinese chess: how every piece moves, check and facing kings, mate, kept games read back, and
// the computer taking what is offered.
class PositionTest {
    // A board with the given pieces, each "P@c,r" (column 0...8 from the left, row 0...9 from black's side).
    static function board(pieces:Array<String>):Array<String> {
        var b = [for (i in 0...90) "."];
        for (p in pieces) {
            var at = p.substr(2).split(",");
            b[Std.parseInt(at[1]) * 9 + Std.parseInt(at[0])] = p.charAt(0);
        }
        return b;
    }

    static function at(c:Int, r:Int):Int return r * 9 + c;

    static function sorted(list:Array<Int>):Array<Int> {
        list.sort((x, y) -> x - y);
        return list;
    }

    static function targets(b:Array<String>, c:Int, r:Int):Array<Int> {
        return sorted(Position.legalMoves(b, at(c, r)));
    }

    public static function run() {
        var start = Position.START.split("");
        equal(44, Position.allMoves(start, true).length, "red's moves at the start");
        equal(44, Position.allMoves(start, false).length, "black's moves at the start");

        // kings at the sides of their palaces, on different files, out of the way
        var kings = ["k@3,0", "K@5,9"];
        equal(sorted([at(0, 7), at(2, 7), at(3, 8)]), targets(board(kings.concat(["H@1,9"])), 1, 9), "horse from its corner");
        equal([at(3, 8)], targets(board(kings.concat(["H@1,9", "P@1,8"])), 1, 9), "horse with its forward leg blocked");
        equal(sorted([at(0, 7), at(4, 7)]), targets(board(kings.concat(["E@2,9"])), 2, 9), "elephant");
        equal([at(4, 7)], targets(board(kings.concat(["E@2,9", "P@1,8"])), 2, 9), "elephant with one eye blocked");
        equal(sorted([at(0, 7), at(4, 7)]), targets(board(kings.concat(["E@2,5"])), 2, 5), "elephant does not cross the river");
        equal([at(4, 8)], targets(board(kings.concat(["A@3,9"])), 3, 9), "advisor keeps to the palace");
        equal(sorted([at(5, 8), at(4, 9)]), targets(board(kings), 5, 9), "king steps along the lines inside the palace");
        equal([at(4, 5)], targets(board(kings.concat(["P@4,6"])), 4, 6), "pawn before the river: forward only");
        equal(sorted([at(4, 3), at(3, 4), at(5, 4)]), targets(board(kings.concat(["P@4,4"])), 4, 4), "pawn over the river: also sideways");
        equal([at(1, 0)], targets(board(kings.concat(["P@0,0"])), 0, 0), "pawn on the last row: sideways only");

        // the cannon slides like the chariot but takes only over one piece
        var moves = targets(board(kings.concat(["C@1,7", "p@1,5", "r@1,2", "h@1,1"])), 1, 7);
        check(moves.indexOf(at(1, 6)) >= 0, "cannon slides to an empty point");
        check(moves.indexOf(at(1, 5)) < 0, "cannon does not take next to it");
        check(moves.indexOf(at(1, 2)) >= 0, "cannon takes over one screen");
        check(moves.indexOf(at(1, 1)) < 0, "cannon does not take over two");
        check(moves.indexOf(at(1, 3)) < 0, "cannon does not slide past its screen");
        var chariot = targets(board(kings.concat(["R@1,7", "p@1,5"])), 1, 7);
        check(chariot.indexOf(at(1, 5)) >= 0 && chariot.indexOf(at(1, 4)) < 0, "chariot takes the first piece and stops");

        // moves into check, and the kings facing each other on an open file
        var pinned = board(["k@4,0", "K@3,9", "R@4,5", "r@4,2"]);
        check(!Position.inCheck(pinned, false), "the red chariot is screened by the black one");
        equal([], Position.legalMoves(pinned, at(4, 2)).filter(t -> t % 9 != 4), "a pinned chariot stays on the file");
        var facing = board(["k@4,0", "K@4,9", "P@4,5"]);
        equal([], Position.legalMoves(facing, at(4, 5)).filter(t -> t % 9 != 4), "the piece between the kings cannot step aside");
        check(Position.inCheck(board(["k@4,0", "K@4,9"]), true), "facing kings count as check");

        // mate by two chariots on the back rows
        var mate = board(["k@4,0", "K@3,9", "R@0,0", "R@0,1"]);
        check(Position.inCheck(mate, false), "black is in check");
        equal(0, Position.allMoves(mate, false).length, "and has no move: mate");
        check(Position.allMoves(board(["k@4,0", "K@3,9", "R@0,0", "R@0,1", "a@3,1"]), false).length > 0, "an advisor can block");

        // kept games
        check(Position.read(Position.START) != null, "the start reads back");
        check(Position.read("") == null, "empty");
        check(Position.read(12) == null, "not a text");
        check(Position.read(Position.START.substr(1)) == null, "too short");
        check(Position.read("x" + Position.START.substr(1)) == null, "an unknown piece");
        check(Position.read(StringTools.replace(Position.START, "K", ".")) == null, "no red king");

        // the computer takes a chariot that is offered
        var offer = board(["k@3,0", "K@5,9", "r@0,0", "R@0,5", "P@8,6"]);
        equal([at(0, 0), at(0, 5)], Position.choose(offer), "black takes the free chariot");
    }
}
