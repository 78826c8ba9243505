import RulesTest.check;
import RulesTest.equal;
import Yard.Block;

// The slingshot's yard: stacks that stand until hit, a fast bird knocking a post out and what
// stood on it falling, a slow bird bouncing off, pigs popping when hit, crushed or dropped, and
// the bird leaving play.
class YardTest {
    static function steps(yard:Yard, frames:Int):Void {
        for (i in 0...frames) yard.step();
    }

    static function block(x:Float, y:Float, w:Float, h:Float):Block {
        return {x: x, y: y, w: w, h: h, vx: 0, vy: 0, angle: 0, spin: 0, loose: false, life: 0};
    }

    public static function run() {
        for (i in 0...Yard.LEVELS.length) {
            var yard = new Yard(i);
            var before = Std.string([for (b in yard.blocks) [b.x, b.y]]) + Std.string([for (p in yard.pigs) [p.x, p.y]]);
            steps(yard, 600);
            var after = Std.string([for (b in yard.blocks) [b.x, b.y]]) + Std.string([for (p in yard.pigs) [p.x, p.y]]);
            equal(before, after, "level " + (i + 1) + " stands untouched");
            equal(0, yard.points, "level " + (i + 1) + " scores nothing by itself");
        }

        // level 1: two posts, a plank across them, a pig on the plank and one on the ground
        var hit = new Yard(0);
        hit.launch(330, 330, 12, 0);
        steps(hit, 10);
        check(hit.blocks[0].loose, "a fast bird knocks the left post loose");
        steps(hit, 200);
        check(!Lambda.exists(hit.pigs, p -> p.x == 420), "the pig on the plank is gone");
        check(hit.points >= 600, "points for the post and the pig: " + hit.points);
        equal(1, hit.popped.filter(p -> p.x == 420).length, "its pop is shown once");

        var slow = new Yard(0);
        slow.launch(370, 340, 2, 0);
        slow.step();
        slow.step();
        check(!slow.blocks[0].loose, "a slow bird does not knock the post");
        check(slow.bird.vx < 0, "it bounces back");

        var onTop = new Yard(0);
        onTop.launch(395, 270, 0.5, 1);
        steps(onTop, 40);
        check(!onTop.blocks[2].loose && onTop.bird.y <= 285 - Yard.BIRD_R + 0.5, "a slow bird lands on the plank and stays on it");

        var pig = new Yard(0);
        pig.launch(480, 348, 3, 0);
        steps(pig, 5);
        equal(1, pig.pigs.length, "a bird touching a pig pops it");
        equal(500, pig.points, "for 500");

        var crush = new Yard(0);
        crush.blocks = [block(400, 100, 40, 20)];
        crush.pigs = [{x: 420, y: 348, vy: 0, fell: 0}];
        steps(crush, 80);
        equal(0, crush.pigs.length, "a falling block crushes a pig");

        var drop = new Yard(0);
        drop.blocks = [];
        drop.pigs = [{x: 200, y: 250, vy: 0, fell: 0}, {x: 300, y: 335, vy: 0, fell: 0}];
        steps(drop, 80);
        equal([300.0], [for (p in drop.pigs) p.x], "a long fall pops a pig, a short one does not");

        // the bird comes to rest on the ground, or flies off, and leaves play
        var rest = new Yard(0);
        rest.launch(100, 340, 1, 0);
        steps(rest, 300);
        check(rest.bird == null, "a bird at rest leaves play");
        var away = new Yard(0);
        away.launch(100, 100, 20, -5);
        steps(away, 60);
        check(away.bird == null, "a bird that flies off leaves play");

        // calm once what was knocked has tumbled a while
        var busy = new Yard(0);
        busy.launch(330, 330, 12, 0);
        steps(busy, 10);
        check(!busy.calm(), "not calm while a block tumbles");
        steps(busy, 120);
        check(busy.calm(), "calm again");
    }
}
