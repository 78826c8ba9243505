import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Shape;
import flash.display.Sprite;
import flash.text.TextField;
import flash.text.TextFormat;
import flash.text.TextFormatAlign;

// Typing practice: letters fall in bubbles; type a letter to burst the lowest bubble that holds it.
// A bubble that reaches the ground costs one of five lives. Every twenty letters the level rises:
// they fall faster and come more often, and from level four digits join them. The keyboard below
// shows where the falling letters are.
class Main extends Game {
    static inline var GROUND = 318;
    static var ROWS = ["1234567890", "QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"];

    var drops:Array<Drop> = [];
    var keyFaces:Map<String, Shape> = new Map();
    var keyFlash:Map<String, Int> = new Map(); // frames a pressed key stays lit, negative for a miss
    var keyboard = new Sprite();
    var score = 0;
    var level = 1;
    var cleared = 0;
    var typed = 0;
    var missed = 0;
    var lives = 5;
    var nextDrop = 0;
    var playing = false;
    var scoreText:TextField;
    var levelText:TextField;
    var livesText:TextField;
    var accuracyText:TextField;
    var bestText:TextField;

    static function main() {
        new Main();
    }

    public function new() {
        super();
        graphics.beginFill(0x0D1B2A);
        graphics.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        graphics.endFill();
        graphics.beginFill(0x1B263B);
        graphics.drawRect(0, GROUND, Game.WIDTH, Game.HEIGHT - GROUND);
        graphics.endFill();
        label(10, 6, 18, 0x90E0EF, "键盘练习");
        scoreText = label(100, 8, 15, 0xFFFFFF);
        levelText = label(200, 8, 15, 0xFFFFFF);
        livesText = label(280, 8, 15, 0xFF8A80);
        accuracyText = label(360, 8, 13, 0xB0BEC5);
        bestText = label(460, 8, 15, 0xFFD54F);
        buildKeyboard();
        addChild(keyboard);
        updateTexts();
        showMessage("键盘练习", "在字母落地之前打出它们\n按空格键或 Enter 开始");
    }

    function buildKeyboard() {
        var format = new TextFormat("_sans", 12, 0x0D1B2A, true, null, null, null, null, TextFormatAlign.CENTER);
        for (r in 0...ROWS.length) {
            var row = ROWS[r];
            for (i in 0...row.length) {
                var face = new Shape();
                face.x = 96 + r * 10 + i * 36;
                face.y = GROUND + 4 + r * 19;
                keyboard.addChild(face);
                keyFaces.set(row.charAt(i), face);
                var caption = new TextField();
                caption.defaultTextFormat = format;
                caption.selectable = false;
                caption.mouseEnabled = false;
                caption.width = 32;
                caption.height = 18;
                caption.x = face.x;
                caption.y = face.y;
                caption.text = row.charAt(i);
                keyboard.addChild(caption);
            }
        }
        drawKeys();
    }

    function drawKeys() {
        var falling = [for (d in drops) d.letter];
        for (letter in keyFaces.keys()) {
            var g = keyFaces.get(letter).graphics;
            var lit = keyFlash.exists(letter) ? keyFlash.get(letter) : 0;
            g.clear();
            g.beginFill(lit > 0 ? 0x69F0AE : (lit < 0 ? 0xFF5252 : (falling.indexOf(letter) >= 0 ? 0xFFE082 : 0xCFD8DC)));
            g.drawRoundRect(0, 0, 32, 17, 6, 6);
            g.endFill();
        }
    }

    function updateTexts() {
        scoreText.text = "得分 " + score;
        levelText.text = "等级 " + level;
        livesText.text = "生命 " + lives;
        accuracyText.text = "准确率 " + (typed == 0 ? 100 : Math.round(100 * (typed - missed) / typed)) + "%";
        bestText.text = "最高分 " + Progress.best();
    }

