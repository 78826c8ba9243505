import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;

typedef Thing = {x:Float, y:Float, vx:Float, vy:Float, r:Float, kind:Int, angle:Float, spin:Float};
typedef Half = {x:Float, y:Float, vx:Float, vy:Float, r:Float, kind:Int, angle:Float, spin:Float, side:Int};

// Fruits are thrown up from below; moving the mouse with the button held slices them. Several in
// one stroke score a combo. A fruit that falls back unsliced costs one of three lives, and slicing
// a bomb ends the round at once.
class Main extends Game {
    static inline var GRAVITY = 0.18;
    static inline var BOMB = -1;
    // skin, flesh, radius of each fruit
    static var FRUITS = [[0xd02020, 0xf8f0c0, 20], [0xf08010, 0xffb040, 19], [0x208020, 0xe83040, 27], [0x806030, 0x80d040, 16],
        [0x8030a0, 0xd0a0e0, 15], [0xf0d020, 0xfff0a0, 18]];

    var scene = new Sprite();
    var status:TextField;
    var things:Array<Thing> = [];
    var halves:Array<Half> = [];
    var splashes:Array<{x:Float, y:Float, colour:Int, life:Int}> = [];
    var trail:Array<{x:Float, y:Float, age:Int}> = [];
    var down = false;
    var lastX = 0.0;
    var lastY = 0.0;
    var score = 0;
    var lives = 3;
    var frames = 0;
    var untilNext = 30;
    var playing = false;
    var stroke = 0; // fruits cut since the button went down
    var flash = 0;

    static function main() new Main();

