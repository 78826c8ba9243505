package common;

#if macro
import haxe.io.BytesOutput;
import haxe.io.Path;
import haxe.macro.Compiler;
import haxe.macro.Context;
import haxe.macro.Expr;
import sys.FileSystem;
import sys.io.File;
#end

// Musical notes for the games, synthesised while the game compiles and embedded as sounds: the
// player cannot make sound from samples computed at run time, but plays embedded sounds.
// `@:build(common.Tones.embed(60, 18))` on the main class gives it TONES, whose entry i is the
// sound class of MIDI note 60 + i (middle C upwards).
class Tones {
    #if macro
    static inline var RATE = 11025;
    static inline var SECONDS = 1.1;

    public static function embed(first:Int, count:Int):Array<Field> {
        var pos = Context.currentPos();
        var output = Path.directory(Compiler.getOutput());
        var dir = Path.join([output == "" ? "." : output, Path.withoutExtension(Path.withoutDirectory(Compiler.getOutput())) + "-tones"]);
        FileSystem.createDirectory(dir);
        var names = [];
        var files = [];
        for (i in 0...count) {
            var file = FileSystem.absolutePath(Path.join([dir, "note" + (first + i) + ".wav"]));
            File.saveBytes(file, wave(440 * Math.pow(2, (first + i - 69) / 12)));
            files.push(file);
            var name = "Tone" + (first + i);
            Context.defineType({
                pack: [],
                name: name,
                pos: pos,
                kind: TDClass({pack: ["flash", "media"], name: "Sound"}),
                fields: [],
                meta: [{name: ":sound", params: [macro $v{file}], pos: pos}]
            });
            names.push(macro $i{name});
        }
        // the wave files are needed only while the movie is written
        Context.onAfterGenerate(function() {
            for (file in files) FileSystem.deleteFile(file);
            FileSystem.deleteDirectory(dir);
        });
        var fields = Context.getBuildFields();
        fields.push({name: "TONES", access: [AStatic], kind: FVar(macro :Array<Class<flash.media.Sound>>, macro $a{names}), pos: pos});
        return fields;
    }

    // A plucked string: a few harmonics under a quick attack and a falling envelope, 16-bit mono.
    static function wave(frequency:Float):haxe.io.Bytes {
        var n = Std.int(RATE * SECONDS);
        var out = new BytesOutput();
        out.writeString("RIFF");
        out.writeInt32(36 + n * 2);
        out.writeString("WAVEfmt ");
        out.writeInt32(16);
        out.writeUInt16(1); // PCM
        out.writeUInt16(1); // mono
        out.writeInt32(RATE);
        out.writeInt32(RATE * 2);
        out.writeUInt16(2);
        out.writeUInt16(16);
        out.writeString("data");
        out.writeInt32(n * 2);
        for (i in 0...n) {
            var t = i / RATE;
            var w = 2 * Math.PI * frequency * t;
            var envelope = Math.min(1, t * 200) * Math.exp(-3.2 * t) * Math.min(1, (SECONDS - t) * 20);
            var v = (Math.sin(w) + 0.45 * Math.sin(2 * w) * Math.exp(-2 * t) + 0.2 * Math.sin(3 * w) * Math.exp(-4 * t)) * envelope * 0.42;
            out.writeInt16(Std.int(v * 32767));
        }
        return out.getBytes();
    }
    #end
}