    function start() {
        for (d in drops) removeChild(d);
        drops = [];
        score = 0;
        level = 1;
        cleared = 0;
        typed = 0;
        missed = 0;
        lives = 5;
        nextDrop = 10;
        playing = true;
        hideMessage();
        updateTexts();
    }

    override function keyDown(keyCode:Int, charCode:Int) {
        if (!playing) {
            if (keyCode == Keys.SPACE || keyCode == Keys.ENTER) start();
            return;
        }
        var letter = keyCode >= Keys.A && keyCode <= Keys.Z ? String.fromCharCode(keyCode) : "";
        var digit = Keys.digit(keyCode);
        if (digit >= 0) letter = Std.string(digit);
        if (letter == "") return;
        typed++;
        var lowest:Drop = null;
        for (d in drops) if (d.letter == letter && !d.bursting && (lowest == null || d.y > lowest.y)) lowest = d;
        if (lowest == null) {
            missed++;
            keyFlash.set(letter, -8);
        } else {
            lowest.burst();
            keyFlash.set(letter, 8);
            cleared++;
            score += 10 * level + Std.int((GROUND - lowest.y) / 20);
            if (cleared % 20 == 0) level++;
        }
        updateTexts();
    }

    override function tick() {
        for (letter in keyFlash.keys()) {
            var v = keyFlash.get(letter);
            v += v > 0 ? -1 : 1;
            if (v == 0) keyFlash.remove(letter); else keyFlash.set(letter, v);
        }
        if (playing && --nextDrop <= 0) {
            nextDrop = Std.int(Math.max(14, 60 - level * 6) + Std.random(20));
            var pool = level >= 4 ? "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789" : "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
            var drop = new Drop(pool.charAt(Std.random(pool.length)), 0.6 + level * 0.25 + Math.random() * 0.4);
            drop.x = 30 + Math.random() * (Game.WIDTH - 60);
            drop.y = 50;
            addChild(drop);
            drops.push(drop);
        }
        for (d in drops.copy()) {
            if (d.bursting) {
                if (d.fade()) {
                    removeChild(d);
                    drops.remove(d);
                }
            } else if (playing) {
                d.y += d.speed;
                if (d.y >= GROUND - 18) {
                    removeChild(d);
                    drops.remove(d);
                    lives--;
                    updateTexts();
                    if (lives <= 0) gameOver();
                }
            }
        }
        drawKeys();
    }

    function gameOver() {
        playing = false;
        var best = Progress.offerBest(score);
        updateTexts();
        showMessage("游戏结束", "得分 " + score + "，到达第 " + level + " 级" + (best ? "，创造新纪录！" : "")
            + "\n按空格键或 Enter 再玩一次");
    }
}

// A falling bubble holding one letter.
class Drop extends Sprite {
    public var letter:String;
    public var speed:Float;
    public var bursting = false;

    public function new(letter:String, speed:Float) {
        super();
        this.letter = letter;
        this.speed = speed;
        mouseEnabled = false;
        mouseChildren = false;
        var colours = [0x4FC3F7, 0xF06292, 0xAED581, 0xFFB74D, 0xBA68C8];
        graphics.beginFill(colours[letter.charCodeAt(0) % colours.length], 0.85);
        graphics.drawCircle(0, 0, 18);
        graphics.endFill();
        graphics.beginFill(0xFFFFFF, 0.4);
        graphics.drawCircle(-6, -7, 5);
        graphics.endFill();
        var field = new TextField();
        field.defaultTextFormat = new TextFormat("_sans", 20, 0x0D1B2A, true, null, null, null, null, TextFormatAlign.CENTER);
        field.selectable = false;
        field.width = 36;
        field.height = 28;
        field.x = -18;
        field.y = -14;
        field.text = letter;
        addChild(field);
    }

    public function burst() {
        bursting = true;
    }

    // One frame of the burst: grows and fades; true when gone.
    public function fade():Bool {
        scaleX = scaleY = scaleX + 0.08;
        alpha -= 0.12;
        return alpha <= 0;
    }
}
