import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Shape;
import flash.text.TextField;

// Gold miner: the hook swings to and fro; Down or Space throws it. It grabs what it touches and
// reels it in, heavy things slowly: gold and diamonds pay, stones hardly. Up blows up a slow
// catch with a stick of dynamite. Reach each level's target before the minute is up.
class Main extends Game {
    static inline var PIVOT_X = 275;
    static inline var PIVOT_Y = 62;
    static inline var GROUND = 80;
    static inline var LEVEL_FRAMES = 60 * 30;
    static inline var HOOK = 12;

    static inline var SWINGING = 0;
    static inline var THROWN = 1;
    static inline var REELING = 2;

    var items:Array<Item> = [];
    var field = new Shape();
    var rope = new Shape();
    var angle = 0.0; // degrees from straight down
    var swing = 1.5; // degrees a frame
    var length = 30.0;
    var state = SWINGING;
    var caught:Item = null;
    var money = 0;
    var level = 1;
    var dynamite = 2;
    var timeLeft = 0;
    var playing = false;
    var lost = true; // the next start begins a new game at level 1
    var blast = 0; // frames of the dynamite's flash
    var moneyText:TextField;
    var targetText:TextField;
    var timeText:TextField;
    var levelText:TextField;
    var bestText:TextField;
    var dynamiteText:TextField;
    var pops:Array<TextField> = [];

    static function main() {
        new Main();
    }

    public function new() {
        super();
        var g = graphics;
        g.beginFill(0xFFE0B2);
        g.drawRect(0, 0, Game.WIDTH, GROUND);
        g.endFill();
        var bands = [0x8D6E63, 0x795548, 0x6D4C41, 0x5D4037, 0x4E342E];
        for (i in 0...bands.length) {
            g.beginFill(bands[i]);
            g.drawRect(0, GROUND + i * 64, Game.WIDTH, 64);
            g.endFill();
        }
        drawMiner();
        addChild(field);
        addChild(rope);
        moneyText = label(8, 4, 15, 0x3E2723);
        targetText = label(8, 24, 15, 0x3E2723);
        bestText = label(8, 44, 13, 0x6D4C41);
        timeText = label(420, 4, 15, 0x3E2723);
        levelText = label(420, 24, 15, 0x3E2723);
        dynamiteText = label(420, 44, 13, 0x6D4C41);
        newLevel();
        updateTexts();
        showMessage("黄金矿工", "按 ↓ 或空格键放出钩子，拉得太慢时按 ↑ 用炸药炸掉\n"
            + "在时间用完之前挖够目标金额\n按空格键开始");
    }

    function drawMiner() {
        var g = graphics;
        g.beginFill(0x6D4C41);
        g.drawRect(PIVOT_X - 40, GROUND - 8, 80, 8);
        g.endFill();
        g.beginFill(0x455A64); // the reel
        g.drawCircle(PIVOT_X, PIVOT_Y, 10);
        g.endFill();
        g.beginFill(0x1565C0); // the miner beside it
        g.drawRoundRect(PIVOT_X + 14, 40, 22, 32, 8, 8);
        g.endFill();
        g.beginFill(0xFFCC80);
        g.drawCircle(PIVOT_X + 25, 30, 10);
        g.endFill();
        g.beginFill(0xFDD835);
        g.drawRoundRect(PIVOT_X + 13, 18, 24, 9, 6, 6);
        g.endFill();
    }

    function target():Int {
        return 650 + (level - 1) * (450 + level * 50);
    }

    function updateTexts() {
        moneyText.text = "金钱 $" + money;
        targetText.text = "目标 $" + target();
        bestText.text = "最高纪录 $" + Progress.best();
        timeText.text = "时间 " + Math.ceil(timeLeft / 30);
        levelText.text = "第 " + level + " 关";
        dynamiteText.text = "炸药 " + dynamite;
    }

