import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Graphics;
import flash.display.Shape;
import flash.events.MouseEvent;
import flash.text.TextField;

// Pair matching: click two equal tiles that a line with at most two bends can join through empty
// places (also round the outside of the board) and both go. Clear the board before the time runs
// out; each board after that gives less time. H shows a pair (costs ten seconds), S shuffles.
class Main extends Game {
    static inline var COLUMNS = 12;
    static inline var ROWS = 7;
    static inline var TILE_W = 40;
    static inline var TILE_H = 44;
    static inline var LEFT = -5; // where column 0 of the padded grid starts, off the stage's edge
    static inline var TOP = 12;
    static inline var W = COLUMNS + 2; // the grid with an empty ring round the tiles
    static inline var H = ROWS + 2;
    static inline var KINDS = 14;

    static var COLOURS = [
        0xE53935, 0x1E88E5, 0x43A047, 0xFDD835, 0x8E24AA, 0xFB8C00, 0x00ACC1,
        0xD81B60, 0x6D4C41, 0x3949AB, 0x7CB342, 0x546E7A, 0xF4511E, 0x00897B
    ];

    var tiles = new Tiles(COLUMNS, ROWS);
    var selected = -1;
    var hint:Array<Int> = [];
    var path:Array<Int> = []; // the last joining line, shown for a moment
    var pathFrames = 0;
    var timeLeft = 0;
    var board = 1;
    var score = 0;
    var playing = false;
    var faces = new Shape();
    var overlay = new Shape();
    var scoreText:TextField;
    var timeText:TextField;
    var boardText:TextField;
    var bestText:TextField;

    static function main() {
        new Main();
    }

