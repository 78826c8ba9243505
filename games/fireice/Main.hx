import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Sprite;
import flash.text.TextField;
import Temple.Runner;

// Two players on one keyboard climb a temple: Fire (arrow keys) walks through lava but dies in
// water, Ice (W A D) the other way round, green goo kills both. Each picks up gems of its colour,
// and the level is cleared when both stand at their own doors.
class Main extends Game {
    static inline var T = Temple.T;
    static var KEYS = [[Keys.LEFT, Keys.RIGHT, Keys.UP], [Keys.A, Keys.A + 3, Keys.A + 22]]; // left, right, jump: arrows, and A D W

    var temple:Temple;
    var walls = new Sprite();
    var actors = new Sprite();
    var status:TextField;
    var held = new Map<Int, Bool>();
    var runners = [new Runner(true), new Runner(false)];
    var level = 0;
    var frames = 0;
    var state = 0; // 0 playing, 1 someone died, 2 cleared

    static function main() new Main();

    function new() {
        super();
        addChild(walls);
        addChild(actors);
        label(6, 4, 18, 0xffc040, "森林冰火人");
        status = label(112, 2, 13, 0xffffff);
        load(Std.int(Math.min(unlocked(), Temple.LEVELS.length - 1)));
    }

    function unlocked():Int {
        var value:Dynamic = Progress.get("unlocked", 0);
        return Std.isOfType(value, Int) ? value : 0;
    }

    function load(index:Int):Void {
        level = index;
        temple = new Temple(index, runners);
        frames = 0;
        state = 0;
        hideMessage();
        drawWalls();
    }

    override function keyDown(keyCode:Int, charCode:Int):Void {
        held.set(keyCode, true);
        var digit = Keys.digit(keyCode);
        if (keyCode == Keys.A + 17) load(level); // R
        if (digit >= 1 && digit <= Temple.LEVELS.length && digit - 1 <= unlocked()) load(digit - 1);
        if ((keyCode == Keys.ENTER || keyCode == Keys.SPACE) && state == 2) load(Std.int(Math.min(level + 1, Temple.LEVELS.length - 1)));
        if ((keyCode == Keys.ENTER || keyCode == Keys.SPACE) && state == 1) load(level);
    }

    override function keyUp(keyCode:Int):Void {
        held.remove(keyCode);
    }

    override function tick():Void {
        if (state == 0) {
            frames++;
            for (i in 0...runners.length) move(runners[i], KEYS[i]);
            if (runners[0].atDoor && runners[1].atDoor) cleared();
        }
        var time = Std.int(frames / 3) / 10;
        var best:Dynamic = Progress.get("time" + level, 0);
        status.text = "第 " + (level + 1) + "/" + Temple.LEVELS.length + " 关   用时 " + time + " 秒   宝石 " + temple.gems + "/" + temple.gemsTotal
            + (best > 0 ? "   最快 " + best + " 秒" : "") + "   已通过 " + Progress.best() + " 关"
            + "\n火人：方向键   冰人：W A D   R：重来   1-3：选关";
        drawActors();
    }

    function move(r:Runner, keys:Array<Int>):Void {
        var died = temple.step(r, held.exists(keys[0]), held.exists(keys[1]), held.exists(keys[2]));
        if (died == "") return;
        state = 1;
        showMessage((r.fire ? "火人" : "冰人") + (died == "G" ? "掉进了毒液！" : (r.fire ? "掉进了水里！" : "掉进了岩浆！")),
            "按 Enter 或 R 重试");
    }

    function cleared():Void {
        state = 2;
        var time = Std.int(frames / 3) / 10;
        var key = "time" + level;
        var best:Dynamic = Progress.get(key, 0);
        if (best == 0 || time < best) Progress.set(key, time);
        if (level + 1 > unlocked()) Progress.set("unlocked", Std.int(Math.min(level + 1, Temple.LEVELS.length - 1)));
        Progress.offerBest(level + 1);
        if (level + 1 < Temple.LEVELS.length) showMessage("用时 " + time + " 秒过关！", "按 Enter 进入下一关");
        else showMessage("用时 " + time + " 秒逃出神殿！", "按 Enter 再玩一次最后一关");
    }

    function drawWalls():Void {
        var g = walls.graphics;
        g.clear();
        g.beginFill(0x2a2618);
        g.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        for (ty in 0...temple.map.length) for (tx in 0...temple.map[ty].length) {
            var x = tx * T, y = ty * T;
            switch (temple.map[ty][tx]) {
                case "#":
                    g.beginFill(0x7a6a40);
                    g.drawRect(x, y, T, T);
                    g.beginFill(0x8c7c50);
                    g.drawRect(x + 1, y + 1, T - 2, T / 2 - 2);
                case "R" | "B" | "G":
                    g.beginFill(0x7a6a40);
                    g.drawRect(x, y, T, T);
                    g.beginFill(switch (temple.map[ty][tx]) { case "R": 0xff4010; case "B": 0x2090ff; default: 0x40d020; });
                    g.drawRect(x, y, T, 10);
                case "F" | "I":
                    g.beginFill(temple.map[ty][tx] == "F" ? 0xc03010 : 0x1060c0);
                    g.drawRect(x + 2, y - 10, T - 4, T + 10);
                    g.beginFill(0x000000, 0.4);
                    g.drawRect(x + 6, y - 5, T - 12, T + 5);
            }
        }
        g.endFill();
    }

    function drawActors():Void {
        var g = actors.graphics;
        g.clear();
        for (ty in 0...temple.map.length) for (tx in 0...temple.map[ty].length) {
            var t = temple.map[ty][tx];
            if (t == "r" || t == "b") {
                var cx = tx * T + T / 2, cy = ty * T + T / 2;
                g.beginFill(t == "r" ? 0xff5030 : 0x40b0ff);
                g.moveTo(cx, cy - 8);
                g.lineTo(cx + 7, cy);
                g.lineTo(cx, cy + 8);
                g.lineTo(cx - 7, cy);
                g.endFill();
            }
        }
        for (r in runners) {
            var body = r.fire ? 0xe04010 : 0x3080e0, head = r.fire ? 0xffa020 : 0xa0e0ff;
            g.beginFill(body);
            g.drawRoundRect(r.x, r.y + 8, Runner.W, Runner.H - 8, 6, 6);
            g.beginFill(head);
            g.drawCircle(r.x + Runner.W / 2, r.y + 6, 7);
            // a flame or an icicle on top, a fill of its own so that the overlap does not cancel out
            g.beginFill(head);
            g.moveTo(r.x + 3, r.y + 3);
            g.lineTo(r.x + Runner.W / 2, r.y - 8);
            g.lineTo(r.x + Runner.W - 3, r.y + 3);
            g.beginFill(0x000000);
            g.drawCircle(r.x + 5, r.y + 6, 1.6);
            g.drawCircle(r.x + 11, r.y + 6, 1.6);
            g.endFill();
        }
    }
}