    // A new field: more and richer things deeper down as the levels rise, placed apart.
    function newLevel() {
        items = [];
        var kinds = [];
        for (i in 0...4 + Std.int(Math.min(level, 4))) kinds.push(Item.SMALL_GOLD);
        for (i in 0...2) kinds.push(Item.MID_GOLD);
        for (i in 0...1 + Std.int(level / 2)) kinds.push(Item.BIG_GOLD);
        for (i in 0...3 + Std.int(Math.min(level, 5))) kinds.push(Item.SMALL_STONE);
        for (i in 0...2 + Std.int(level / 2)) kinds.push(Item.BIG_STONE);
        for (i in 0...Std.int(Math.min(3, level - 1))) kinds.push(Item.DIAMOND);
        kinds.push(Item.BAG);
        for (kind in kinds) {
            var item = new Item(kind);
            for (attempt in 0...60) {
                var depth = kind == Item.BIG_GOLD || kind == Item.DIAMOND ? 0.45 : 0.0;
                item.x = 30 + Math.random() * (Game.WIDTH - 60);
                item.y = GROUND + 60 + (depth + Math.random() * (1 - depth)) * (Game.HEIGHT - GROUND - 90);
                item.y = Math.min(item.y, Game.HEIGHT - item.radius - 4);
                if (free(item)) break;
            }
            items.push(item);
        }
        timeLeft = LEVEL_FRAMES;
        state = SWINGING;
        length = 30;
        caught = null;
        draw();
    }

    function free(item:Item):Bool {
        for (other in items)
            if (Math.sqrt((other.x - item.x) * (other.x - item.x) + (other.y - item.y) * (other.y - item.y))
                < other.radius + item.radius + 8) return false;
        return true;
    }

    override function keyDown(keyCode:Int, charCode:Int) {
        if (!playing) {
            if (keyCode == Keys.SPACE || keyCode == Keys.ENTER) {
                if (lost) {
                    money = 0;
                    level = 1;
                    dynamite = 2;
                    lost = false;
                }
                newLevel();
                playing = true;
                hideMessage();
                updateTexts();
            }
            return;
        }
        if ((keyCode == Keys.DOWN || keyCode == Keys.SPACE) && state == SWINGING) {
            state = THROWN;
        } else if (keyCode == Keys.UP && state == REELING && caught != null && dynamite > 0) {
            dynamite--;
            caught = null;
            blast = 8;
            updateTexts();
        }
    }

    override function tick() {
        for (pop in pops.copy()) {
            pop.y -= 1;
            pop.alpha -= 0.025;
            if (pop.alpha <= 0) {
                removeChild(pop);
                pops.remove(pop);
            }
        }
        if (!playing) return;
        var radians = angle * Math.PI / 180;
        switch (state) {
            case SWINGING:
                angle += swing;
                if (angle > 75 || angle < -75) swing = -swing;
            case THROWN:
                length += 7;
                var tipX = PIVOT_X + Math.sin(radians) * length;
                var tipY = PIVOT_Y + Math.cos(radians) * length;
                for (item in items)
                    if (Math.sqrt((item.x - tipX) * (item.x - tipX) + (item.y - tipY) * (item.y - tipY)) < item.radius + HOOK / 2) {
                        caught = item;
                        items.remove(item);
                        break;
                    }
                if (caught != null || tipX < 0 || tipX > Game.WIDTH || tipY > Game.HEIGHT) state = REELING;
            case REELING:
                length -= caught == null ? 9 : caught.pullSpeed;
                if (caught != null) {
                    caught.x = PIVOT_X + Math.sin(radians) * (length + caught.radius);
                    caught.y = PIVOT_Y + Math.cos(radians) * (length + caught.radius);
                }
                if (length <= 30) {
                    length = 30;
                    state = SWINGING;
                    if (caught != null) cash(caught.worth());
                    caught = null;
                }
        }
        if (blast > 0) blast--;
        draw();
        timeLeft--;
        if (timeLeft % 30 == 0) updateTexts();
        if (timeLeft <= 0) endLevel();
    }

    function cash(value:Int) {
        money += value;
        var pop = label(PIVOT_X - 60, 20, 18, value >= 100 ? 0x2E7D32 : 0x6D4C41, "+$" + value, true);
        pops.push(pop);
        updateTexts();
    }

    function endLevel() {
        playing = false;
        var best = Progress.offerBest(money);
        if (money >= target()) {
            level++;
            if (level % 2 == 1) dynamite++;
            updateTexts();
            showMessage("过关！", "$" + money + " 已达到目标\n第 " + level + " 关：目标 $" + target()
                + "\n按空格键继续");
        } else {
            updateTexts();
            showMessage("时间到", "挖到 $" + money + "，目标 $" + target() + (best ? "，创造新纪录！" : "")
                + "\n按空格键重新开始");
            lost = true;
        }
    }

