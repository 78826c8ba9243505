// The calculator's working: keys in, the entry shown out. Operators apply from left to right as
// on a desk calculator (2 + 3 * 4 = 20); a division by zero, or a root or inverse that has none,
// shows "错误" (error) until C or CE.
class Machine {
    static inline var MAX_DIGITS = 15;

    public var entry(default, null) = "0"; // what is being typed, or the result shown
    public var accumulator(default, null) = 0.0;
    public var op(default, null) = ""; // waiting for its right-hand side
    public var memory(default, null):Float;

    var fresh = true; // the next digit starts a new entry
    var failed = false;

    public function new(memory:Float, shown:Float) {
        this.memory = Math.isFinite(memory) ? memory : 0;
        entry = Math.isFinite(shown) ? format(shown) : "0";
    }

    // Works one key; true when it was an = that finished a sum.
    public function press(key:String):Bool {
        if (failed && key != "C" && key != "CE") return false;
        switch (key) {
            case "0" | "1" | "2" | "3" | "4" | "5" | "6" | "7" | "8" | "9":
                if (fresh || entry == "0") entry = key else if (digits(entry) < MAX_DIGITS) entry += key;
                fresh = false;
            case ".":
                if (fresh) entry = "0." else if (entry.indexOf(".") < 0) entry += ".";
                fresh = false;
            case "<-":
                if (!fresh) entry = entry.length > 1 ? entry.substr(0, entry.length - 1) : "0";
                if (entry == "-") entry = "0";
            case "CE":
                entry = "0";
                fresh = true;
                failed = false;
            case "C":
                entry = "0";
                accumulator = 0;
                op = "";
                fresh = true;
                failed = false;
            case "+/-":
                if (value() != 0) entry = entry.charAt(0) == "-" ? entry.substr(1) : "-" + entry;
            case "+" | "-" | "*" | "/":
                if (op != "" && !fresh) apply() else if (op == "") accumulator = value();
                op = key;
                fresh = true;
            case "=":
                if (op == "") return false;
                apply();
                op = "";
                return !failed;
            case "%": show(op == "+" || op == "-" ? accumulator * value() / 100 : value() / 100);
            case "sqrt": show(value() >= 0 ? Math.sqrt(value()) : Math.NaN);
            case "x^2": show(value() * value());
            case "1/x": show(value() != 0 ? 1 / value() : Math.NaN);
            case "MC": setMemory(0);
            case "MR":
                entry = format(memory);
                fresh = true;
            case "M+": setMemory(memory + value());
            case "M-": setMemory(memory - value());
        }
        return false;
    }

    public function value():Float {
        var v = Std.parseFloat(entry);
        return Math.isNaN(v) ? 0 : v;
    }

    static function digits(text:String):Int {
        var count = 0;
        for (i in 0...text.length) if (text.charAt(i) >= "0" && text.charAt(i) <= "9") count++;
        return count;
    }

    function apply():Void {
        var right = value();
        var result = switch (op) {
            case "+": accumulator + right;
            case "-": accumulator - right;
            case "*": accumulator * right;
            case "/": right == 0 ? Math.NaN : accumulator / right;
            default: right;
        }
        show(result);
        accumulator = result;
    }

    // A computed value becomes the entry; one that is not a number fails.
    function show(v:Float):Void {
        fresh = true;
        if (!Math.isFinite(v)) {
            failed = true;
            entry = "错误";
            op = "";
            return;
        }
        entry = format(v);
    }

    function setMemory(v:Float):Void {
        memory = Math.isFinite(v) ? v : 0;
        fresh = true;
    }

    // Twelve significant digits, which hide the binary rounding (0.1 + 0.2 shows 0.3); very large
    // and very small numbers with a power of ten.
    public static function format(v:Float):String {
        if (v == 0) return "0";
        var sign = v < 0 ? "-" : "";
        var a = Math.abs(v);
        var exponent = Math.floor(Math.log(a) / Math.log(10));
        if (exponent >= MAX_DIGITS || exponent < -6) {
            var mantissa = Math.fround(a / Math.pow(10, exponent) * 1e9) / 1e9;
            if (mantissa >= 10) {
                mantissa /= 10;
                exponent++;
            }
            return sign + mantissa + "e" + (exponent > 0 ? "+" : "") + exponent;
        }
        var scale = Math.pow(10, 11 - exponent);
        return sign + Math.fround(a * scale) / scale;
    }
}
