import common.Button;
import common.Game;
import common.Keys;
import common.Progress;
import common.Tones;
import flash.display.Sprite;
import flash.events.MouseEvent;
import flash.text.TextField;

// A piano of a octave and a half, played with the letter keys (white keys A S D F G H J K L ; ')
// and (black keys W E T Y U O P) or by clicking. Free play lists the notes played; the practice
// songs show the next keys to press, light the key to play and score how few wrong notes there
// were. The best score of every song is kept.
@:build(common.Tones.embed(60, 18))
class Main extends Game {
    static inline var WHITE_W = 48;
    static inline var WHITE_H = 200;
    static inline var BLACK_W = 30;
    static inline var BLACK_H = 120;
    static inline var KX = 11;
    static inline var KY = 185;
    static var WHITES = [0, 2, 4, 5, 7, 9, 11, 12, 14, 16, 17];
    static var BLACKS = [1, 3, 6, 8, 10, 13, 15];
    static var BLACK_AFTER = [0, 1, 3, 4, 5, 7, 8]; // the white key each black key follows
    static var WHITE_KEYS = [65, 83, 68, 70, 71, 72, 74, 75, 76, 186, 222];
    static var WHITE_LETTERS = ["A", "S", "D", "F", "G", "H", "J", "K", "L", ";", "'"];
    static var BLACK_KEYS = [87, 69, 84, 89, 85, 79, 80];
    static var BLACK_LETTERS = ["W", "E", "T", "Y", "U", "O", "P"];
    static var NOTE_NAMES = ["C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"];
    static var SONGS = [
        {name: "小星星", notes: [0, 0, 7, 7, 9, 9, 7, 5, 5, 4, 4, 2, 2, 0, 7, 7, 5, 5, 4, 4, 2, 7, 7, 5, 5, 4, 4, 2, 0, 0, 7, 7, 9, 9, 7, 5, 5, 4, 4, 2, 2, 0]},
        {name: "欢乐颂", notes: [4, 4, 5, 7, 7, 5, 4, 2, 0, 0, 2, 4, 4, 2, 2, 4, 4, 5, 7, 7, 5, 4, 2, 0, 0, 2, 4, 2, 0, 0]},
        {name: "玛丽的小羊", notes: [4, 2, 0, 2, 4, 4, 4, 2, 2, 2, 4, 7, 7, 4, 2, 0, 2, 4, 4, 4, 4, 2, 2, 4, 2, 0]},
        {name: "生日快乐", notes: [0, 0, 2, 0, 5, 4, 0, 0, 2, 0, 7, 5, 0, 0, 12, 9, 5, 4, 2, 10, 10, 9, 5, 7, 5]}
    ];

    var keys = new Sprite();
    var lit = [for (i in 0...18) 0];
    var held = new Map<Int, Bool>();
    var modeButtons:Array<Button> = [];
    var title:TextField;
    var line:TextField;
    var info:TextField;
    var played:Array<String> = [];
    var song = -1; // -1 is free play
    var position = 0;
    var misses = 0;
    var finished = false;

    static function main() new Main();

    function new() {
        super();
        graphics.beginFill(0x283050);
        graphics.drawRect(0, 0, Game.WIDTH, Game.HEIGHT);
        graphics.endFill();
        addChild(keys);
        label(8, 10, 20, 0xffe080, "在线钢琴");
        var modes = ["自由弹奏"].concat([for (s in SONGS) s.name]);
        for (i in 0...modes.length) {
            var b = new Button(100 + i * 90, 8, 84, 30, modes[i], 0x404870, choose.bind(i - 1), 0xffffff, 13);
            modeButtons.push(b);
            addChild(b);
        }
        title = label(275, 48, 15, 0xffffff, "", true);
        line = label(275, 82, 26, 0xffe080, "", true);
        info = label(275, 128, 13, 0xc0c8e0, "", true);
        keys.addEventListener(MouseEvent.MOUSE_DOWN, function(_) clicked());
        for (i in 0...WHITES.length) label(KX + i * WHITE_W + WHITE_W / 2, KY + WHITE_H - 26, 14, 0x606060, WHITE_LETTERS[i], true);
        for (i in 0...BLACKS.length) label(KX + (BLACK_AFTER[i] + 1) * WHITE_W, KY + BLACK_H - 24, 12, 0xd0d0d0, BLACK_LETTERS[i], true);
        choose(-1);
    }

    function choose(index:Int):Void {
        song = index;
        position = 0;
        misses = 0;
        finished = false;
        played = [];
        for (i in 0...modeButtons.length) modeButtons[i].setFill(i == index + 1 ? 0x6a78c0 : 0x404870);
        refresh();
    }

