import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Graphics;
import flash.display.Shape;
import flash.events.MouseEvent;
import flash.text.TextField;

// Bubble shooter: aim with the mouse (or Left and Right) and click (or Space) to shoot. A bubble
// sticks where it touches; three or more of one colour together pop, and whatever then hangs on
// nothing falls. Every few shots without a pop the ceiling brings a new row; a bubble past the
// line at the bottom ends the game. Clear the field for the next level.
class Main extends Game {
    static inline var R = 16; // bubble radius
    static inline var COLUMNS = 15;
    static inline var ROWS = 12; // the last row is past the line
    static inline var LEFT = 30;
    static inline var TOP = 34;
    static inline var SHOOTER_X = 275;
    static inline var SHOOTER_Y = 375;
    static inline var SPEED = 14;
    static var ROW_HEIGHT = R * Math.sqrt(3);
    static var COLOURS = [0xE53935, 0x1E88E5, 0x43A047, 0xFDD835, 0x8E24AA, 0xFB8C00];

    var field = new Field(COLUMNS, ROWS);
    var grid:Array<Int>;
    var aim = 90.0; // degrees, 90 straight up
    var current = 0;
    var next = 0;
    var flying = false;
    var bx = 0.0;
    var by = 0.0;
    var vx = 0.0;
    var vy = 0.0;
    var misses = 0;
    var score = 0;
    var level = 1;
    var playing = false;
    var falling:Array<Array<Float>> = []; // x, y, speed, colour of popped and dropped bubbles
    var bubbles = new Shape();
    var scoreText:TextField;
    var levelText:TextField;
    var bestText:TextField;
    var shotsText:TextField;

    static function main() {
        new Main();
    }

