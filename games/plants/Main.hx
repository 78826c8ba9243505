import common.Button;
import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;

typedef Plant = {kind:Int, col:Int, lane:Int, hp:Float, timer:Int};
typedef Walker = {x:Float, lane:Int, hp:Float, speed:Float, biting:Bool};

// Lane defence on a lawn of five lanes: pick a plant at the top (or keys 1-3) and click a free
// square to plant it, paid with sun. Sun drops from the sky and grows on sunflowers; click it to
// collect it. Shooters fire at walkers in their lane, walls hold them up. A walker that crosses the
// lawn ends the game; a wave survived brings a bigger one.
class Main extends Game {
    static inline var LANES = 5;
    static inline var COLS = 9;
    static inline var CW = 55;
    static inline var CH = 64;
    static inline var LEFT = 40;
    static inline var TOP = 72;
    static var NAMES = ["Shooter", "Sunflower", "Wall"];
    static var COSTS = [100, 50, 50];
    static var HEALTH = [6.0, 5.0, 40.0];

    var lawn = new Sprite();
    var status:TextField;
    var seeds:Array<Button> = [];
    var plants:Array<Plant> = [];
    var walkers:Array<Walker> = [];
    var peas:Array<{x:Float, lane:Int}> = [];
    var suns:Array<{x:Float, y:Float, stop:Float, life:Int}> = [];
    var choice = 0;
    var sun = 150;
    var wave = 1;
    var toSpawn = 0;
    var spawnIn = 0;
    var skyIn = 200;
    var playing = false;

    static function main() new Main();