    public function new() {
        super();
        graphics.beginFill(0x1A237E);
        graphics.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        graphics.endFill();
        label(12, 4, 20, 0xFFEB3B, "连连看");
        boardText = label(120, 7, 15, 0xFFFFFF);
        scoreText = label(210, 7, 15, 0xFFFFFF);
        timeText = label(320, 7, 15, 0xFFFFFF);
        bestText = label(430, 7, 15, 0xFFEB3B);
        label(12, 382, 12, 0x9FA8DA, "H  提示（扣 10 秒）     S  重新洗牌");
        addChild(faces);
        addChild(overlay);
        deal();
        updateTexts();
        flash.Lib.current.stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) click(mouseX, mouseY));
        showMessage("连连看", "点击两个相同的图案，用不超过两个拐角的连线消去\n"
            + "在时间用完之前清空整个棋盘\n点击或按空格键开始");
    }

    function updateTexts() {
        boardText.text = "关卡 " + board;
        scoreText.text = "得分 " + score;
        timeText.text = "时间 " + Math.ceil(timeLeft / 30);
        bestText.text = "最高分 " + Progress.best();
    }

    // Every kind three times in pairs, in random places.
    function deal() {
        tiles.deal(KINDS);
        selected = -1;
        hint = [];
        timeLeft = Std.int(Math.max(60, 200 - (board - 1) * 20)) * 30;
        draw();
    }

    function shuffle() {
        tiles.shuffle();
        selected = -1;
        hint = [];
    }

    function start() {
        board = 1;
        score = 0;
        playing = true;
        hideMessage();
        deal();
        updateTexts();
    }

    override function keyDown(keyCode:Int, charCode:Int) {
        if (!playing) {
            if (keyCode == Keys.SPACE || keyCode == Keys.ENTER) start();
            return;
        }
        if (keyCode == 72) { // H
            var pair = tiles.findPair();
            if (pair != null) {
                hint = pair;
                timeLeft = Std.int(Math.max(1, timeLeft - 300));
            }
        } else if (keyCode == 83) { // S
            shuffle();
        }
        draw();
        updateTexts();
    }

    function click(mx:Float, my:Float) {
        if (!playing) {
            start();
            return;
        }
        var x = Math.floor((mx - LEFT) / TILE_W);
        var y = Math.floor((my - TOP) / TILE_H);
        if (x < 1 || x >= W - 1 || y < 1 || y >= H - 1) return;
        var place = y * W + x;
        if (tiles.places[place] == 0) return;
        if (selected < 0 || selected == place) {
            selected = selected == place ? -1 : place;
        } else if (tiles.places[selected] != tiles.places[place]) {
            selected = place;
        } else {
            var line = tiles.join(selected, place);
            if (line == null) {
                selected = place;
            } else {
                tiles.places[selected] = 0;
                tiles.places[place] = 0;
                path = line;
                pathFrames = 10;
                selected = -1;
                hint = [];
                score += 10;
                afterPair();
            }
        }
        draw();
        updateTexts();
    }

    function afterPair() {
        if (!tiles.empty()) {
            if (tiles.findPair() == null) shuffle();
            return;
        }
        // Cleared: the time left counts, and the next board gives less time.
        score += Std.int(timeLeft / 30) * 2;
        board++;
        Progress.offerBest(score);
        deal();
        showMessage("本关完成", "下一关：第 " + board + " 关\n马上开始");
        haxe.Timer.delay(hideMessage, 1500);
    }

    override function tick() {
        if (pathFrames > 0 && --pathFrames == 0) {
            path = [];
            draw();
        }
        if (!playing) return;
        timeLeft--;
        if (timeLeft % 30 == 0) updateTexts();
        if (timeLeft <= 0) {
            playing = false;
            var best = Progress.offerBest(score);
            updateTexts();
            showMessage("时间到", "得分 " + score + (best ? "，创造新纪录！" : "") + "\n点击或按空格键再玩一次");
        }
    }

    function centreX(place:Int):Float {
        return LEFT + (place % W) * TILE_W + TILE_W / 2;
    }

    function centreY(place:Int):Float {
        return TOP + Std.int(place / W) * TILE_H + TILE_H / 2;
    }

    function draw() {
        var g = faces.graphics;
        g.clear();
        for (place in 0...W * H) {
            var kind = tiles.places[place];
            if (kind == 0) continue;
            var x = LEFT + (place % W) * TILE_W;
            var y = TOP + Std.int(place / W) * TILE_H;
            var lit = place == selected || hint.indexOf(place) >= 0;
            g.beginFill(0x9E9E9E);
            g.drawRoundRect(x + 3, y + 4, TILE_W - 4, TILE_H - 4, 8, 8);
            g.endFill();
            g.beginFill(place == selected ? 0xFFF59D : (lit ? 0xB3E5FC : 0xFAFAFA));
            g.drawRoundRect(x + 1, y + 1, TILE_W - 4, TILE_H - 4, 8, 8);
            g.endFill();
            drawFace(g, kind - 1, x + TILE_W / 2 - 1, y + TILE_H / 2 - 1);
        }
        var o = overlay.graphics;
        o.clear();
        if (path.length > 1) {
            o.lineStyle(4, 0xFF1744);
            o.moveTo(centreX(path[0]), centreY(path[0]));
            for (i in 1...path.length) o.lineTo(centreX(path[i]), centreY(path[i]));
        }
    }

    // Fourteen faces: seven figures, each in a full and in a ringed form, every one its own colour.
    static function drawFace(g:Graphics, kind:Int, cx:Float, cy:Float) {
        var colour = COLOURS[kind];
        var ringed = kind >= 7;
        if (ringed) {
            g.lineStyle(3, colour);
            g.beginFill(0xFFFFFF);
        } else {
            g.beginFill(colour);
        }
        switch (kind % 7) {
            case 0: g.drawCircle(cx, cy, 12);
            case 1: g.drawRect(cx - 11, cy - 11, 22, 22);
            case 2: polygon(g, cx, cy, 3, 14, 14);
            case 3: polygon(g, cx, cy, 5, 14, 6);
            case 4: polygon(g, cx, cy, 4, 14, 14);
            case 5: polygon(g, cx, cy, 6, 13, 13);
            default: polygon(g, cx, cy, 4, 14, 5);
        }
        g.endFill();
        g.lineStyle();
        if (ringed) {
            g.beginFill(colour);
            g.drawCircle(cx, cy, 3.5);
            g.endFill();
        }
    }

    // A regular polygon, or a star when the inner radius is smaller, with a point straight up.
    static function polygon(g:Graphics, cx:Float, cy:Float, points:Int, outer:Float, inner:Float) {
        var star = inner != outer;
        var corners = star ? points * 2 : points;
        for (i in 0...corners + 1) {
            var angle = -Math.PI / 2 + i * 2 * Math.PI / corners;
            var r = star && i % 2 == 1 ? inner : outer;
            if (i == 0) g.moveTo(cx + r * Math.cos(angle), cy + r * Math.sin(angle));
            else g.lineTo(cx + r * Math.cos(angle), cy + r * Math.sin(angle));
        }
    }
}