    function new() {
        super();
        addChild(scene);
        label(8, 2, 20, 0xffd54f, "水果忍者");
        status = label(104, 5, 16, 0xffffff);
        showMessage("水果忍者", "按住鼠标左键划过水果把它们切开\n千万别切到炸弹！\n点击开始");
        stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) {
            down = true;
            stroke = 0;
            lastX = mouseX;
            lastY = mouseY;
            if (!playing) start();
        });
        stage.addEventListener(MouseEvent.MOUSE_UP, function(_) down = false);
    }

    override function keyDown(keyCode:Int, charCode:Int):Void {
        if (keyCode == Keys.SPACE && !playing) start();
    }

    function start():Void {
        things = [];
        halves = [];
        score = 0;
        lives = 3;
        frames = 0;
        untilNext = 20;
        playing = true;
        hideMessage();
    }

    function throwVolley():Void {
        var count = 1 + Std.random(Std.int(Math.min(5, 2 + frames / 900)));
        for (i in 0...count) {
            var bomb = frames > 300 && Math.random() < Math.min(0.25, 0.08 + frames / 12000);
            var kind = bomb ? BOMB : Std.random(FRUITS.length);
            var x = 80 + Math.random() * 390;
            things.push({
                x: x,
                y: Game.HEIGHT + 30,
                vx: (275 - x) / 110 + (Math.random() - 0.5) * 1.5,
                vy: -(10 + Math.random() * 2.5),
                r: bomb ? 17 : FRUITS[kind][2],
                kind: kind,
                angle: 0,
                spin: (Math.random() - 0.5) * 0.1
            });
        }
        untilNext = Std.int(Math.max(30, 70 - frames / 60)) + Std.random(25);
    }

    override function tick():Void {
        if (playing) {
            frames++;
            if (--untilNext <= 0) throwVolley();
        }
        var mx = mouseX, my = mouseY;
        if (down) {
            trail.push({x: mx, y: my, age: 0});
            if (playing) cut(lastX, lastY, mx, my);
        }
        lastX = mx;
        lastY = my;
        for (t in trail) t.age++;
        trail = trail.filter(t -> t.age < 8);

        for (t in things.copy()) {
            t.vy += GRAVITY;
            t.x += t.vx;
            t.y += t.vy;
            t.angle += t.spin;
            if (t.vy > 0 && t.y > Game.HEIGHT + 40) {
                things.remove(t);
                if (t.kind != BOMB && playing && --lives <= 0) end("漏掉了三个水果");
            }
        }
        for (h in halves.copy()) {
            h.vy += GRAVITY;
            h.x += h.vx;
            h.y += h.vy;
            h.angle += h.spin;
            if (h.y > Game.HEIGHT + 40) halves.remove(h);
        }
        for (s in splashes) s.life++;
        splashes = splashes.filter(s -> s.life < 25);
        status.text = "得分 " + score + "    最高分 " + Progress.best() + "    生命 " + lives;
        draw();
    }

    // Every fruit the stroke from one frame's mouse position to the next passes through is cut.
    function cut(x0:Float, y0:Float, x1:Float, y1:Float):Void {
        var dx = x1 - x0, dy = y1 - y0;
        var len2 = dx * dx + dy * dy;
        if (len2 < 4) return; // a still mouse cuts nothing
        for (t in things.copy()) {
            var u = Math.max(0, Math.min(1, ((t.x - x0) * dx + (t.y - y0) * dy) / len2));
            var cx = x0 + u * dx - t.x, cy = y0 + u * dy - t.y;
            if (cx * cx + cy * cy > t.r * t.r) continue;
            things.remove(t);
            if (t.kind == BOMB) {
                flash = 20;
                end("你切到了炸弹！");
                return;
            }
            stroke++;
            score += stroke >= 3 ? stroke : 1; // a combo of three or more counts each fruit more
            var nx = -dy / Math.sqrt(len2), ny = dx / Math.sqrt(len2);
            var angle = Math.atan2(dy, dx);
            for (side in [-1, 1])
                halves.push({x: t.x, y: t.y, vx: t.vx + nx * side * 1.5, vy: t.vy + ny * side * 1.5, r: t.r, kind: t.kind, angle: angle, spin: side * 0.08, side: side});
            splashes.push({x: t.x, y: t.y, colour: FRUITS[t.kind][1], life: 0});
        }
    }

    function end(why:String):Void {
        playing = false;
        var record = Progress.offerBest(score);
        showMessage(why, "得分 " + score + (record ? "，创造新纪录！" : "") + "\n点击再玩一次");
    }

    function draw():Void {
        var g = scene.graphics;
        g.clear();
        g.beginFill(flash > 0 ? 0xffffff : 0x4a2c18);
        if (flash > 0) flash--;
        g.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        g.beginFill(0x5a3820);
        var plank = 0;
        while (plank < Game.HEIGHT) {
            g.drawRect(0, plank, Game.WIDTH, 3);
            plank += 57;
        }
        for (s in splashes) {
            g.beginFill(s.colour, 0.6 * (1 - s.life / 25));
            for (k in 0...6) g.drawCircle(s.x + Math.cos(k) * s.life * 2, s.y + Math.sin(k * 2) * s.life * 2, 4);
        }
        for (t in things) {
            if (t.kind == BOMB) {
                g.beginFill(0x101010);
                g.drawCircle(t.x, t.y, t.r);
                g.beginFill(0xff3010);
                g.drawCircle(t.x + Math.cos(t.angle) * t.r, t.y + Math.sin(t.angle) * t.r, 4);
                g.beginFill(0xffffff, 0.3);
                g.drawCircle(t.x - 5, t.y - 5, 5);
            } else {
                g.beginFill(FRUITS[t.kind][0]);
                g.drawCircle(t.x, t.y, t.r);
                g.beginFill(0xffffff, 0.3);
                g.drawCircle(t.x - t.r * 0.35, t.y - t.r * 0.35, t.r * 0.3);
            }
        }
        for (h in halves) {
            // a half disc: skin rim and flesh, cut along the stroke
            for (layer in 0...2) {
                var r = layer == 0 ? h.r : h.r * 0.8;
                g.beginFill(layer == 0 ? FRUITS[h.kind][0] : FRUITS[h.kind][1]);
                g.moveTo(h.x + Math.cos(h.angle) * r, h.y + Math.sin(h.angle) * r);
                for (k in 0...13) {
                    var a = h.angle + h.side * k * Math.PI / 12;
                    g.lineTo(h.x + Math.cos(a) * r, h.y + Math.sin(a) * r);
                }
            }
        }
        g.endFill();
        for (i in 1...trail.length) {
            g.lineStyle(8 - trail[i].age * 0.8, 0xffffff, 1 - trail[i].age / 8);
            g.moveTo(trail[i - 1].x, trail[i - 1].y);
            g.lineTo(trail[i].x, trail[i].y);
        }
        g.lineStyle();
    }
}