    function new() {
        super();
        addChild(lawn);
        for (k in 0...3) {
            var b = new Button(120 + k * 105, 8, 98, 48, NAMES[k] + "\n" + COSTS[k] + " sun", 0x607040, pick.bind(k), 0xffffff, 12);
            seeds.push(b);
            addChild(b);
        }
        status = label(440, 6, 12, 0xffffff);
        showMessage("LAWN DEFENCE", "Plant shooters to stop the walkers\nClick to start");
        stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) click());
        pick(0);
    }

    function start():Void {
        plants = [];
        walkers = [];
        peas = [];
        suns = [];
        sun = 150;
        wave = 1;
        startWave();
        playing = true;
        hideMessage();
    }

    function startWave():Void {
        toSpawn = 4 + wave * 4;
        spawnIn = 300;
    }

    function pick(kind:Int):Void {
        choice = kind;
        for (k in 0...seeds.length) seeds[k].setFill(k == kind ? 0x90b050 : 0x607040);
    }

    override function keyDown(keyCode:Int, charCode:Int):Void {
        var digit = Keys.digit(keyCode);
        if (digit >= 1 && digit <= NAMES.length) pick(digit - 1);
    }

    function click():Void {
        if (!playing) {
            start();
            return;
        }
        for (s in suns) {
            if (Math.abs(mouseX - s.x) < 18 && Math.abs(mouseY - s.y) < 18) {
                suns.remove(s);
                sun += 25;
                return;
            }
        }
        var col = Math.floor((mouseX - LEFT) / CW), lane = Math.floor((mouseY - TOP) / CH);
        if (col < 0 || col >= COLS || lane < 0 || lane >= LANES) return;
        if (Lambda.exists(plants, p -> p.col == col && p.lane == lane) || sun < COSTS[choice]) return;
        sun -= COSTS[choice];
        plants.push({kind: choice, col: col, lane: lane, hp: HEALTH[choice], timer: 0});
    }

    override function tick():Void {
        if (playing) step();
        status.text = "Sun " + sun + "\nWave " + wave + "\nBest wave " + Progress.best();
        draw();
    }

    function step():Void {
        if (--skyIn <= 0) {
            suns.push({x: LEFT + 20 + Math.random() * (COLS * CW - 40), y: TOP - 20, stop: TOP + 30 + Math.random() * (LANES * CH - 60), life: 0});
            skyIn = 300 + Std.random(150);
        }
        for (s in suns.copy()) {
            if (s.y < s.stop) s.y += 1 else if (++s.life > 400) suns.remove(s);
        }
        if (toSpawn > 0 && --spawnIn <= 0) {
            var tough = wave > 2 && Math.random() < 0.25;
            walkers.push({x: Game.WIDTH + 10, lane: Std.random(LANES), hp: tough ? 28 : 10, speed: 0.22 + Math.random() * 0.1 + wave * 0.01, biting: false});
            toSpawn--;
            spawnIn = Std.int(Math.max(60, 360 - wave * 30)) + Std.random(120);
        }
        for (p in plants) {
            p.timer++;
            var x = LEFT + p.col * CW + CW / 2;
            if (p.kind == 0 && p.timer >= 45 && Lambda.exists(walkers, w -> w.lane == p.lane && w.x > x)) {
                peas.push({x: x + 12, lane: p.lane});
                p.timer = 0;
            } else if (p.kind == 1 && p.timer >= 600) {
                suns.push({x: x + 10, y: TOP + p.lane * CH + 20, stop: TOP + p.lane * CH + 40, life: 0});
                p.timer = 0;
            }
        }
        for (pea in peas.copy()) {
            pea.x += 5;
            var hit = Lambda.find(walkers, w -> w.lane == pea.lane && Math.abs(w.x - pea.x) < 12);
            if (hit != null) {
                hit.hp--;
                peas.remove(pea);
                if (hit.hp <= 0) walkers.remove(hit);
            } else if (pea.x > Game.WIDTH) peas.remove(pea);
        }
        for (w in walkers) {
            var blocker = Lambda.find(plants, p -> p.lane == w.lane && Math.abs(LEFT + p.col * CW + CW / 2 - (w.x - 12)) < 16);
            w.biting = blocker != null;
            if (blocker != null) {
                blocker.hp -= 1 / 60;
                if (blocker.hp <= 0) plants.remove(blocker);
            } else {
                w.x -= w.speed;
            }
            if (w.x < LEFT - 10) {
                lost();
                return;
            }
        }
        if (toSpawn == 0 && walkers.length == 0) {
            Progress.offerBest(wave);
            wave++;
            startWave();
            sun += 50;
        }
    }

    function lost():Void {
        playing = false;
        var record = Progress.offerBest(wave - 1);
        showMessage("A walker got through", "Wave " + wave + (record ? "  -  a new best!" : "") + "\nClick to play again");
    }

    function draw():Void {
        var g = lawn.graphics;
        g.clear();
        g.beginFill(0x3a5a20);
        g.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        g.beginFill(0xc0a070);
        g.drawRect(0, TOP, LEFT, LANES * CH);
        for (lane in 0...LANES) for (col in 0...COLS) {
            g.beginFill((lane + col) % 2 == 0 ? 0x58a838 : 0x4c9830);
            g.drawRect(LEFT + col * CW, TOP + lane * CH, CW, CH);
        }
        for (p in plants) {
            var x = LEFT + p.col * CW + CW / 2, y = TOP + p.lane * CH + CH / 2;
            switch (p.kind) {
                case 0:
                    g.beginFill(0x207010);
                    g.drawRect(x - 3, y, 6, 24);
                    g.beginFill(0x40c030);
                    g.drawCircle(x, y - 4, 14);
                    g.beginFill(0x40c030); // overlapping parts of one fill would cancel out
                    g.drawRect(x + 6, y - 10, 14, 12);
                    g.beginFill(0x000000);
                    g.drawCircle(x + 2, y - 9, 2.5);
                case 1:
                    g.beginFill(0x207010);
                    g.drawRect(x - 3, y, 6, 24);
                    for (k in 0...10) {
                        g.beginFill(0xffd020);
                        g.drawCircle(x + Math.cos(k * 0.63) * 13, y - 4 + Math.sin(k * 0.63) * 13, 7);
                    }
                    g.beginFill(0x8a5a20);
                    g.drawCircle(x, y - 4, 10);
                case 2:
                    g.beginFill(0xa07030);
                    g.drawEllipse(x - 17, y - 24, 34, 48);
                    g.beginFill(0x000000);
                    g.drawCircle(x - 6, y - 8, 2.5);
                    g.drawCircle(x + 6, y - 8, 2.5);
            }
            if (p.hp < HEALTH[p.kind]) {
                g.beginFill(0xff0000);
                g.drawRect(x - 15, y + 26, 30 * p.hp / HEALTH[p.kind], 3);
            }
        }
        for (w in walkers) {
            var y = TOP + w.lane * CH + CH / 2;
            var bob = w.biting ? Math.sin(w.x + flash.Lib.getTimer() / 80) * 3 : 0;
            g.beginFill(w.hp > 10 ? 0x505070 : 0x6a6a8a);
            g.drawRect(w.x - 10, y - 10, 20, 32);
            g.beginFill(0x90b090);
            g.drawCircle(w.x - 4 + bob, y - 18, 12);
            g.beginFill(0x000000);
            g.drawCircle(w.x - 10 + bob, y - 21, 2);
            g.drawRect(w.x - 16 + bob, y - 12, 8, 2);
            g.beginFill(0x90b090);
            g.drawRect(w.x - 24, y - 4, 16, 5);
        }
        g.beginFill(0x80ff40);
        for (pea in peas) g.drawCircle(pea.x, TOP + pea.lane * CH + CH / 2 - 8, 5);
        for (s in suns) {
            g.beginFill(0xffe040, 0.9);
            g.drawCircle(s.x, s.y, 14);
            g.beginFill(0xfff8a0);
            g.drawCircle(s.x, s.y, 8);
        }
        g.endFill();
    }
}
