import haxe.PosInfos;

// The rules of the store games, run by Haxe's interpreter: the parts of each game that decide
// what a move does, without the movie around them.
class RulesTest {
    static var failures = 0;
    static var checks = 0;

    static function main() {
        Std.random(1); // the games' random parts run as they do in the movie
        TilesTest.run();
        GridTest.run();
        BoardTest.run();
        WellTest.run();
        FieldTest.run();
        PositionTest.run();
        MachineTest.run();
        ChainTest.run();
        CompositionTest.run();
        TempleTest.run();
        LawnTest.run();
        YardTest.run();
        Sys.println('$checks checks, $failures failed');
        Sys.exit(failures == 0 ? 0 : 1);
    }

    public static function check(condition:Bool, what:String, ?pos:PosInfos) {
        checks++;
        if (!condition) {
            failures++;
            Sys.println('${pos.fileName}:${pos.lineNumber}: FAILED: $what');
        }
    }

    public static function equal<T>(expected:T, actual:T, what:String, ?pos:PosInfos) {
        check(Std.string(expected) == Std.string(actual), '$what: expected $expected, got $actual', pos);
    }
}
