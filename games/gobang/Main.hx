import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Shape;
import flash.events.MouseEvent;
import flash.text.TextField;

// Five in a row against the computer: you play black and move first by clicking a point of the
// board; whoever first has five stones in a line (across, down or slanting) wins. Keys 1 to 3 set
// how strong the computer plays, U takes back your last move, N starts a new game.
class Main extends Game {
    static inline var SIZE = Board.SIZE;
    static inline var GAP = 24;
    static inline var LEFT = 32;
    static inline var TOP = 32;
    static inline var EMPTY = Board.EMPTY;
    static inline var BLACK = Board.BLACK;
    static inline var WHITE = Board.WHITE;
    static inline var DRAW = "和棋";

    var rules = new Board();
    var board:Array<Int>;
    var moves:Array<Int> = [];
    var level = 2;
    var thinking = 0; // frames until the computer moves, 0 when it is your turn
    var over = true;
    var winLine:Array<Int> = [];
    var stones = new Shape();
    var cursor = new Shape();
    var statusText:TextField;
    var levelText:TextField;
    var recordText:TextField;

    static function main() {
        new Main();
    }

    public function new() {
        super();
        drawBoard();
        addChild(stones);
        addChild(cursor);
        label(410, 30, 26, 0x3E2723, "五子棋");
        statusText = label(410, 80, 15, 0x3E2723);
        levelText = label(410, 130, 15, 0x3E2723);
        recordText = label(410, 180, 15, 0x3E2723);
        label(410, 270, 12, 0x5D4037, "点击棋盘落子\n1 2 3  电脑棋力\nU  悔棋\nN  新的一局");
        board = rules.points;
        newGame();
        flash.Lib.current.stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) click());
    }

    function drawBoard() {
        var g = graphics;
        g.beginFill(0xE8C27A);
        g.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        g.endFill();
        g.beginFill(0xDDB068);
        g.drawRect(LEFT - 20, TOP - 20, (SIZE - 1) * GAP + 40, (SIZE - 1) * GAP + 40);
        g.endFill();
        g.lineStyle(1, 0x5D4037);
        for (i in 0...SIZE) {
            g.moveTo(LEFT, TOP + i * GAP);
            g.lineTo(LEFT + (SIZE - 1) * GAP, TOP + i * GAP);
            g.moveTo(LEFT + i * GAP, TOP);
            g.lineTo(LEFT + i * GAP, TOP + (SIZE - 1) * GAP);
        }
        g.lineStyle();
        g.beginFill(0x5D4037);
        for (p in [[3, 3], [11, 3], [7, 7], [3, 11], [11, 11]]) g.drawCircle(LEFT + p[0] * GAP, TOP + p[1] * GAP, 3.5);
        g.endFill();
    }

    function updateTexts() {
        levelText.text = "电脑：" + ["", "初级", "中级", "高级"][level];
        var wins:Int = Progress.get("wins", 0);
        var losses:Int = Progress.get("losses", 0);
        recordText.text = "胜 " + wins + " 局，负 " + losses + " 局\n最多连胜 " + Progress.best() + " 局";
    }

    function newGame() {
        for (i in 0...board.length) board[i] = EMPTY;
        moves = [];
        winLine = [];
        over = false;
        thinking = 0;
        statusText.text = "轮到你了（黑棋）";
        updateTexts();
        draw();
    }

    override function keyDown(keyCode:Int, charCode:Int) {
        var digit = Keys.digit(keyCode);
        if (digit >= 1 && digit <= 3) {
            level = digit;
            updateTexts();
        } else if (keyCode == 78 || (over && (keyCode == Keys.SPACE || keyCode == Keys.ENTER))) { // N
            newGame();
        } else if (keyCode == 85 && !over && thinking == 0 && moves.length >= 2) { // U
            for (i in 0...2) board[moves.pop()] = EMPTY;
            draw();
        }
    }

    function click() {
        if (over) {
            newGame();
            return;
        }
        if (thinking > 0) return;
        var x = Math.round((mouseX - LEFT) / GAP);
        var y = Math.round((mouseY - TOP) / GAP);
        if (x < 0 || x >= SIZE || y < 0 || y >= SIZE || board[y * SIZE + x] != EMPTY) return;
        place(y * SIZE + x, BLACK);
        if (!over) {
            thinking = 12;
            statusText.text = "电脑思考中……";
        }
    }

    override function tick() {
        // The cursor marks the point under the mouse on your turn.
        var g = cursor.graphics;
        g.clear();
        var x = Math.round((mouseX - LEFT) / GAP);
        var y = Math.round((mouseY - TOP) / GAP);
        if (!over && thinking == 0 && x >= 0 && x < SIZE && y >= 0 && y < SIZE && board[y * SIZE + x] == EMPTY) {
            g.beginFill(0x000000, 0.3);
            g.drawCircle(LEFT + x * GAP, TOP + y * GAP, 10);
            g.endFill();
        }
        if (thinking > 0 && --thinking == 0) {
            place(rules.choose(level), WHITE);
            if (!over) statusText.text = "轮到你了（黑棋）";
        }
    }

    function place(point:Int, stone:Int) {
        board[point] = stone;
        moves.push(point);
        draw();
        var line = rules.fiveThrough(point);
        if (line != null) {
            winLine = line;
            finish(stone == BLACK ? "你赢了！" : "电脑赢了", stone == BLACK);
            draw();
        } else if (moves.length == SIZE * SIZE) {
            finish(DRAW, false);
        }
    }

    function finish(text:String, won:Bool) {
        over = true;
        var streak:Int = Progress.get("streak", 0);
        if (won) {
            Progress.set("wins", Progress.get("wins", 0) + 1);
            streak++;
            Progress.offerBest(streak);
        } else if (text != DRAW) {
            Progress.set("losses", Progress.get("losses", 0) + 1);
            streak = 0;
        }
        Progress.set("streak", streak);
        statusText.text = text + "\n点击开始新的一局";
        updateTexts();
    }

    function draw() {
        var g = stones.graphics;
        g.clear();
        for (i in 0...moves.length) {
            var point = moves[i];
            var x = LEFT + point % SIZE * GAP, y = TOP + Std.int(point / SIZE) * GAP;
            var black = board[point] == BLACK;
            g.beginFill(0x000000, 0.25);
            g.drawCircle(x + 1.5, y + 2, 10.5);
            g.endFill();
            g.beginFill(black ? 0x212121 : 0xFAFAFA);
            g.drawCircle(x, y, 10.5);
            g.endFill();
            g.beginFill(0xFFFFFF, black ? 0.2 : 0.8);
            g.drawCircle(x - 3, y - 3, 3.5);
            g.endFill();
            if (i == moves.length - 1) { // the last move
                g.beginFill(0xE53935);
                g.drawCircle(x, y, 3);
                g.endFill();
            }
        }
        if (winLine.length == 2) {
            g.lineStyle(4, 0xE53935, 0.8);
            g.moveTo(LEFT + winLine[0] % SIZE * GAP, TOP + Std.int(winLine[0] / SIZE) * GAP);
            g.lineTo(LEFT + winLine[1] % SIZE * GAP, TOP + Std.int(winLine[1] / SIZE) * GAP);
            g.lineStyle();
        }
    }
}
