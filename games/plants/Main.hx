import common.Button;
import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;

// Lane defence on a lawn of five lanes: pick a plant at the top (or keys 1-3) and click a free
// square to plant it, paid with sun. Sun drops from the sky and grows on sunflowers; click it to
// collect it. Shooters fire at walkers in their lane, walls hold them up. A walker that crosses the
// lawn ends the game; a wave survived brings a bigger one.
class Main extends Game {
    static inline var LANES = Lawn.LANES;
    static inline var COLS = Lawn.COLS;
    static inline var CW = Lawn.CW;
    static inline var CH = Lawn.CH;
    static inline var LEFT = Lawn.LEFT;
    static inline var TOP = Lawn.TOP;
    static var NAMES = ["豌豆射手", "向日葵", "坚果墙"];

    var scene = new Sprite();
    var status:TextField;
    var seeds:Array<Button> = [];
    var lawn = new Lawn();
    var choice = 0;
    var playing = false;

    static function main() new Main();

    function new() {
        super();
        addChild(scene);
        for (k in 0...3) {
            var b = new Button(120 + k * 105, 8, 98, 48, NAMES[k] + "\n" + Lawn.COSTS[k] + " 阳光", 0x607040, pick.bind(k), 0xffffff, 12);
            seeds.push(b);
            addChild(b);
        }
        label(10, 20, 18, 0xf0e060, "植物保卫战");
        status = label(440, 6, 12, 0xffffff);
        showMessage("植物保卫战", "种下射手，挡住一波又一波的僵尸\n按 1 2 3 或点击上方选择植物\n点击开始");
        stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) click());
        pick(0);
    }

    function start():Void {
        lawn = new Lawn();
        playing = true;
        hideMessage();
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
        if (!lawn.collect(mouseX, mouseY)) lawn.plant(choice, Math.floor((mouseX - LEFT) / CW), Math.floor((mouseY - TOP) / CH));
    }

    override function tick():Void {
        if (playing) {
            switch (lawn.step()) {
                case Lawn.CLEARED: Progress.offerBest(lawn.wave - 1);
                case Lawn.LOST: lost();
            }
        }
        status.text = "阳光 " + lawn.sun + "\n第 " + lawn.wave + " 波\n最多坚持 " + Progress.best() + " 波";
        draw();
    }

    function lost():Void {
        playing = false;
        var record = Progress.offerBest(lawn.wave - 1);
        showMessage("僵尸冲过了防线", "第 " + lawn.wave + " 波" + (record ? "，创造新纪录！" : "") + "\n点击再玩一次");
    }

    function draw():Void {
        var g = scene.graphics;
        g.clear();
        g.beginFill(0x3a5a20);
        g.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        g.beginFill(0xc0a070);
        g.drawRect(0, TOP, LEFT, LANES * CH);
        for (lane in 0...LANES) for (col in 0...COLS) {
            g.beginFill((lane + col) % 2 == 0 ? 0x58a838 : 0x4c9830);
            g.drawRect(LEFT + col * CW, TOP + lane * CH, CW, CH);
        }
        for (p in lawn.plants) {
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
            if (p.hp < Lawn.HEALTH[p.kind]) {
                g.beginFill(0xff0000);
                g.drawRect(x - 15, y + 26, 30 * p.hp / Lawn.HEALTH[p.kind], 3);
            }
        }
        for (w in lawn.walkers) {
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
        for (pea in lawn.peas) g.drawCircle(pea.x, TOP + pea.lane * CH + CH / 2 - 8, 5);
        for (s in lawn.suns) {
            g.beginFill(0xffe040, 0.9);
            g.drawCircle(s.x, s.y, 14);
            g.beginFill(0xfff8a0);
            g.drawCircle(s.x, s.y, 8);
        }
        g.endFill();
    }
}
