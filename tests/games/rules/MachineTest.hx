import RulesTest.check;
import RulesTest.equal;

// The calculator: sums keyed in as a user does, errors, editing keys, memory and how results show.
class MachineTest {
    // Presses the keys of a text, where "a b" are separate keys and a word is one key ("sqrt").
    static function keys(m:Machine, text:String):Bool {
        var finished = false;
        for (key in text.split(" ")) if (key != "") finished = m.press(key);
        return finished;
    }

    static function result(text:String):String {
        var m = new Machine(0, 0);
        keys(m, text);
        return m.entry;
    }

    public static function run() {
        equal("84", result("1 2 + 3 0 * 2 ="), "left to right, as a desk calculator");
        equal("0.3", result("0 . 1 + 0 . 2 ="), "binary rounding hidden");
        equal("2", result("5 + - 3 ="), "a second operator replaces the first");
        equal("15", result("1 0 + 5 = ="), "a second = does nothing");
        equal("220", result("2 0 0 + 1 0 % ="), "percent of the left-hand side");
        equal("0.5", result("5 0 %"), "percent alone");
        equal("4", result("2 x^2"), "square");
        equal("0.25", result("4 1/x"), "inverse");
        equal("0.5", result(". . 5"), "a second point is ignored");
        equal("-5", result("5 +/-"), "change of sign");
        equal("0", result("0 +/-"), "zero has no sign");
        equal("12", result("1 2 3 <-"), "backspace");
        equal("0", result("5 <- <-"), "backspace to nothing");
        equal("0", result("5 +/- <-"), "backspace of a lone minus");
        equal("999999999999999", result([for (i in 0...20) "9"].join(" ")), "at most fifteen digits");

        var m = new Machine(0, 0);
        check(keys(m, "3 + 4 ="), "= finishes a sum");
        check(!keys(m, "3 ="), "= without an operator finishes nothing");

        // errors stop everything but clearing
        equal("错误", result("7 / 0 ="), "division by zero");
        equal("错误", result("4 +/- sqrt"), "root of a negative");
        equal("错误", result("0 1/x"), "inverse of zero");
        var failing = new Machine(0, 0);
        check(!keys(failing, "7 / 0 ="), "a failed sum is not finished");
        keys(failing, "5 + 1");
        equal("错误", failing.entry, "keys after an error are ignored");
        keys(failing, "C 2 + 2 =");
        equal("4", failing.entry, "C clears the error");

        // memory
        var mem = new Machine(0, 0);
        keys(mem, "9 M+ C 1 MR");
        equal("9", mem.entry, "memory recalled");
        keys(mem, "4 M-");
        equal(5.0, mem.memory, "memory minus");
        keys(mem, "MC");
        equal(0.0, mem.memory, "memory cleared");
        var kept = new Machine(42, 0.75);
        equal("0.75", kept.entry, "the last result shows at the start");
        keys(kept, "MR");
        equal("42", kept.entry, "kept memory");
        equal("0", new Machine(Math.NaN, Math.POSITIVE_INFINITY).entry, "kept values that are not numbers");

        // how numbers show
        equal("0.333333333333", Machine.format(1 / 3), "twelve digits");
        equal("123456789012", Machine.format(123456789012), "a large whole number");
        equal("1e+20", Machine.format(1e20), "very large");
        equal("-1.234e-7", Machine.format(-0.0000001234), "very small");
        equal("1000", Machine.format(1000), "a power of ten");
        equal("1e+15", Machine.format(999999999999999.9), "rounding up to the next power");
    }
}
