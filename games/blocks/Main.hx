import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Shape;
import flash.text.TextField;

// Falling blocks: left and right move the piece, up turns it, down drops it faster, space drops
// it at once. A full row clears; every ten rows the level rises and the pieces fall faster.
class Main extends Game {
    static inline var COLUMNS = 10;
    static inline var ROWS = 20;
    static inline var CELL = 18;
    static inline var LEFT = 185;
    static inline var TOP = 20;

    static var COLOURS = [0x4DD0E1, 0xFFD54F, 0xBA68C8, 0x81C784, 0xE57373, 0x64B5F6, 0xFFB74D];
    static var LINE_POINTS = [0, 100, 300, 500, 800];

    var well = new Well(COLUMNS, ROWS);
    var piece = 0;
    var turn = 0;
    var px = 0;
    var py = 0;
    var next = 0;
    var score = 0;
    var lines = 0;
    var fall = 0; // frames until the piece falls a row
    var clearing:Array<Int> = []; // full rows flashing before they go
    var clearFrames = 0;
    var playing = false;
    var paused = false;

    var board = new Shape();
    var preview = new Shape();
    var scoreText:TextField;
    var linesText:TextField;
    var levelText:TextField;
    var bestText:TextField;

    static function main() {
        new Main();
    }

    public function new() {
        super();
        graphics.beginFill(0x263238);
        graphics.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        graphics.endFill();
        graphics.beginFill(0x101820);
        graphics.drawRect(LEFT - 4, TOP - 4, COLUMNS * CELL + 8, ROWS * CELL + 8);
        graphics.endFill();
        label(20, 20, 26, 0xFFD54F, "俄罗斯方块");
        scoreText = label(20, 80, 16, 0xFFFFFF);
        linesText = label(20, 110, 16, 0xFFFFFF);
        levelText = label(20, 140, 16, 0xFFFFFF);
        bestText = label(20, 190, 16, 0xFFD54F);
        label(20, 270, 12, 0xB0BEC5, "左右方向键  移动\n上方向键  旋转\n下方向键  加速下落\n空格键  直接落底\nP 键  暂停");
        label(400, 20, 16, 0xFFFFFF, "下一个");
        addChild(board);
        addChild(preview);
        next = Std.random(Well.PIECES.length);
        updateTexts();
        draw();
        showMessage("俄罗斯方块", "排满一整行即可消除\n按 Enter 或空格键开始");
    }

    function level():Int {
        return 1 + Std.int(lines / 10);
    }

    function updateTexts() {
        scoreText.text = "得分  " + score;
        linesText.text = "消除行数  " + lines;
        levelText.text = "等级  " + level();
        bestText.text = "最高分  " + Progress.best();
    }

    function start() {
        well.clear();
        score = 0;
        lines = 0;
        clearing = [];
        playing = true;
        paused = false;
        hideMessage();
        spawn();
        updateTexts();
    }

    function spawn() {
        piece = next;
        next = Std.random(Well.PIECES.length);
        turn = 0;
        px = 3;
        py = -1;
        fall = fallFrames();
        if (!well.fits(piece, turn, px, py)) {
            playing = false;
            var best = Progress.offerBest(score);
            updateTexts();
            showMessage("游戏结束", "得分 " + score + (best ? "，创造新纪录！" : "") + "\n按 Enter 或空格键再玩一次");
        }
        draw();
    }

    function fallFrames():Int {
        return Std.int(Math.max(2, 32 - level() * 3));
    }

    override function keyDown(keyCode:Int, charCode:Int) {
        if (!playing) {
            if (keyCode == Keys.ENTER || keyCode == Keys.SPACE) start();
            return;
        }
        if (keyCode == 80) { // P
            paused = !paused;
            if (paused) showMessage("暂停", "按 P 继续"); else hideMessage();
            return;
        }
        if (paused || clearing.length > 0) return;
        switch (keyCode) {
            case Keys.LEFT:
                if (well.fits(piece, turn, px - 1, py)) px--;
            case Keys.RIGHT:
                if (well.fits(piece, turn, px + 1, py)) px++;
            case Keys.UP:
                // Turn in place, or one column aside when a wall or a block is in the way.
                for (shift in [0, -1, 1, -2, 2]) {
                    if (well.fits(piece, turn + 1, px + shift, py)) {
                        turn++;
                        px += shift;
                        break;
                    }
                }
            case Keys.DOWN:
                if (well.fits(piece, turn, px, py + 1)) {
                    py++;
                    score += 1;
                    fall = fallFrames();
                } else {
                    land();
                }
            case Keys.SPACE:
                while (well.fits(piece, turn, px, py + 1)) {
                    py++;
                    score += 2;
                }
                land();
            default:
        }
        updateTexts();
        draw();
    }

    override function tick() {
        if (!playing || paused) return;
        if (clearing.length > 0) {
            if (--clearFrames <= 0) removeRows();
            draw();
            return;
        }
        if (--fall > 0) return;
        fall = fallFrames();
        if (well.fits(piece, turn, px, py + 1)) py++; else land();
        draw();
    }

    function land() {
        clearing = well.lock(piece, turn, px, py);
        if (clearing.length > 0) {
            clearFrames = 12;
            piece = -1;
        } else {
            spawn();
        }
    }

    function removeRows() {
        well.remove(clearing);
        score += LINE_POINTS[clearing.length] * level();
        lines += clearing.length;
        clearing = [];
        updateTexts();
        spawn();
    }

    function drawCell(g:flash.display.Graphics, x:Float, y:Float, colour:Int, alpha:Float = 1) {
        g.beginFill(colour, alpha);
        g.drawRect(x + 1, y + 1, CELL - 2, CELL - 2);
        g.endFill();
        g.beginFill(0xFFFFFF, 0.3 * alpha);
        g.drawRect(x + 1, y + 1, CELL - 2, 3);
        g.endFill();
    }

    function draw() {
        var g = board.graphics;
        g.clear();
        var blink = clearFrames % 4 < 2;
        for (row in 0...ROWS) {
            var lit = clearing.indexOf(row) >= 0;
            for (column in 0...COLUMNS) {
                var x = LEFT + column * CELL;
                var y = TOP + row * CELL;
                var v = well.cells[row * COLUMNS + column];
                if (lit) drawCell(g, x, y, blink ? 0xFFFFFF : COLOURS[v - 1]);
                else if (v != 0) drawCell(g, x, y, COLOURS[v - 1]);
                else {
                    g.beginFill(0x18242C);
                    g.drawRect(x + 1, y + 1, CELL - 2, CELL - 2);
                    g.endFill();
                }
            }
        }
        if (playing && piece >= 0) {
            // Where the piece would land, faint, then the piece itself.
            var ghost = py;
            while (well.fits(piece, turn, px, ghost + 1)) ghost++;
            var c = Well.shape(piece, turn);
            for (pass in 0...2) {
                var y0 = pass == 0 ? ghost : py;
                var i = 0;
                while (i < c.length) {
                    var y = y0 + c[i + 1];
                    if (y >= 0) drawCell(g, LEFT + (px + c[i]) * CELL, TOP + y * CELL, COLOURS[piece], pass == 0 ? 0.25 : 1);
                    i += 2;
                }
            }
        }
        var p = preview.graphics;
        p.clear();
        var c = Well.shape(next, 0);
        var i = 0;
        while (i < c.length) {
            drawCell(p, 410 + c[i] * CELL, 55 + c[i + 1] * CELL, COLOURS[next]);
            i += 2;
        }
    }
}
