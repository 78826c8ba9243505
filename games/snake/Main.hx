import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Shape;
import flash.text.TextField;

// Snake: the arrow keys (or W A S D) steer, every fruit makes the snake longer and faster, a gold
// fruit that shows for a while is worth five; the wall or the snake's own body ends the round.
class Main extends Game {
    static inline var COLUMNS = 27;
    static inline var ROWS = 17;
    static inline var CELL = 20;
    static inline var LEFT = 5;
    static inline var TOP = 52;

    var board = new Shape();
    var scoreText:TextField;
    var bestText:TextField;
    var speedText:TextField;

    var body:Array<Int> = []; // cells, head first, as row * COLUMNS + column
    var dx = 1;
    var dy = 0;
    var turns:Array<Array<Int>> = []; // pressed but not yet taken, at most two
    var fruit = -1;
    var gold = -1;
    var goldLeft = 0; // steps until the gold fruit goes
    var score = 0;
    var wait = 0; // frames until the next step
    var playing = false;
    var paused = false;

    static function main() {
        new Main();
    }

    public function new() {
        super();
        graphics.beginFill(0x1B2A1B);
        graphics.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        graphics.endFill();
        label(12, 10, 22, 0x9CCC65, "贪吃蛇");
        scoreText = label(130, 14, 16, 0xFFFFFF);
        speedText = label(260, 14, 16, 0xFFFFFF);
        bestText = label(400, 14, 16, 0xFFD54F);
        addChild(board);
        reset();
        showMessage("贪吃蛇", "方向键或 W A S D 控制方向\n空格键开始和暂停");
    }

    function reset() {
        body = [];
        var middle = Std.int(ROWS / 2) * COLUMNS + 8;
        for (i in 0...4) body.push(middle - i);
        dx = 1;
        dy = 0;
        turns = [];
        score = 0;
        gold = -1;
        fruit = freeCell();
        updateTexts();
        draw();
    }

    function stepFrames():Int {
        return Std.int(Math.max(3, 9 - score / 6));
    }

    function updateTexts() {
        scoreText.text = "得分 " + score;
        speedText.text = "速度 " + (10 - stepFrames());
        bestText.text = "最高分 " + Progress.best();
    }

    function freeCell():Int {
        while (true) {
            var cell = Std.random(COLUMNS * ROWS);
            if (body.indexOf(cell) < 0 && cell != fruit && cell != gold) return cell;
        }
    }

    override function keyDown(keyCode:Int, charCode:Int) {
        if (keyCode == Keys.SPACE || keyCode == Keys.ENTER) {
            if (!playing) {
                reset();
                playing = true;
                paused = false;
                hideMessage();
            } else {
                paused = !paused;
                if (paused) showMessage("暂停", "按空格键继续"); else hideMessage();
            }
            return;
        }
        var turn = switch (keyCode) {
            case Keys.LEFT | 65: [-1, 0];
            case Keys.RIGHT | 68: [1, 0];
            case Keys.UP | 87: [0, -1];
            case Keys.DOWN | 83: [0, 1];
            default: null;
        }
        if (turn != null && playing && !paused && turns.length < 2) turns.push(turn);
    }

    override function tick() {
        if (!playing || paused) return;
        if (--wait > 0) return;
        wait = stepFrames();
        step();
    }

    function step() {
        while (turns.length > 0) {
            var turn = turns.shift();
            if (turn[0] != -dx || turn[1] != -dy) { // never straight back into the neck
                dx = turn[0];
                dy = turn[1];
                break;
            }
        }
        var head = body[0];
        var column = head % COLUMNS + dx;
        var row = Std.int(head / COLUMNS) + dy;
        var next = row * COLUMNS + column;
        // The tail moves away in this step, so the head may take its cell.
        var hitsBody = body.indexOf(next) >= 0 && next != body[body.length - 1];
        if (column < 0 || column >= COLUMNS || row < 0 || row >= ROWS || hitsBody) {
            gameOver();
            return;
        }
        body.unshift(next);
        if (next == fruit) {
            score += 1;
            fruit = freeCell();
            if (gold < 0 && Std.random(5) == 0) {
                gold = freeCell();
                goldLeft = 40;
            }
        } else if (next == gold) {
            score += 5;
            body.push(body[body.length - 1]);
            body.push(body[body.length - 1]);
            gold = -1;
        } else {
            body.pop();
        }
        if (gold >= 0 && --goldLeft <= 0) gold = -1;
        updateTexts();
        draw();
    }

    function gameOver() {
        playing = false;
        var best = Progress.offerBest(score);
        updateTexts();
        showMessage("游戏结束", "得分 " + score + (best ? "，创造新纪录！" : "") + "\n按空格键再玩一次");
    }

    function draw() {
        var g = board.graphics;
        g.clear();
        g.beginFill(0x2E3B2E);
        g.drawRect(LEFT, TOP, COLUMNS * CELL, ROWS * CELL);
        g.endFill();
        g.lineStyle(1, 0x354535);
        for (c in 1...COLUMNS) {
            g.moveTo(LEFT + c * CELL, TOP);
            g.lineTo(LEFT + c * CELL, TOP + ROWS * CELL);
        }
        for (r in 1...ROWS) {
            g.moveTo(LEFT, TOP + r * CELL);
            g.lineTo(LEFT + COLUMNS * CELL, TOP + r * CELL);
        }
        g.lineStyle();
        drawFruit(fruit, 0xE53935);
        if (gold >= 0 && (goldLeft > 10 || goldLeft % 2 == 0)) drawFruit(gold, 0xFFC107);
        for (i in 0...body.length) {
            var x = LEFT + body[i] % COLUMNS * CELL;
            var y = TOP + Std.int(body[i] / COLUMNS) * CELL;
            g.beginFill(i == 0 ? 0xC5E1A5 : (i % 2 == 0 ? 0x7CB342 : 0x689F38));
            g.drawRoundRect(x + 1, y + 1, CELL - 2, CELL - 2, 8, 8);
            g.endFill();
        }
        // Eyes look where the snake goes.
        var hx = LEFT + body[0] % COLUMNS * CELL + CELL / 2;
        var hy = TOP + Std.int(body[0] / COLUMNS) * CELL + CELL / 2;
        g.beginFill(0x1B2A1B);
        g.drawCircle(hx + dx * 4 - dy * 4, hy + dy * 4 - dx * 4, 2.5);
        g.drawCircle(hx + dx * 4 + dy * 4, hy + dy * 4 + dx * 4, 2.5);
        g.endFill();
    }

    function drawFruit(cell:Int, colour:Int) {
        var g = board.graphics;
        var x = LEFT + cell % COLUMNS * CELL + CELL / 2;
        var y = TOP + Std.int(cell / COLUMNS) * CELL + CELL / 2;
        g.beginFill(colour);
        g.drawCircle(x, y + 1, CELL / 2 - 2);
        g.endFill();
        g.beginFill(0x43A047);
        g.drawEllipse(x, y - CELL / 2 + 1, 6, 4);
        g.endFill();
    }
}