    function draw() {
        var g = field.graphics;
        g.clear();
        for (item in items) item.draw(g);
        if (caught != null) caught.draw(g);
        var radians = angle * Math.PI / 180;
        var tipX = PIVOT_X + Math.sin(radians) * length;
        var tipY = PIVOT_Y + Math.cos(radians) * length;
        var r = rope.graphics;
        r.clear();
        r.lineStyle(2, 0x263238);
        r.moveTo(PIVOT_X, PIVOT_Y);
        r.lineTo(tipX, tipY);
        // The claw: two prongs opening from the tip.
        r.lineStyle(4, 0x37474F);
        for (side in [-1, 1]) {
            var a = radians + side * 0.7;
            r.moveTo(tipX, tipY);
            r.lineTo(tipX + Math.sin(a) * HOOK, tipY + Math.cos(a) * HOOK);
        }
        r.lineStyle();
        if (blast > 0) {
            r.beginFill(0xFF9800, blast / 8);
            r.drawCircle(tipX, tipY, 40 - blast * 3);
            r.endFill();
        }
    }
}

// A thing in the ground: how big it is, what it is worth, and how fast it comes up.
class Item {
    public static inline var SMALL_GOLD = 0;
    public static inline var MID_GOLD = 1;
    public static inline var BIG_GOLD = 2;
    public static inline var SMALL_STONE = 3;
    public static inline var BIG_STONE = 4;
    public static inline var DIAMOND = 5;
    public static inline var BAG = 6;

    static var RADIUS = [10, 18, 34, 14, 26, 8, 15];
    static var VALUE = [50, 150, 500, 11, 20, 600, 0];
    static var PULL = [7.0, 4.5, 1.6, 4.0, 1.8, 8.0, 6.0];

    public var kind:Int;
    public var x = 0.0;
    public var y = 0.0;
    public var radius:Float;
    public var pullSpeed:Float;

    public function new(kind:Int) {
        this.kind = kind;
        radius = RADIUS[kind];
        pullSpeed = PULL[kind];
    }

    // A bag holds anything from a little to a lot.
    public function worth():Int {
        return kind == BAG ? [30, 100, 250, 700][Std.random(4)] : VALUE[kind];
    }

    public function draw(g:flash.display.Graphics) {
        switch (kind) {
            case SMALL_GOLD | MID_GOLD | BIG_GOLD:
                g.beginFill(0xC49000);
                g.drawEllipse(x - radius, y - radius * 0.8, radius * 2, radius * 1.7);
                g.endFill();
                g.beginFill(0xFFD54F);
                g.drawEllipse(x - radius * 0.9, y - radius * 0.85, radius * 1.8, radius * 1.5);
                g.endFill();
                g.beginFill(0xFFF59D);
                g.drawCircle(x - radius * 0.35, y - radius * 0.35, radius * 0.25);
                g.endFill();
            case SMALL_STONE | BIG_STONE:
                g.beginFill(0x616161);
                g.drawEllipse(x - radius, y - radius * 0.75, radius * 2, radius * 1.6);
                g.endFill();
                g.beginFill(0x9E9E9E);
                g.drawEllipse(x - radius * 0.8, y - radius * 0.75, radius * 1.4, radius * 1.1);
                g.endFill();
            case DIAMOND:
                g.beginFill(0x4DD0E1);
                g.moveTo(x, y - radius * 1.3);
                g.lineTo(x + radius, y);
                g.lineTo(x, y + radius * 1.3);
                g.lineTo(x - radius, y);
                g.lineTo(x, y - radius * 1.3);
                g.endFill();
                g.beginFill(0xE0F7FA);
                g.drawCircle(x - radius * 0.3, y - radius * 0.3, radius * 0.3);
                g.endFill();
            default:
                g.beginFill(0xA1887F);
                g.drawRoundRect(x - radius, y - radius * 0.8, radius * 2, radius * 1.8, 10, 10);
                g.endFill();
                g.beginFill(0x5D4037);
                g.drawRect(x - radius * 0.5, y - radius * 0.9, radius, 4);
                g.drawCircle(x, y + 2, 3);
                g.endFill();
        }
    }
}
