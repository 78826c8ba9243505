import RulesTest.check;
import RulesTest.equal;

// The lawn: planting for sun, shooters stopping walkers in their own lane only, walkers eating
// their way through, the house reached, waves beaten, and sun made and collected.
class LawnTest {
    static function walker(lane:Int, x:Float, hp:Float = 10):Lawn.Walker {
        return {x: x, lane: lane, hp: hp, speed: 0.3, biting: false};
    }

    // Steps until the step gives something else than GOING, or `frames` have passed.
    static function steps(lawn:Lawn, frames:Int):Int {
        for (i in 0...frames) {
            var result = lawn.step();
            if (result != Lawn.GOING) return result;
        }
        return Lawn.GOING;
    }

    public static function run() {
        var lawn = new Lawn();
        equal(150, lawn.sun, "sun at the start");
        check(lawn.plant(0, 2, 1), "a shooter for 100");
        equal(50, lawn.sun, "paid");
        check(!lawn.plant(1, 2, 1), "not on a taken square");
        check(!lawn.plant(0, 3, 1), "not without sun enough");
        check(!lawn.plant(1, 9, 0) && !lawn.plant(1, 0, 5) && !lawn.plant(1, -1, 0), "not off the lawn");
        check(lawn.plant(1, 3, 1), "a sunflower for the last 50");
        equal(0, lawn.sun, "all spent");

        // one shooter against one walker in its lane, another walker in the next lane
        var fight = new Lawn();
        fight.toSpawn = 0; // no wave: only the walkers placed here
        fight.plant(0, 0, 2);
        fight.walkers = [walker(2, 500), walker(3, 500)];
        steps(fight, 1200);
        check(!Lambda.exists(fight.walkers, w -> w.lane == 2), "the walker in the shooter's lane is stopped");
        check(Lambda.exists(fight.walkers, w -> w.lane == 3), "the other lane is not defended");
        equal(Lawn.LOST, steps(fight, 2000), "the walker in the open lane gets through");

        // a walker eats a wall, slowly, and walks on
        var bite = new Lawn();
        bite.toSpawn = 0;
        bite.plant(2, 4, 0);
        bite.walkers = [walker(0, Lawn.LEFT + 4 * Lawn.CW + Lawn.CW / 2 + 12)];
        steps(bite, 60);
        check(bite.walkers[0].biting, "the walker bites the wall");
        equal(39.0, Math.round(bite.plants[0].hp * 10) / 10, "a wall loses one a second");
        var x = bite.walkers[0].x;
        steps(bite, 40 * 60);
        equal(0, bite.plants.length, "the wall is eaten");
        check(bite.walkers[0].x < x && !bite.walkers[0].biting, "the walker walks on");

        // a wave is beaten when all its walkers are gone; the next one is bigger and sun is given
        var waves = new Lawn();
        waves.toSpawn = 0;
        waves.sun = 0;
        equal(Lawn.CLEARED, waves.step(), "no walkers left: the wave is beaten");
        equal(2, waves.wave, "the next wave");
        equal(12, waves.toSpawn, "with more walkers");
        equal(50, waves.sun, "and a gift of sun");

        // walkers of a wave come in from the right edge
        var coming = new Lawn();
        steps(coming, 300);
        equal(1, coming.walkers.length, "the first walker after ten seconds");
        check(coming.walkers[0].x > 500, "from the right");

        // sunflowers make sun, which is collected by clicking it
        var sunny = new Lawn();
        sunny.toSpawn = 0;
        sunny.walkers = [walker(4, 600, 1000)]; // keeps the wave from ending
        sunny.plant(1, 0, 0);
        sunny.suns = [];
        steps(sunny, 600);
        check(sunny.suns.length >= 1, "the sunflower made sun");
        var s = sunny.suns[0];
        var before = sunny.sun;
        check(!sunny.collect(s.x + 40, s.y), "a click beside it misses");
        check(sunny.collect(s.x, s.y), "a click on it collects it");
        equal(before + 25, sunny.sun, "worth 25");
    }
}
