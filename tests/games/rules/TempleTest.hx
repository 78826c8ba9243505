import RulesTest.check;
import RulesTest.equal;
import Temple.Runner;

// The temple: every level is whole, and the runners stand, walk, jump, die in the other's liquid,
// pick up their own gems and find their own doors.
class TempleTest {
    static inline var T = Temple.T;

    static function count(level:Array<String>, c:String):Int {
        var n = 0;
        for (row in level) for (i in 0...row.length) if (row.charAt(i) == c) n++;
        return n;
    }

    // Runs frames with the keys held until it stands still on the ground or dies.
    static function hold(temple:Temple, r:Runner, left:Bool, right:Bool, jump:Bool, frames:Int):String {
        for (i in 0...frames) {
            var died = temple.step(r, left, right, jump);
            if (died != "") return died;
        }
        return "";
    }

    // Walks until the runner's middle is over column `col`.
    static function walkTo(temple:Temple, r:Runner, col:Int):Void {
        for (i in 0...400) {
            var at = Math.floor((r.x + Runner.W / 2) / T);
            if (at == col) break;
            temple.step(r, at > col, at < col, false);
        }
        temple.step(r, false, false, false);
    }

    public static function run() {
        for (i in 0...Temple.LEVELS.length) {
            var level = Temple.LEVELS[i];
            equal(16, level.length, "level " + i + " rows");
            check(!Lambda.exists(level, row -> row.length != 22), "level " + i + " columns");
            check(level[0] == "######################" && level[15] == "######################", "level " + i + " stone at top and bottom");
            check(!Lambda.exists(level, row -> row.charAt(0) != "#" || row.charAt(21) != "#"), "level " + i + " stone at the sides");
            for (c in ["f", "i", "F", "I"]) equal(1, count(level, c), "level " + i + " has one " + c);
            var temple = new Temple(i, [new Runner(true), new Runner(false)]);
            equal(count(level, "r") + count(level, "b"), temple.gemsTotal, "level " + i + " gems");
        }

        // level 1: both start on the floor of row 14, the lava at columns 3-5, the water at 14-16
        var fire = new Runner(true), ice = new Runner(false);
        var temple = new Temple(0, [fire, ice]);
        equal(14.0 * T - Runner.H, fire.y, "Fire starts standing on the floor");
        equal("", hold(temple, fire, false, false, false, 10), "standing still is safe");
        check(fire.onGround, "and on the ground");

        // a jump rises more than three tiles (the step between platforms) but less than four
        var top = fire.y;
        temple.step(fire, false, false, true);
        for (i in 0...60) {
            temple.step(fire, false, false, false);
            top = Math.min(top, fire.y);
        }
        var height = 14 * T - Runner.H - top;
        check(height > 3 * T && height < 4.5 * T, "jump height " + height);
        check(fire.onGround, "lands again");

        // walking into the side wall stops there
        hold(temple, fire, true, false, false, 400);
        equal(T * 1.0, fire.x, "the wall stops Fire");

        // liquids
        var t2 = new Temple(0, [fire, ice]);
        equal("", hold(t2, fire, true, false, false, 100), "Fire walks into the lava unharmed");
        t2 = new Temple(0, [fire, ice]);
        equal("R", hold(t2, ice, true, false, false, 200), "Ice dies in the lava");
        t2 = new Temple(0, [fire, ice]);
        equal("B", hold(t2, fire, false, true, false, 200), "Fire dies in the water");
        t2 = new Temple(0, [fire, ice]);
        equal("", hold(t2, ice, false, true, false, 100), "Ice walks into the water unharmed");
        var goo = new Temple(1, [fire, ice]);
        goo.map[14][11] = "G"; // goo in the floor under the start of Fire in level 2, and next to Ice
        goo.map[14][12] = "G";
        equal("G", hold(goo, fire, false, false, false, 5), "goo kills Fire");
        equal("G", hold(goo, ice, false, true, false, 20), "and Ice");

        // gems and doors
        var t3 = new Temple(0, [fire, ice]);
        t3.map[13][9] = "r";
        t3.map[13][12] = "r";
        t3.map[13][8] = "I";
        t3.map[13][6] = "F";
        walkTo(t3, ice, 12);
        equal(0, t3.gems, "Ice leaves Fire's gem");
        walkTo(t3, fire, 9);
        equal(1, t3.gems, "Fire takes its gem");
        equal(".", t3.map[13][9], "which is gone");
        walkTo(t3, fire, 8);
        check(!fire.atDoor, "Ice's door is not Fire's");
        walkTo(t3, fire, 6);
        check(fire.atDoor, "Fire at its door");
        fire.vy = -5; // in the air it is not at the door
        t3.step(fire, false, false, false);
        check(!fire.atDoor, "Fire jumping past its door");
    }
}
