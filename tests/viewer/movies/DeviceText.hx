import flash.text.TextField;
import flash.text.TextFormat;

// One line of device text (no embedded font) per font name a movie of the store's time may ask
// for, each in a colour of its own, so that a test can tell by the colour's pixels whether that
// line shows. Every line is Chinese but the last, which is Latin. The same names and colours as
// DeviceTextLines.h, which the ActionScript 2 twin of this movie is written from.
class DeviceText {
    static function main() {
        var lines:Array<Array<Dynamic>> = [
            ["_sans", 0xC00000], ["_serif", 0x00A000], ["_typewriter", 0x0000C0], ["宋体", 0xC0C000],
            ["新宋体", 0xC000C0], ["黑体", 0x00C0C0], ["楷体", 0x800000], ["微软雅黑", 0x008000],
            ["SimSun", 0x000080], ["SimHei", 0x808000], ["Microsoft YaHei", 0x800080],
            ["Arial", 0x008080], ["Times New Roman", 0xFF8000], ["Courier New", 0x0080FF],
            ["没有这种字体", 0x80FF00], ["Arial", 0xFF0080],
        ];
        for (i in 0...lines.length) {
            var field = new TextField();
            field.defaultTextFormat = new TextFormat(lines[i][0], 15, lines[i][1], true);
            field.width = 400;
            field.height = 18;
            field.y = i * 18;
            field.text = i == lines.length - 1 ? "Latin text MW 0123" : "中文文字：汉字显示测试";
            flash.Lib.current.addChild(field);
        }
    }
}
