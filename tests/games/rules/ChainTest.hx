import Chain.Ball;
import RulesTest.check;
import RulesTest.equal;

// The ball chain: shots joining it, runs of three vanishing, gaps closing and the chain reactions
// that follow, and the rear pushing the front.
class ChainTest {
    // A chain of touching balls of the given colours, its rear ball at s = 100.
    static function chain(colours:Array<Int>):Chain {
        var c = new Chain(0, 1);
        c.balls = [for (i in 0...colours.length) ({colour: colours[i], s: 100 + i * Chain.D} : Ball)];
        return c;
    }

    static function colours(c:Chain):Array<Int> {
        return [for (b in c.balls) b.colour];
    }

    static function touching(c:Chain):Bool {
        for (i in 1...c.balls.length) if (Math.abs(c.balls[i].s - c.balls[i - 1].s - Chain.D) > 0.01) return false;
        return true;
    }

    public static function run() {
        var start = new Chain(60, 4);
        equal(60, start.balls.length, "balls of a new chain");
        check(start.lead() <= 0, "a new chain waits before the start");
        var threes = 0;
        for (i in 2...60) if (start.balls[i].colour == start.balls[i - 1].colour && start.balls[i].colour == start.balls[i - 2].colour) threes++;
        equal(0, threes, "no three of a colour in a new chain");
        check(!Lambda.exists(start.balls, b -> b.colour < 0 || b.colour >= 4), "only the level's colours");

        var two = chain([0, 1, 1, 2]);
        equal(30, two.insert(2, true, 1), "a shot making three scores");
        equal([0, 2], colours(two), "and the three vanish");

        var front = chain([0, 1, 2]);
        var lead = front.lead();
        equal(0, front.insert(0, true, 3), "no run: no points");
        equal([0, 3, 1, 2], colours(front), "the shot sits in front of the ball it hit");
        equal(lead + Chain.D, front.lead(), "the balls in front move up by one");
        check(touching(front), "and still touch");
        var behind = chain([0, 1, 2]);
        behind.insert(1, false, 3);
        equal([0, 3, 1, 2], colours(behind), "a shot behind the ball it hit");

        // a gap between different colours stays; the front part stands while the rear rolls
        var gap = chain([0, 1, 1, 2, 3]);
        gap.insert(2, true, 1);
        equal([0, 2, 3], colours(gap), "three in the middle vanish, leaving a gap");
        var standing = gap.balls[1].s;
        for (i in 0...10) gap.roll(1);
        equal(standing, gap.balls[1].s, "the front part stands");
        equal(110.0, gap.balls[0].s, "the rear rolls on");

        // a gap with one colour at both ends closes, and the run it makes vanishes for double points
        var reaction = chain([2, 0, 1, 1, 0, 3]);
        equal(30, reaction.insert(3, true, 1), "three ones vanish");
        equal([2, 0, 0, 3], colours(reaction), "leaving two noughts apart");
        var points = 0;
        for (i in 0...30) points += reaction.roll(0);
        equal([2, 0, 0, 3], colours(reaction), "two of a colour close up without vanishing");
        check(touching(reaction), "the whole front part was pulled back");

        var double = chain([2, 0, 0, 1, 1, 0, 3]);
        double.insert(4, true, 1);
        points = 0;
        for (i in 0...30) points += double.roll(0);
        equal([2, 3], colours(double), "the closing makes three noughts, which vanish");
        equal(60, points, "for double points");

        // the rear pushes what it meets
        var pushed = chain([0, 1]);
        pushed.balls[1].s += 50;
        for (i in 0...60) pushed.roll(1);
        check(touching(pushed), "the rear catches up and pushes");
        equal(100 + 60 + Chain.D, pushed.lead(), "the front is pushed along");
    }
}
