import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;


// A slingshot: drag the bird back with the mouse and let go. The bird flies under gravity and
// knocks blocks off their stacks; what loses its support falls, a falling or hit pig pops. All
// pigs popped clears the level, running out of birds tries it again.
class Main extends Game {
    static inline var GROUND = Yard.GROUND;
    static inline var GRAVITY = Yard.GRAVITY;
    static inline var SLING_X = 95.0;
    static inline var SLING_Y = 290.0;
    static inline var BIRD_R = Yard.BIRD_R;
    static inline var PIG_R = Yard.PIG_R;
    static inline var MAX_PULL = 75.0;
    static inline var BIRDS = 4;

    var scene = new Sprite();
    var status:TextField;
    var yard:Yard;
    var puffs:Array<{x:Float, y:Float, life:Int}> = [];
    var dragging = false;
    var birdsLeft = 0;
    var level = 0;
    var score = 0;
    var state = 0; // 0 aiming or flying, 1 level over

    static function main() new Main();

    function new() {
        super();
        addChild(scene);
        label(8, 8, 18, 0xc62828, "愤怒的小鸟网页版");
        status = label(170, 4, 14, 0x202020);
        stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) pressed());
        stage.addEventListener(MouseEvent.MOUSE_UP, function(_) released());
        var saved:Dynamic = Progress.get("level", 0);
        load(Std.isOfType(saved, Int) ? Std.int(Math.min(saved, Yard.LEVELS.length - 1)) : 0);
    }

    function load(index:Int):Void {
        level = index;
        yard = new Yard(index);
        birdsLeft = BIRDS;
        state = 0;
        hideMessage();
    }

    override function keyDown(keyCode:Int, charCode:Int):Void {
        if (keyCode == Keys.A + 17) load(level); // R tries the level again
    }

    function pressed():Void {
        if (state == 1) {
            var won = yard.pigs.length == 0;
            if (won) score += yard.points else score = 0;
            load(won ? (level + 1) % Yard.LEVELS.length : level);
            return;
        }
        if (yard.bird == null && birdsLeft > 0) {
            var dx = mouseX - SLING_X, dy = mouseY - SLING_Y;
            if (dx * dx + dy * dy < 50 * 50) dragging = true;
        }
    }

    function pull():{x:Float, y:Float} {
        var dx = mouseX - SLING_X, dy = mouseY - SLING_Y;
        var len = Math.sqrt(dx * dx + dy * dy);
        if (len > MAX_PULL) {
            dx *= MAX_PULL / len;
            dy *= MAX_PULL / len;
        }
        return {x: dx, y: dy};
    }

    function released():Void {
        if (!dragging) return;
        dragging = false;
        var p = pull();
        if (p.x * p.x + p.y * p.y < 100) return; // too short a pull: nothing happens
        yard.launch(SLING_X + p.x, SLING_Y + p.y, -p.x * 0.22, -p.y * 0.22);
        birdsLeft--;
    }

    override function tick():Void {
        yard.step();
        for (p in yard.popped) puffs.push({x: p.x, y: p.y, life: 0});
        yard.popped = [];
        if (state == 0 && yard.bird == null) {
            if (yard.pigs.length == 0) finish(true) else if (birdsLeft == 0 && yard.calm()) finish(false);
        }
        status.text = "第 " + (level + 1) + "/" + Yard.LEVELS.length + " 关    小鸟 " + birdsLeft + "    得分 " + (score + yard.points)
            + "    最高分 " + Progress.best() + "\n把小鸟向后拉，松手发射    R：重来";
        draw();
    }

    function finish(won:Bool):Void {
        state = 1;
        if (won) {
            yard.points += birdsLeft * 1000;
            Progress.offerBest(score + yard.points);
            if (level + 1 > Progress.get("level", 0)) Progress.set("level", Std.int(Math.min(level + 1, Yard.LEVELS.length - 1)));
            showMessage("过关！", "+" + yard.points + " 分\n点击进入下一关");
        } else {
            Progress.offerBest(score + yard.points);
            showMessage("小鸟用完了", "点击再试一次");
        }
    }

    function draw():Void {
        var g = scene.graphics;
        g.clear();
        g.beginFill(0x9ad0f0);
        g.drawRect(0, 0, Game.WIDTH, GROUND);
        g.beginFill(0x5a9a3a);
        g.drawRect(0, GROUND, Game.WIDTH, Game.HEIGHT - GROUND);
        // the slingshot
        g.beginFill(0x6a4020);
        g.drawRect(SLING_X - 4, SLING_Y, 8, GROUND - SLING_Y);
        g.drawRect(SLING_X - 16, SLING_Y - 20, 6, 30);
        g.drawRect(SLING_X + 10, SLING_Y - 20, 6, 30);
        g.endFill();
        for (b in yard.blocks) drawBlock(b);
        for (f in puffs) {
            f.life++;
            g.beginFill(0xffffff, 1 - f.life / 20);
            g.drawCircle(f.x, f.y, 8 + f.life * 1.5);
            g.endFill();
        }
        puffs = puffs.filter(f -> f.life < 20);
        for (p in yard.pigs) {
            g.beginFill(0x60c040);
            g.drawCircle(p.x, p.y, PIG_R);
            g.beginFill(0x90e070);
            g.drawEllipse(p.x - 5, p.y, 10, 7);
            g.beginFill(0x000000);
            g.drawCircle(p.x - 4, p.y - 4, 1.8);
            g.drawCircle(p.x + 4, p.y - 4, 1.8);
            g.endFill();
        }
        if (dragging) {
            var p = pull();
            var bx = SLING_X + p.x, by = SLING_Y + p.y;
            g.lineStyle(3, 0x402010);
            g.moveTo(SLING_X - 13, SLING_Y - 18);
            g.lineTo(bx, by);
            g.lineTo(SLING_X + 13, SLING_Y - 18);
            g.lineStyle();
            // where the shot would go
            var x = bx, y = by, vx = -p.x * 0.22, vy = -p.y * 0.22;
            for (i in 0...40) {
                vy += GRAVITY;
                x += vx;
                y += vy;
                if (i % 3 == 0) {
                    g.beginFill(0xffffff, 0.8);
                    g.drawCircle(x, y, 2);
                }
            }
            drawBird(bx, by);
        } else if (yard.bird != null) {
            drawBird(yard.bird.x, yard.bird.y);
        } else if (birdsLeft > 0 && state == 0) {
            drawBird(SLING_X, SLING_Y - 14);
        }
        for (i in 0...birdsLeft - (yard.bird == null && state == 0 ? 1 : 0)) drawBird(60 - i * 22, GROUND - BIRD_R);
        g.endFill();
    }

    function drawBlock(b:Yard.Block):Void {
        var g = scene.graphics;
        var cx = b.x + b.w / 2, cy = b.y + b.h / 2, c = Math.cos(b.angle), s = Math.sin(b.angle);
        g.lineStyle(1, 0x6a4a20);
        g.beginFill(b.loose ? 0xb08850 : 0xd0a060, b.loose ? Math.max(0, 1 - b.life / 90) : 1);
        var corners = [[-b.w / 2, -b.h / 2], [b.w / 2, -b.h / 2], [b.w / 2, b.h / 2], [-b.w / 2, b.h / 2]];
        g.moveTo(cx + corners[3][0] * c - corners[3][1] * s, cy + corners[3][0] * s + corners[3][1] * c);
        for (k in corners) g.lineTo(cx + k[0] * c - k[1] * s, cy + k[0] * s + k[1] * c);
        g.endFill();
        g.lineStyle();
    }

    function drawBird(x:Float, y:Float):Void {
        var g = scene.graphics;
        g.beginFill(0xd02020);
        g.drawCircle(x, y, BIRD_R);
        g.beginFill(0xffffff);
        g.drawCircle(x + 3, y - 3, 3);
        g.beginFill(0xf0b020);
        g.moveTo(x + 8, y - 1);
        g.lineTo(x + 14, y + 2);
        g.lineTo(x + 8, y + 4);
        g.endFill();
    }
}
