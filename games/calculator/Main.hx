import common.Button;
import common.Game;
import common.Keys;
import common.Progress;
import flash.text.TextField;
import flash.text.TextFieldAutoSize;

// A desk calculator worked by mouse or keyboard. The memory, the last result and the number of
// sums worked are kept, so they are there again at the next start.
class Main extends Game {
    static inline var MAX_DIGITS = 15;

    var display:TextField;
    var pending:TextField;
    var memoryLine:TextField;
    var lastLine:TextField;

    var entry = "0"; // what is being typed, or the result shown
    var accumulator = 0.0;
    var op = ""; // waiting for its right-hand side
    var fresh = true; // the next digit starts a new entry
    var failed = false;
    var memory:Float;
    var sums:Int;

    static function main() new Main();

    function new() {
        super();
        memory = number(Progress.get("memory", 0.0));
        sums = Std.int(number(Progress.get("sums", 0)));
        var last = number(Progress.get("last", 0.0));

        graphics.beginFill(0x1a1d24);
        graphics.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        graphics.beginFill(0x2b2f3a);
        graphics.drawRoundRect(115, 10, 320, 380, 18, 18);
        graphics.beginFill(0xc8d8b0);
        graphics.drawRect(130, 25, 290, 70);
        graphics.endFill();
        pending = label(136, 28, 13, 0x404a30);
        display = label(136, 44, 30, 0x101810);
        display.autoSize = TextFieldAutoSize.RIGHT;
        memoryLine = label(8, 150, 14, 0xdddddd);
        lastLine = label(8, 190, 14, 0xdddddd);
        label(444, 150, 11, 0x9aa0b0, "Keys:\n0-9 . + - * /\nEnter, = : result\nBackspace: undo\nDelete: CE\nC: clear all\nP: M+   R: MR");

        var rows = [
            ["MC", "MR", "M+", "M-"],
            ["C", "CE", "<-", "/"],
            ["7", "8", "9", "*"],
            ["4", "5", "6", "-"],
            ["1", "2", "3", "+"],
            ["+/-", "0", ".", "="],
            ["sqrt", "x^2", "%", "1/x"]
        ];
        for (r in 0...rows.length) for (c in 0...4) {
            var key = rows[r][c];
            var colour = key == "=" ? 0xe07020 : (r == 0 ? 0x4a5a7a : (c == 3 || r == 6 || r == 1 ? 0x5a6272 : 0x7a8294));
            addChild(new Button(130 + c * 74, 105 + r * 40, 68, 34, key, colour, press.bind(key)));
        }
        entry = format(last);
        refresh();
    }

    static function number(value:Dynamic):Float {
        return Std.isOfType(value, Float) || Std.isOfType(value, Int) ? value : 0.0;
    }

    override function keyDown(keyCode:Int, charCode:Int):Void {
        switch (keyCode) {
            case Keys.ENTER: press("=");
            case Keys.BACKSPACE: press("<-");
            case Keys.DELETE: press("CE");
            default:
                var ch = String.fromCharCode(charCode);
                switch (ch) {
                    case "0" | "1" | "2" | "3" | "4" | "5" | "6" | "7" | "8" | "9" | "." | "+" | "-" | "*" | "/" | "=" | "%":
                        press(ch);
                    case "x" | "X": press("*");
                    case "c" | "C": press("C");
                    case "p" | "P": press("M+");
                    case "r" | "R": press("MR");
                }
        }
    }

    function press(key:String):Void {
        if (failed && key != "C" && key != "CE") return;
        switch (key) {
            case "0" | "1" | "2" | "3" | "4" | "5" | "6" | "7" | "8" | "9":
                if (fresh || entry == "0") entry = key else if (digits(entry) < MAX_DIGITS) entry += key;
                fresh = false;
            case ".":
                if (fresh) entry = "0." else if (entry.indexOf(".") < 0) entry += ".";
                fresh = false;
            case "<-":
                if (!fresh) entry = entry.length > 1 && entry != "-0." ? entry.substr(0, entry.length - 1) : "0";
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
                if (entry != "0") entry = entry.charAt(0) == "-" ? entry.substr(1) : "-" + entry;
            case "+" | "-" | "*" | "/":
                if (op != "" && !fresh) apply() else if (op == "") accumulator = value();
                op = key;
                fresh = true;
            case "=":
                if (op != "") {
                    apply();
                    op = "";
                    fresh = true;
                    if (!failed) finished();
                }
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
        refresh();
    }

    function digits(text:String):Int {
        var count = 0;
        for (i in 0...text.length) if (text.charAt(i) >= "0" && text.charAt(i) <= "9") count++;
        return count;
    }

    function value():Float {
        var v = Std.parseFloat(entry);
        return Math.isNaN(v) ? 0 : v;
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

    // Shows a computed value as the new entry; a division by zero or a root of a negative fails.
    function show(v:Float):Void {
        fresh = true;
        if (!Math.isFinite(v)) {
            failed = true;
            entry = "Error";
            op = "";
            return;
        }
        entry = format(v);
    }

    function finished():Void {
        sums++;
        Progress.set("last", value());
        Progress.set("sums", sums);
        Progress.offerBest(sums);
    }

    function setMemory(v:Float):Void {
        memory = Math.isFinite(v) ? v : 0;
        Progress.set("memory", memory);
        fresh = true;
    }

    // Twelve significant digits hide the binary rounding (0.1 + 0.2 shows 0.3).
    static function format(v:Float):String {
        if (v == 0) return "0";
        var text:String = untyped v.toPrecision(12);
        var exponent = "";
        var e = text.indexOf("e");
        if (e >= 0) {
            exponent = text.substr(e);
            text = text.substr(0, e);
        }
        if (text.indexOf(".") >= 0) {
            while (StringTools.endsWith(text, "0")) text = text.substr(0, text.length - 1);
            if (StringTools.endsWith(text, ".")) text = text.substr(0, text.length - 1);
        }
        return text + exponent;
    }

    function refresh():Void {
        display.text = entry;
        display.x = 414 - display.width;
        pending.text = (memory != 0 ? "M  " : "   ") + (op != "" ? format(accumulator) + " " + op : "");
        memoryLine.text = "Memory:\n" + format(memory);
        lastLine.text = "Last result:\n" + format(number(Progress.get("last", 0.0))) + "\n\nSums worked:\n" + sums;
    }
}
