import common.Game;
import common.Keys;
import common.Progress;
import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;

using Lambda;

// A chain of coloured balls rolls along a spiral towards the hole. The frog in the middle turns to
// the mouse and spits a ball where it is clicked; three or more of a colour touching vanish, and a
// gap whose two ends share a colour pulls the front part back, which can clear more.
class Main extends Game {
    static inline var D = Chain.D;
    static inline var CX = 275.0;
    static inline var CY = 205.0;
    static var COLOURS = [0xe03030, 0x3070e0, 0x30b040, 0xe0c020, 0xa040d0, 0xf08030];

    var px:Array<Float> = [];
    var py:Array<Float> = [];
    var track = new Sprite();
    var board = new Sprite();
    var status:TextField;

    var chain = new Chain(0, 1);
    var shot:{colour:Int, x:Float, y:Float, dx:Float, dy:Float} = null;
    var current = 0;
    var next = 0;
    var level = 1;
    var score = 0;
    var over = false;

    static function main() new Main();

    function new() {
        super();
        buildPath();
        addChild(track);
        addChild(board);
        drawTrack();
        label(8, 2, 18, 0xFFD54F, "祖玛青蛙");
        status = label(96, 5, 14, 0xffffff);
        stage.addEventListener(MouseEvent.MOUSE_DOWN, function(_) fire());
        startLevel();
    }

    // The path spirals inwards; it is resampled so that one index is one pixel of length.
    function buildPath():Void {
        var turns = 2.2 * Math.PI * 2;
        var lastX = Math.NaN, lastY = 0.0;
        var a = 0.0;
        while (a < turns) {
            var r = 185 - a * 95 / turns;
            var x = CX + r * 1.35 * Math.cos(a + Math.PI), y = CY + r * 0.95 * Math.sin(a + Math.PI);
            if (Math.isNaN(lastX) || Math.sqrt((x - lastX) * (x - lastX) + (y - lastY) * (y - lastY)) >= 1) {
                px.push(x);
                py.push(y);
                lastX = x;
                lastY = y;
            }
            a += 0.0005;
        }
    }

    function drawTrack():Void {
        var g = track.graphics;
        g.beginFill(0x1f3a1a);
        g.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        g.endFill();
        g.lineStyle(D + 8, 0x6b4a2a);
        g.moveTo(px[0], py[0]);
        var i = 0;
        while (i < px.length) {
            g.lineTo(px[i], py[i]);
            i += 4;
        }
        g.lineStyle();
        var end = px.length - 1;
        g.beginFill(0x000000);
        g.drawCircle(px[end], py[end], 16);
        g.endFill();
    }

    function colourCount():Int {
        return level == 1 ? 4 : (level < 4 ? 5 : 6);
    }

    function startLevel():Void {
        chain = new Chain(30 + level * 10, colourCount());
        shot = null;
        over = false;
        hideMessage();
        current = pickColour();
        next = pickColour();
    }

    // Shots only come in colours still in the chain.
    function pickColour():Int {
        if (chain.balls.length == 0) return 0;
        return chain.balls[Std.random(chain.balls.length)].colour;
    }

    function fire():Void {
        if (over) {
            if (chain.balls.length > 0) {
                level = 1;
                score = 0;
            }
            startLevel();
            return;
        }
        if (shot != null) return;
        var dx = mouseX - CX, dy = mouseY - CY;
        var len = Math.sqrt(dx * dx + dy * dy);
        if (len < 1) return;
        shot = {colour: current, x: CX, y: CY, dx: dx / len * 10, dy: dy / len * 10};
        current = next;
        next = pickColour();
    }

    override function keyDown(keyCode:Int, charCode:Int):Void {
        if (keyCode == Keys.SPACE) { // space swaps the ball in the mouth with the next
            var t = current;
            current = next;
            next = t;
        }
    }

    override function tick():Void {
        if (!over) {
            score += chain.roll(chain.lead() < 350 ? 3.0 : 0.3 + level * 0.06);
            moveShot();
            if (chain.balls.length == 0) {
                over = true;
                level++;
                Progress.offerBest(score);
                showMessage("过关！", "得分 " + score + "\n点击进入第 " + level + " 关");
            } else if (chain.lead() >= px.length - 1) {
                over = true;
                Progress.offerBest(score);
                showMessage("游戏结束", "球链滚进了洞口，得分 " + score + "\n点击再玩一次");
            }
        }
        if (!chain.balls.exists(b -> b.colour == current)) current = pickColour();
        if (!chain.balls.exists(b -> b.colour == next)) next = pickColour();
        status.text = "得分 " + score + "    最高分 " + Math.max(score, Progress.best()) + "    第 " + level + " 关"
            + "    点击发射，空格键换球";
        draw();
    }

    function moveShot():Void {
        if (shot == null) return;
        shot.x += shot.dx;
        shot.y += shot.dy;
        if (shot.x < -D || shot.x > Game.WIDTH + D || shot.y < -D || shot.y > Game.HEIGHT + D) {
            shot = null;
            return;
        }
        for (i in 0...chain.balls.length) {
            var b = chain.balls[i];
            if (b.s < 0) continue;
            var k = Std.int(b.s);
            var dx = shot.x - px[k], dy = shot.y - py[k];
            if (dx * dx + dy * dy < D * D) {
                insert(i);
                return;
            }
        }
    }

    // The shot joins the chain beside the ball it hit, on the side it came closer to.
    function insert(hit:Int):Void {
        var s = chain.balls[hit].s;
        var ahead = Std.int(Math.min(px.length - 1, s + D / 2)), behind = Std.int(Math.max(0, s - D / 2));
        score += chain.insert(hit, dist(ahead) < dist(behind), shot.colour);
        shot = null;
    }

    function dist(k:Int):Float {
        return (shot.x - px[k]) * (shot.x - px[k]) + (shot.y - py[k]) * (shot.y - py[k]);
    }

    function drawBall(x:Float, y:Float, colour:Int, r:Float = 10):Void {
        var g = board.graphics;
        g.beginFill(colour);
        g.drawCircle(x, y, r);
        g.beginFill(0xffffff, 0.45);
        g.drawCircle(x - r * 0.35, y - r * 0.35, r * 0.35);
        g.endFill();
    }

    function draw():Void {
        var g = board.graphics;
        g.clear();
        for (b in chain.balls) {
            if (b.s < 0) continue;
            var k = Std.int(Math.min(px.length - 1, b.s));
            drawBall(px[k], py[k], COLOURS[b.colour]);
        }
        if (shot != null) drawBall(shot.x, shot.y, COLOURS[shot.colour]);
        // the frog, facing the mouse, with the ball in its mouth and the next one on its back
        var a = Math.atan2(mouseY - CY, mouseX - CX);
        g.beginFill(0x2f8f3f);
        g.drawCircle(CX, CY, 30);
        g.beginFill(0x58c060);
        g.drawCircle(CX + Math.cos(a) * 10, CY + Math.sin(a) * 10, 20);
        for (side in [-1, 1]) {
            var ex = CX + Math.cos(a + side * 0.6) * 22, ey = CY + Math.sin(a + side * 0.6) * 22;
            g.beginFill(0xffffff);
            g.drawCircle(ex, ey, 6);
            g.beginFill(0x000000);
            g.drawCircle(ex + Math.cos(a) * 2, ey + Math.sin(a) * 2, 3);
        }
        g.endFill();
        drawBall(CX + Math.cos(a) * 30, CY + Math.sin(a) * 30, COLOURS[current]);
        drawBall(CX - Math.cos(a) * 18, CY - Math.sin(a) * 18, COLOURS[next], 6);
    }
}
