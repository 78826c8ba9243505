import common.Button;
import common.Game;
import common.Keys;
import common.Progress;
import flash.text.TextField;
import flash.text.TextFieldAutoSize;

// A desk calculator worked by mouse or keyboard. The memory, the last result and the number of
// sums worked are kept, so they are there again at the next start.
class Main extends Game {
    var display:TextField;
    var pending:TextField;
    var memoryLine:TextField;
    var lastLine:TextField;

    var machine:Machine;
    var sums:Int;

    static function main() new Main();

    function new() {
        super();
        machine = new Machine(number(Progress.get("memory", 0.0)), number(Progress.get("last", 0.0)));
        sums = Std.int(number(Progress.get("sums", 0)));

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
        label(8, 24, 22, 0xf0a060, "计算器");
        memoryLine = label(8, 150, 14, 0xdddddd);
        lastLine = label(8, 200, 14, 0xdddddd);
        label(442, 150, 12, 0x9aa0b0, "键盘：\n0-9 . + - * /\nEnter、=：结果\nBackspace：退格\nDelete：CE\nC：全部清除\nP：M+   R：MR");

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
        var memory = machine.memory;
        if (machine.press(key)) {
            sums++;
            Progress.set("last", machine.value());
            Progress.set("sums", sums);
            Progress.offerBest(sums);
        }
        if (machine.memory != memory) Progress.set("memory", machine.memory);
        refresh();
    }

    function refresh():Void {
        display.text = machine.entry;
        display.x = 414 - display.width;
        pending.text = (machine.memory != 0 ? "M  " : "   ") + (machine.op != "" ? Machine.format(machine.accumulator) + " " + machine.op : "");
        memoryLine.text = "存储：\n" + Machine.format(machine.memory);
        lastLine.text = "上次结果：\n" + Machine.format(number(Progress.get("last", 0.0))) + "\n\n已算次数：\n" + sums;
    }
}
