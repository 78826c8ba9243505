import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Shape;
import flash.events.MouseEvent;
import flash.text.TextField;
import flash.text.TextFormat;
import flash.text.TextFormatAlign;

// Sudoku: click a cell (or move with the arrow keys) and type 1 to 9; 0, Backspace or Delete
// clears it. A digit that repeats in its row, column or box shows red. Six puzzles from easy to
// hard; N goes to the next, H fills the chosen cell (adding
// half a minute to the time). What you have filled in is kept, so a puzzle
// goes on where you left it, and every solved puzzle keeps its best time.
class Main extends Game {
    static inline var CELL = 40;
    static inline var LEFT = 20;
    static inline var TOP = 20;

    static var NAMES = ["简单", "简单", "中等", "中等", "困难", "困难"];

    var puzzle = 0;
    var given:Array<Int> = [];
    var cells:Array<Int> = [];
    var solution:Array<Int> = [];
    var selected = 40;
    var frames = 0; // time spent on this puzzle, in frames
    var solved = false;
    var numbers:Array<TextField> = [];
    var marks = new Shape();
    var titleText:TextField;
    var timeText:TextField;
    var recordText:TextField;

    static function main() {
        new Main();
    }

    public function new() {
        super();
        graphics.beginFill(0xECEFF1);
        graphics.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        graphics.endFill();
        addChild(marks);
        drawGrid();
        var format = new TextFormat("_sans", 24, 0x263238, true, null, null, null, null, TextFormatAlign.CENTER);
        for (i in 0...81) {
            var field = new TextField();
            field.defaultTextFormat = format;
            field.selectable = false;
            field.mouseEnabled = false;
            field.width = CELL;
            field.height = CELL;
            field.x = LEFT + i % 9 * CELL;
            field.y = TOP + Std.int(i / 9) * CELL + 4;
            addChild(field);
            numbers.push(field);
        }
        label(400, 20, 26, 0x37474F, "数独挑战");
        titleText = label(400, 62, 15, 0x37474F);
        timeText = label(400, 90, 15, 0x37474F);
        recordText = label(400, 130, 14, 0x37474F);
        label(400, 270, 12, 0x607D8B, "点击格子，输入 1-9\n方向键移动\n0 / Backspace 清除\nH  填出本格（加 30 秒）\nN  下一题\nR  重新开始");
        open(Progress.get("puzzle", 0));
        flash.Lib.current.stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) click());
    }

    // The white board under the cell marks, the lines over them.
    function drawGrid() {
        graphics.beginFill(0xFFFFFF);
        graphics.drawRect(LEFT, TOP, 9 * CELL, 9 * CELL);
        graphics.endFill();
        var lines = new Shape();
        addChild(lines);
        var g = lines.graphics;
        for (i in 0...10) {
            g.lineStyle(i % 3 == 0 ? 3 : 1, i % 3 == 0 ? 0x37474F : 0xB0BEC5);
            g.moveTo(LEFT, TOP + i * CELL);
            g.lineTo(LEFT + 9 * CELL, TOP + i * CELL);
            g.moveTo(LEFT + i * CELL, TOP);
            g.lineTo(LEFT + i * CELL, TOP + 9 * CELL);
        }
        g.lineStyle();
    }

    // Opens a puzzle with what was filled into it before.
    function open(index:Int) {
        puzzle = index % Grid.PUZZLES.length;
        Progress.set("puzzle", puzzle);
        given = Grid.parse(Grid.PUZZLES[puzzle]);
        cells = given.copy();
        var saved:String = Progress.get("cells" + puzzle, "");
        if (saved.length == 81)
            for (i in 0...81) if (given[i] == 0) cells[i] = Std.parseInt(saved.charAt(i));
        frames = Std.int(Progress.get("time" + puzzle, 0)) * 30;
        solution = given.copy();
        Grid.solve(solution);
        solved = isSolved();
        hideMessage();
        update();
    }

    function save() {
        Progress.set("cells" + puzzle, cells.join(""));
        Progress.set("time" + puzzle, Std.int(frames / 30));
    }

    function isSolved():Bool {
        return Grid.complete(cells);
    }

    function click() {
        var column = Math.floor((mouseX - LEFT) / CELL);
        var row = Math.floor((mouseY - TOP) / CELL);
        if (column >= 0 && column < 9 && row >= 0 && row < 9) {
            selected = row * 9 + column;
            update();
        }
    }

    override function keyDown(keyCode:Int, charCode:Int) {
        var row = Std.int(selected / 9), column = selected % 9;
        switch (keyCode) {
            case Keys.LEFT: column = (column + 8) % 9;
            case Keys.RIGHT: column = (column + 1) % 9;
            case Keys.UP: row = (row + 8) % 9;
            case Keys.DOWN: row = (row + 1) % 9;
            case 78: // N
                open(puzzle + 1);
                return;
            case 82: // R
                Progress.set("cells" + puzzle, "");
                Progress.set("time" + puzzle, 0);
                open(puzzle);
                return;
            case 72: // H: a filled cell costs half a minute
                if (!solved && given[selected] == 0 && cells[selected] != solution[selected]) {
                    frames += 30 * 30;
                    enter(solution[selected]);
                }
            case Keys.BACKSPACE | Keys.DELETE:
                enter(0);
            default:
                var digit = Keys.digit(keyCode);
                if (digit >= 0) enter(digit);
        }
        selected = row * 9 + column;
        update();
    }

    function enter(digit:Int) {
        if (solved || given[selected] != 0) return;
        cells[selected] = digit;
        save();
        if (isSolved()) {
            solved = true;
            var seconds = Std.int(frames / 30);
            var bestTime:Int = Progress.get("best" + puzzle, 0);
            var record = bestTime == 0 || seconds < bestTime;
            if (record) Progress.set("best" + puzzle, seconds);
            Progress.offerBest(solvedCount());
            showMessage("完成！", "第 " + (puzzle + 1) + " 题用时 " + clock(seconds) + (record ? "，创造最好成绩" : "")
                + "\n按 N 进入下一题");
        }
    }

    function solvedCount():Int {
        var count = 0;
        for (i in 0...Grid.PUZZLES.length) if (Progress.get("best" + i, 0) > 0) count++;
        return count;
    }

    static function clock(seconds:Int):String {
        var s = seconds % 60;
        return Std.int(seconds / 60) + ":" + (s < 10 ? "0" : "") + s;
    }

    override function tick() {
        if (solved) return;
        frames++;
        if (frames % 30 == 0) timeText.text = "用时 " + clock(Std.int(frames / 30));
        if (frames % 300 == 0) Progress.set("time" + puzzle, Std.int(frames / 30));
    }

    function update() {
        titleText.text = "第 " + (puzzle + 1) + " / " + Grid.PUZZLES.length + " 题（" + NAMES[puzzle] + "）";
        timeText.text = "用时 " + clock(Std.int(frames / 30));
        var bestTime:Int = Progress.get("best" + puzzle, 0);
        recordText.text = "已完成 " + solvedCount() + " / " + Grid.PUZZLES.length + " 题\n本题最好成绩 " + (bestTime > 0 ? clock(bestTime) : "-");
        var g = marks.graphics;
        g.clear();
        var row = Std.int(selected / 9), column = selected % 9;
        for (i in 0...81) {
            var r = Std.int(i / 9), c = i % 9;
            var sameDigit = cells[selected] != 0 && cells[i] == cells[selected];
            var colour = i == selected ? 0xFFE082 : (sameDigit ? 0xFFF3C4 : (r == row || c == column ? 0xE3F2FD : -1));
            if (colour >= 0) {
                g.beginFill(colour);
                g.drawRect(LEFT + c * CELL, TOP + r * CELL, CELL, CELL);
                g.endFill();
            }
            var field = numbers[i];
            field.text = cells[i] == 0 ? "" : Std.string(cells[i]);
            var wrong = cells[i] != 0 && !Grid.allowed(cells, i, cells[i]);
            field.textColor = wrong ? 0xE53935 : (given[i] != 0 ? 0x263238 : 0x1E88E5);
        }
    }
}
