import common.Button;
import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;

// Chinese chess against the computer. Red (the player, at the bottom) moves by clicking a piece
// and then one of the points marked for it; every rule of movement is kept, and a move that leaves
// one's own general in check, or facing the other general, is refused. Black answers with a
// capture when it has a good one, otherwise with a safe or random move. The game in play is kept,
// so it goes on at the next start; wins and losses are counted.
class Main extends Game {
    static inline var CELL = 36;
    static inline var X0 = 40;
    static inline var Y0 = 36;
    // The characters on the pieces, red's and black's, by kind.
    static var RED_NAMES = ["K" => "帥", "A" => "仕", "E" => "相", "H" => "馬", "R" => "車", "C" => "炮", "P" => "兵"];
    static var BLACK_NAMES = ["K" => "将", "A" => "士", "E" => "象", "H" => "马", "R" => "车", "C" => "炮", "P" => "卒"];

    var board:Array<String>;
    var history:Array<String> = [];
    var selected = -1;
    var targets:Array<Int> = [];
    var lastFrom = -1;
    var lastTo = -1;
    var redToMove = true;
    var over = false;
    var thinking = 0;
    var layer = new Sprite();
    var pieces = new Sprite();
    var status:TextField;
    var record:TextField;

    static function main() new Main();

    function new() {
        super();
        addChild(layer);
        addChild(pieces);
        drawBoard();
        label(390, 6, 22, 0xf0c060, "中国象棋");
        status = label(390, 44, 16, 0xffffff);
        record = label(390, 200, 13, 0xd0d0d0);
        label(390, 300, 12, 0xa0a0a0, "你执红棋先行：\n先点自己的棋子，\n再点绿色的落点");
        addChild(new Button(390, 130, 70, 28, "新局", 0x806030, newGame));
        addChild(new Button(470, 130, 70, 28, "悔棋", 0x806030, undo));
        stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) click());
        board = Position.read(Progress.get("board", ""));
        if (board == null) board = Position.START.split("");
        refresh();
    }

    function newGame():Void {
        board = Position.START.split("");
        history = [];
        redToMove = true;
        over = false;
        selected = -1;
        lastFrom = lastTo = -1;
        save();
        refresh();
    }

    // Takes back the player's last move and the answer to it.
    function undo():Void {
        if (history.length < 2 || !redToMove) return;
        history.pop();
        board = history.pop().split("");
        redToMove = true;
        over = false;
        selected = -1;
        lastFrom = lastTo = -1;
        save();
        refresh();
    }

    function save():Void {
        Progress.set("board", board.join(""));
    }

    override function keyDown(keyCode:Int, charCode:Int):Void {
        if (keyCode == Keys.A + 13) newGame(); // N
        if (keyCode == Keys.A + 20) undo(); // U
    }

    function click():Void {
        if (!redToMove || over) return;
        var c = Math.round((mouseX - X0) / CELL), r = Math.round((mouseY - Y0) / CELL);
        if (c < 0 || c > 8 || r < 0 || r > 9) return;
        var i = r * 9 + c;
        if (selected >= 0 && targets.indexOf(i) >= 0) {
            play(selected, i);
            selected = -1;
            if (!over) thinking = 20; // black answers after a short pause
        } else if (Position.isRed(board[i])) {
            selected = i;
            targets = Position.legalMoves(board, i);
        } else {
            selected = -1;
        }
        refresh();
    }

    function play(from:Int, to:Int):Void {
        history.push(board.join(""));
        board[to] = board[from];
        board[from] = ".";
        lastFrom = from;
        lastTo = to;
        redToMove = !redToMove;
        if (redToMove) save(); // a game is resumed with the player to move
        if (Position.allMoves(board, redToMove).length == 0) {
            over = true;
            var won = !redToMove;
            var key = won ? "wins" : "losses";
            var count:Dynamic = Progress.get(key, 0);
            Progress.set(key, (Std.isOfType(count, Int) ? count : 0) + 1);
            if (won) Progress.offerBest(Progress.get("wins", 0));
            Progress.set("board", "");
        }
    }

    override function tick():Void {
        if (thinking > 0 && --thinking == 0) {
            var move = Position.choose(board);
            if (move != null) play(move[0], move[1]);
            refresh();
        }
    }

    function drawBoard():Void {
        var g = layer.graphics;
        g.beginFill(0x3a2a1a);
        g.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        g.beginFill(0xe8c88a);
        g.drawRect(X0 - 26, Y0 - 26, CELL * 8 + 52, CELL * 9 + 52);
        g.endFill();
        g.lineStyle(2, 0x5a3a1a);
        g.drawRect(X0, Y0, CELL * 8, CELL * 9);
        g.lineStyle(1, 0x5a3a1a);
        for (r in 1...9) {
            g.moveTo(X0, Y0 + r * CELL);
            g.lineTo(X0 + 8 * CELL, Y0 + r * CELL);
        }
        for (c in 1...8) for (half in 0...2) {
            g.moveTo(X0 + c * CELL, Y0 + half * 5 * CELL);
            g.lineTo(X0 + c * CELL, Y0 + (half * 5 + 4) * CELL);
        }
        for (top in [0, 7]) {
            g.moveTo(X0 + 3 * CELL, Y0 + top * CELL);
            g.lineTo(X0 + 5 * CELL, Y0 + (top + 2) * CELL);
            g.moveTo(X0 + 5 * CELL, Y0 + top * CELL);
            g.lineTo(X0 + 3 * CELL, Y0 + (top + 2) * CELL);
        }
        g.lineStyle();
        label(X0 + 2 * CELL, Y0 + 4 * CELL + 7, 16, 0x5a3a1a, "楚  河", true);
        label(X0 + 6 * CELL, Y0 + 4 * CELL + 7, 16, 0x5a3a1a, "汉  界", true);
    }

    function refresh():Void {
        var g = pieces.graphics;
        g.clear();
        while (pieces.numChildren > 0) pieces.removeChildAt(0);
        for (i in [lastFrom, lastTo]) if (i >= 0) {
            g.lineStyle(2, 0x2080ff);
            g.drawRect(X0 + (i % 9) * CELL - 17, Y0 + Std.int(i / 9) * CELL - 17, 34, 34);
        }
        g.lineStyle();
        for (i in 0...90) {
            var p = board[i];
            if (p == ".") continue;
            var x = X0 + (i % 9) * CELL, y = Y0 + Std.int(i / 9) * CELL;
            g.lineStyle(2, i == selected ? 0x20c020 : 0x7a5a2a);
            g.beginFill(0xf8e8c0);
            g.drawCircle(x, y, 15);
            g.endFill();
            g.lineStyle(1, Position.isRed(p) ? 0xc02020 : 0x202020);
            g.drawCircle(x, y, 12);
            g.lineStyle();
            var t = label(x, y - 11, 15, Position.isRed(p) ? 0xc02020 : 0x202020, pieceName(p), true);
            removeChild(t);
            pieces.addChild(t);
        }
        if (selected >= 0) for (t in targets) {
            g.beginFill(0x20c020, 0.8);
            g.drawCircle(X0 + (t % 9) * CELL, Y0 + Std.int(t / 9) * CELL, 5);
            g.endFill();
        }
        var text = over ? (redToMove ? "黑方获胜。\n点“新局”再下一盘。" : "你赢了！\n点“新局”再下一盘。") : (redToMove ? "轮到你了（红方）"
            + (Position.inCheck(board, true) ? "\n将军！" : "") : "黑方思考中……");
        if (selected >= 0) text += "\n已选中" + pieceName(board[selected]);
        status.text = text;
        record.text = "胜：" + Progress.get("wins", 0) + "\n负：" + Progress.get("losses", 0) + "\n\nN：新局  U：悔棋";
    }

    static function pieceName(p:String):String {
        return (Position.isRed(p) ? RED_NAMES : BLACK_NAMES)[Position.kind(p)];
    }
}