    public function new() {
        super();
        graphics.beginFill(0x102040);
        graphics.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        graphics.endFill();
        graphics.beginFill(0x1A3060);
        graphics.drawRect(LEFT, TOP, playWidth(), Game.HEIGHT - TOP);
        graphics.endFill();
        graphics.lineStyle(2, 0xFF5252, 0.6);
        graphics.moveTo(LEFT, lineY());
        graphics.lineTo(LEFT + playWidth(), lineY());
        addChild(bubbles);
        label(10, 6, 18, 0x80D8FF, "泡泡龙");
        scoreText = label(130, 8, 15, 0xFFFFFF);
        levelText = label(250, 8, 15, 0xFFFFFF);
        shotsText = label(335, 8, 13, 0xB0BEC5);
        bestText = label(440, 8, 15, 0xFFD54F);
        grid = field.places;
        newLevel();
        flash.Lib.current.stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) fire());
        showMessage("泡泡龙", "用鼠标或 ← → 瞄准\n点击或按空格键发射\n三个同色泡泡相连就会消除\n点击开始");
    }

    static function playWidth():Float {
        return COLUMNS * 2 * R + R;
    }

    static function lineY():Float {
        return TOP + R + (ROWS - 1.5) * ROW_HEIGHT;
    }

    function placeX(place:Int):Float {
        var row = Std.int(place / COLUMNS);
        return LEFT + R + (place % COLUMNS) * 2 * R + (field.setIn(row) ? R : 0);
    }

    function placeY(place:Int):Float {
        return TOP + R + Std.int(place / COLUMNS) * ROW_HEIGHT;
    }

    function newLevel() {
        field.clear();
        var rows = Std.int(Math.min(4 + level, 8));
        for (i in 0...rows * COLUMNS) grid[i] = Std.random(colourCount()) + 1;
        misses = 0;
        current = pick();
        next = pick();
        updateTexts();
        draw();
    }

    function colourCount():Int {
        return Std.int(Math.min(3 + level, COLOURS.length));
    }

    // A colour still on the field, so every shot can help.
    function pick():Int {
        var present = [];
        for (v in grid) if (v != 0 && present.indexOf(v - 1) < 0) present.push(v - 1);
        return present.length == 0 ? Std.random(colourCount()) : present[Std.random(present.length)];
    }

    function updateTexts() {
        scoreText.text = "得分 " + score;
        levelText.text = "第 " + level + " 关";
        shotsText.text = (shotsPerRow() - misses) + " 发后加一行";
        bestText.text = "最高分 " + Progress.best();
    }

    function shotsPerRow():Int {
        return Std.int(Math.max(3, 8 - level));
    }

    function start() {
        score = 0;
        level = 1;
        playing = true;
        hideMessage();
        newLevel();
    }

    override function keyDown(keyCode:Int, charCode:Int) {
        if (keyCode == Keys.SPACE || keyCode == Keys.ENTER) fire();
        else if (keyCode == Keys.LEFT) aim = Math.min(170, aim + 3);
        else if (keyCode == Keys.RIGHT) aim = Math.max(10, aim - 3);
    }

    function fire() {
        if (!playing) {
            if (resume) {
                resume = false;
                playing = true;
                hideMessage();
            } else {
                start();
            }
            return;
        }
        if (flying) return;
        flying = true;
        bx = SHOOTER_X;
        by = SHOOTER_Y;
        var radians = aim * Math.PI / 180;
        vx = Math.cos(radians) * SPEED;
        vy = -Math.sin(radians) * SPEED;
    }

    override function tick() {
        // The mouse aims while it is over the field above the shooter.
        if (playing && mouseY < SHOOTER_Y - 5 && (mouseX != lastMouseX || mouseY != lastMouseY)) {
            aim = Math.atan2(SHOOTER_Y - mouseY, mouseX - SHOOTER_X) * 180 / Math.PI;
            aim = Math.max(10, Math.min(170, aim));
        }
        lastMouseX = mouseX;
        lastMouseY = mouseY;
        if (flying) {
            // Small steps, so the bubble never passes through another.
            for (step in 0...4) {
                bx += vx / 4;
                by += vy / 4;
                if (bx < LEFT + R) {
                    bx = LEFT + R;
                    vx = -vx;
                }
                if (bx > LEFT + playWidth() - R) {
                    bx = LEFT + playWidth() - R;
                    vx = -vx;
                }
                if (by <= TOP + R || touches()) {
                    stick();
                    break;
                }
            }
        }
        for (bubble in falling.copy()) {
            bubble[2] += 0.6;
            bubble[1] += bubble[2];
            if (bubble[1] > Game.HEIGHT + R) falling.remove(bubble);
        }
        draw();
    }

    var lastMouseX = 0.0;
    var lastMouseY = 0.0;

    function touches():Bool {
        for (place in 0...grid.length)
            if (grid[place] != 0) {
                var dx = placeX(place) - bx, dy = placeY(place) - by;
                if (dx * dx + dy * dy < (2 * R - 4) * (2 * R - 4)) return true;
            }
        return false;
    }

    // Puts the flying bubble on the nearest empty place, then pops and drops.
    function stick() {
        flying = false;
        var nearest = -1;
        var distance = 1e9;
        for (place in 0...grid.length) {
            if (grid[place] != 0) continue;
            var dx = placeX(place) - bx, dy = placeY(place) - by;
            if (dx * dx + dy * dy < distance) {
                distance = dx * dx + dy * dy;
                nearest = place;
            }
        }
        grid[nearest] = current + 1;
        var group = field.connected(nearest, true);
        if (group.length >= 3) {
            for (place in group) drop(place);
            score += group.length * 10;
            var loose = field.floating();
            for (place in loose) drop(place);
            score += loose.length * 20 * (loose.length > 5 ? 2 : 1);
        } else if (++misses >= shotsPerRow()) {
            misses = 0;
            field.addRow(colourCount());
        }
        current = next;
        next = pick();
        updateTexts();
        if (field.empty()) {
            score += 500 * level;
            level++;
            Progress.offerBest(score);
            newLevel();
            showMessage("过关！", "下一关：第 " + level + " 关\n点击继续");
            playing = false;
            resume = true;
        } else if (field.overLine()) {
            playing = false;
            var best = Progress.offerBest(score);
            updateTexts();
            showMessage("游戏结束", "得分 " + score + (best ? "，创造新纪录！" : "") + "\n点击再玩一次");
        }
    }

    var resume = false; // the next click goes on at the new level instead of starting over

    function drop(place:Int) {
        falling.push([placeX(place), placeY(place), -2 - Math.random() * 2, grid[place] - 1]);
        grid[place] = 0;
    }

    static function bubble(g:Graphics, x:Float, y:Float, colour:Int) {
        g.beginFill(colour);
        g.drawCircle(x, y, R - 1);
        g.endFill();
        g.beginFill(0xFFFFFF, 0.45);
        g.drawCircle(x - R * 0.35, y - R * 0.35, R * 0.3);
        g.endFill();
    }

    function draw() {
        var g = bubbles.graphics;
        g.clear();
        for (place in 0...grid.length) if (grid[place] != 0) bubble(g, placeX(place), placeY(place), COLOURS[grid[place] - 1]);
        for (b in falling) bubble(g, b[0], b[1], COLOURS[Std.int(b[3])]);
        // The aiming line, dotted, and the shooter with its bubble and the next one.
        var radians = aim * Math.PI / 180;
        g.beginFill(0xFFFFFF, 0.5);
        for (i in 2...12) g.drawCircle(SHOOTER_X + Math.cos(radians) * i * 16, SHOOTER_Y - Math.sin(radians) * i * 16, 3);
        g.endFill();
        g.beginFill(0x546E7A);
        g.drawCircle(SHOOTER_X, SHOOTER_Y + 6, R + 8);
        g.endFill();
        if (flying) bubble(g, bx, by, COLOURS[current]);
        else bubble(g, SHOOTER_X, SHOOTER_Y, COLOURS[current]);
        bubble(g, SHOOTER_X + 70, SHOOTER_Y + 8, COLOURS[next]);
    }
}
