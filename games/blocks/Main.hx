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

    // The seven pieces as cells (x, y) of their first turn, and their colours.
    static var PIECES:Array<Array<Int>> = [
        [0, 1, 1, 1, 2, 1, 3, 1], // I
        [1, 0, 2, 0, 1, 1, 2, 1], // O
        [1, 0, 0, 1, 1, 1, 2, 1], // T
        [1, 0, 2, 0, 0, 1, 1, 1], // S
        [0, 0, 1, 0, 1, 1, 2, 1], // Z
        [0, 0, 0, 1, 1, 1, 2, 1], // J
        [2, 0, 0, 1, 1, 1, 2, 1], // L
    ];
    static var COLOURS = [0x4DD0E1, 0xFFD54F, 0xBA68C8, 0x81C784, 0xE57373, 0x64B5F6, 0xFFB74D];
    static var LINE_POINTS = [0, 100, 300, 500, 800];

    var well:Array<Int> = []; // per cell the colour index + 1, 0 when empty
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
        label(20, 20, 26, 0xFFD54F, "BLOCKS");
        scoreText = label(20, 80, 16, 0xFFFFFF);
        linesText = label(20, 110, 16, 0xFFFFFF);
        levelText = label(20, 140, 16, 0xFFFFFF);
        bestText = label(20, 190, 16, 0xFFD54F);
        label(20, 270, 12, 0xB0BEC5, "Left / Right  move\nUp  turn\nDown  faster\nSpace  drop\nP  pause");
        label(400, 20, 16, 0xFFFFFF, "Next");
        addChild(board);
        addChild(preview);
        for (i in 0...COLUMNS * ROWS) well.push(0);
        next = Std.random(PIECES.length);
        updateTexts();
        draw();
        showMessage("BLOCKS", "Fill whole rows to clear them\nEnter or Space starts");
    }

    function level():Int {
        return 1 + Std.int(lines / 10);
    }

    function updateTexts() {
        scoreText.text = "Score  " + score;
        linesText.text = "Lines  " + lines;
        levelText.text = "Level  " + level();
        bestText.text = "Best  " + Progress.best();
    }

    // The cells of a piece in a turn, as (x, y) pairs: each quarter turn rotates about the centre
    // of its 4 x 4 box (2 x 2 for the square, which never changes).
    static function cells(kind:Int, turns:Int):Array<Int> {
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

    function fits(kind:Int, turns:Int, x:Int, y:Int):Bool {
        var c = cells(kind, turns);
        var i = 0;
        while (i < c.length) {
            var cx = x + c[i];
            var cy = y + c[i + 1];
            if (cx < 0 || cx >= COLUMNS || cy >= ROWS) return false;
            if (cy >= 0 && well[cy * COLUMNS + cx] != 0) return false;
            i += 2;
        }
        return true;
    }

    function start() {
        for (i in 0...well.length) well[i] = 0;
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
        next = Std.random(PIECES.length);
        turn = 0;
        px = 3;
        py = -1;
        fall = fallFrames();
        if (!fits(piece, turn, px, py)) {
            playing = false;
            var best = Progress.offerBest(score);
            updateTexts();
            showMessage("Game over", "Score " + score + (best ? "  -  a new best!" : "") + "\nEnter or Space plays again");
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
            if (paused) showMessage("Paused", "P goes on"); else hideMessage();
            return;
        }
        if (paused || clearing.length > 0) return;
        switch (keyCode) {
            case Keys.LEFT:
                if (fits(piece, turn, px - 1, py)) px--;
            case Keys.RIGHT:
                if (fits(piece, turn, px + 1, py)) px++;
            case Keys.UP:
                // Turn in place, or one column aside when a wall or a block is in the way.
                for (shift in [0, -1, 1, -2, 2]) {
                    if (fits(piece, turn + 1, px + shift, py)) {
                        turn++;
                        px += shift;
                        break;
                    }
                }
            case Keys.DOWN:
                if (fits(piece, turn, px, py + 1)) {
                    py++;
                    score += 1;
                    fall = fallFrames();
                } else {
                    land();
                }
            case Keys.SPACE:
                while (fits(piece, turn, px, py + 1)) {
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
        if (fits(piece, turn, px, py + 1)) py++; else land();
        draw();
    }

    function land() {
        var c = cells(piece, turn);
        var i = 0;
        while (i < c.length) {
            var y = py + c[i + 1];
            if (y >= 0) well[y * COLUMNS + px + c[i]] = piece + 1;
            i += 2;
        }
        clearing = [];
        for (row in 0...ROWS) {
            var full = true;
            for (column in 0...COLUMNS) if (well[row * COLUMNS + column] == 0) full = false;
            if (full) clearing.push(row);
        }
        if (clearing.length > 0) {
            clearFrames = 12;
            piece = -1;
        } else {
            spawn();
        }
    }

    function removeRows() {
        for (row in clearing) {
            var r = row;
            while (r > 0) {
                for (column in 0...COLUMNS) well[r * COLUMNS + column] = well[(r - 1) * COLUMNS + column];
                r--;
            }
            for (column in 0...COLUMNS) well[column] = 0;
        }
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
                var v = well[row * COLUMNS + column];
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
            while (fits(piece, turn, px, ghost + 1)) ghost++;
            var c = cells(piece, turn);
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
        var c = cells(next, 0);
        var i = 0;
        while (i < c.length) {
            drawCell(p, 410 + c[i] * CELL, 55 + c[i + 1] * CELL, COLOURS[next]);
            i += 2;
        }
    }
}
