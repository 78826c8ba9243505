package common;

#if macro
import haxe.io.Bytes;
import haxe.io.BytesOutput;
import haxe.macro.Compiler;
import haxe.macro.Context;
import haxe.macro.Expr;
import haxe.macro.ExprTools;
import haxe.io.Path;
#end

// Sounds made by code while the game is built, for players that cannot make sound as the movie
// runs. A class of the game that extends flash.media.Sound gets one by
//
//     @:build(common.Synth.sound({seconds: 0.4, tone: 150, toneEnd: 45, toneDecay: 10}))
//     class Kick extends flash.media.Sound {}
//
// and `new Kick().play()` plays it. The build writes the sound as a WAV file beside the movie,
// embeds it and deletes the file. A sound is a tone (a sine, with harmonics if given, sliding from `tone` to `toneEnd`
// Hz) plus noise, each dying away at its own rate; all values but `seconds` are optional:
//   seconds      length
//   tone         Hz at the start (0: no tone); toneEnd Hz it slides to (default tone); sweep how
//                fast it slides (per second, default 30)
//   toneDecay    how fast the tone dies (per second, default 8)
//   harmonics    loudness of the 1st, 2nd, 3rd... partial (default [1])
//   noise        loudness of the noise (0...1, default 0); noiseDecay how fast it dies (default 20)
//   bright       0...1: how much of the noise's low end is cut (hi-hats, cymbals)
//   volume       0...1 (default 0.8)
//   rate         samples a second: 5512, 11025, 22050 (default) or 44100
class Synth {
    public static macro function sound(voice:Expr):Array<Field> {
        var v:Dynamic = ExprTools.getValue(voice);
        var local = Context.getLocalClass().get();
        var movie = Compiler.getOutput();
        var folder = Path.directory(movie);
        var file = Path.join([folder == "" ? "." : folder, Path.withoutExtension(Path.withoutDirectory(movie)) + "-" + local.name + ".wav"]);
        sys.io.File.saveBytes(file, waveFile(samples(v), Std.int(number(v, "rate", 22050))));
        local.meta.add(":sound", [macro $v{sys.FileSystem.absolutePath(file)}], Context.currentPos());
        Context.onAfterGenerate(function() sys.FileSystem.deleteFile(file));
        return Context.getBuildFields();
    }

    #if macro
    static function number(v:Dynamic, name:String, fallback:Float):Float {
        var value:Dynamic = Reflect.field(v, name);
        return value == null ? fallback : value;
    }

    // Samples (-1...1) as a 16-bit mono WAV file, as a sound to embed.
    public static function waveFile(samples:Array<Float>, rate:Int):Bytes {
        var out = new BytesOutput();
        out.writeString("RIFF");
        out.writeInt32(36 + samples.length * 2);
        out.writeString("WAVEfmt ");
        out.writeInt32(16);
        out.writeUInt16(1); // PCM
        out.writeUInt16(1); // mono
        out.writeInt32(rate);
        out.writeInt32(rate * 2);
        out.writeUInt16(2);
        out.writeUInt16(16);
        out.writeString("data");
        out.writeInt32(samples.length * 2);
        for (sample in samples) out.writeInt16(Std.int(Math.max(-1, Math.min(1, sample)) * 32000));
        return out.getBytes();
    }

    // The voice's samples. The noise comes from a fixed seed, so every build makes the same sound.
    static function samples(v:Dynamic):Array<Float> {
        var rate = Std.int(number(v, "rate", 22050));
        var count = Std.int(number(v, "seconds", 0.3) * rate);
        var tone = number(v, "tone", 0);
        var toneEnd = number(v, "toneEnd", tone);
        var sweep = number(v, "sweep", 30);
        var toneDecay = number(v, "toneDecay", 8);
        var noise = number(v, "noise", 0);
        var noiseDecay = number(v, "noiseDecay", 20);
        var bright = number(v, "bright", 0);
        var volume = number(v, "volume", 0.8);
        var harmonics:Array<Float> = Reflect.field(v, "harmonics") == null ? [1.0] : Reflect.field(v, "harmonics");
        var partsSum = 0.0;
        for (h in harmonics) partsSum += h;

        var out = [];
        var seed = 12345;
        var phase = 0.0;
        var lastNoise = 0.0;
        var highPassed = 0.0;
        var fadeOut = rate * 0.005;
        for (i in 0...count) {
            var t = i / rate;
            var sample = 0.0;
            if (tone > 0) {
                phase += 2 * Math.PI * (toneEnd + (tone - toneEnd) * Math.exp(-t * sweep)) / rate;
                var sum = 0.0;
                for (k in 0...harmonics.length) sum += harmonics[k] * Math.sin(phase * (k + 1));
                sample += sum / partsSum * Math.exp(-t * toneDecay);
            }
            if (noise > 0) {
                seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF;
                var white = seed / 0x3FFFFFFF - 1;
                highPassed = (1 - bright * 0.5) * (highPassed + white - lastNoise);
                lastNoise = white;
                var n = bright > 0 ? highPassed : white;
                sample += noise * n * Math.exp(-t * noiseDecay);
            }
            var edge = Math.min(1, Math.min(i / fadeOut, (count - i) / fadeOut));
            out.push(sample * volume * edge);
        }
        return out;
    }
    #end
}