    static function noteName(note:Int):String {
        return NOTE_NAMES[note % 12] + (4 + Std.int(note / 12));
    }

    static function letter(note:Int):String {
        var w = WHITES.indexOf(note);
        return w >= 0 ? WHITE_LETTERS[w] : BLACK_LETTERS[BLACKS.indexOf(note)];
    }

    override function keyDown(keyCode:Int, charCode:Int):Void {
        var digit = Keys.digit(keyCode);
        if (digit >= 1 && digit <= SONGS.length + 1) {
            choose(digit - 2);
            return;
        }
        if (held.exists(keyCode)) return; // a held key repeats; the note does not
        var w = WHITE_KEYS.indexOf(keyCode), b = BLACK_KEYS.indexOf(keyCode);
        if (w < 0 && b < 0) return;
        held.set(keyCode, true);
        play(w >= 0 ? WHITES[w] : BLACKS[b]);
    }

    override function keyUp(keyCode:Int):Void {
        held.remove(keyCode);
    }

    function clicked():Void {
        var x = keys.mouseX - KX, y = keys.mouseY - KY;
        if (y < 0 || y > WHITE_H || x < 0) return;
        if (y < BLACK_H) for (i in 0...BLACKS.length) {
            var bx = (BLACK_AFTER[i] + 1) * WHITE_W - BLACK_W / 2;
            if (x >= bx && x < bx + BLACK_W) {
                play(BLACKS[i]);
                return;
            }
        }
        var w = Std.int(x / WHITE_W);
        if (w < WHITES.length) play(WHITES[w]);
    }

    function play(note:Int):Void {
        Tones.play(TONES[note]);
        lit[note] = 12;
        var total:Dynamic = Progress.get("notes", 0);
        Progress.set("notes", (Std.isOfType(total, Int) ? total : 0) + 1);
        if (song < 0) {
            played.push(noteName(note));
            if (played.length > 12) played.shift();
        } else if (!finished) {
            if (note == SONGS[song].notes[position]) {
                if (++position == SONGS[song].notes.length) done();
            } else {
                misses++;
            }
        }
        refresh();
    }

    function score():Int {
        var notes = SONGS[song].notes.length;
        return Std.int(Math.max(0, Math.round(100 * (notes - misses) / notes)));
    }

    function bestOf(index:Int):Int {
        var value:Dynamic = Progress.get("song" + index, 0);
        return Std.isOfType(value, Int) ? value : 0;
    }

    function done():Void {
        finished = true;
        if (score() > bestOf(song)) Progress.set("song" + song, score());
        Progress.offerBest(score());
    }

    function refresh():Void {
        var total:Dynamic = Progress.get("notes", 0);
        if (song < 0) {
            title.text = "自由弹奏：按字母键或点击琴键";
            line.text = played.join(" ");
            info.text = "已弹奏 " + total + " 个音    曲目最高分 " + Progress.best() + "%    数字键 1-5 选择模式";
            return;
        }
        var notes = SONGS[song].notes;
        title.text = SONGS[song].name + "：按亮起的琴键    最高分 " + bestOf(song) + "%";
        if (finished) {
            line.text = "弹得好！得分 " + score() + "%";
            info.text = "错了 " + misses + " 个音。再选一次这首歌可以重弹。";
            return;
        }
        var upcoming = [for (i in position...Std.int(Math.min(position + 10, notes.length))) letter(notes[i])];
        line.text = "[" + upcoming[0] + "]  " + upcoming.slice(1).join(" ");
        info.text = "第 " + (position + 1) + " / " + notes.length + " 个音    错音 " + misses;
    }

    override function tick():Void {
        for (i in 0...lit.length) if (lit[i] > 0) lit[i]--;
        var next = song >= 0 && !finished ? SONGS[song].notes[position] : -1;
        var g = keys.graphics;
        g.clear();
        for (i in 0...WHITES.length) {
            var note = WHITES[i];
            g.lineStyle(1, 0x303030);
            g.beginFill(lit[note] > 0 ? 0x80c8ff : (note == next ? 0xffe080 : 0xffffff));
            g.drawRoundRect(KX + i * WHITE_W, KY, WHITE_W, WHITE_H, 6, 6);
        }
        for (i in 0...BLACKS.length) {
            var note = BLACKS[i];
            g.beginFill(lit[note] > 0 ? 0x3080d0 : (note == next ? 0xc09020 : 0x202020));
            g.drawRoundRect(KX + (BLACK_AFTER[i] + 1) * WHITE_W - BLACK_W / 2, KY, BLACK_W, BLACK_H, 4, 4);
        }
        g.lineStyle();
        g.endFill();
    }
}
