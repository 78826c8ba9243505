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
// and `new Kick().ring()` plays it through the Mixer. The build writes the sound as a WAV file
// beside the movie, embeds it and deletes the file. Every sound peaks at LEVEL (times its volume),
// so that the games sound equally loud, and the class gets SHAPE, its loudness frame by frame, with
// which the Mixer keeps sounds played together from clipping. A sound is a tone (a sine, with harmonics if given, sliding from `tone` to `toneEnd`
// Hz) plus noise, each dying away at its own rate; all values but `seconds` are optional:
//   seconds      length
//   tone         Hz at the start (0: no tone); toneEnd Hz it slides to (default tone); sweep how
//                fast it slides (per second, default 30)
//   toneDecay    how fast the tone dies (per second, default 8)
//   harmonics    loudness of the 1st, 2nd, 3rd... partial (default [1])
//   noise        loudness of the noise (0...1, default 0); noiseDecay how fast it dies (default 20)
//   bright       0...1: how much of the noise's low end is cut (hi-hats, cymbals)
//   volume       0...1 of LEVEL at the peak (default 1)
//   rate         samples a second: 5512, 11025, 22050 (default) or 44100
class Synth {
    // The peak of every sound, in full scale: -6 dBFS, which leaves room for the Mixer's timing.
    public static inline var LEVEL = 0.5;
    // The games' frames a second, the steps of a sound's SHAPE.
    public static inline var FRAME_RATE = 30;

    public static macro function sound(voice:Expr):Array<Field> {
        var v:Dynamic = ExprTools.getValue(voice);
        var local = Context.getLocalClass().get();
        var movie = Compiler.getOutput();
        var folder = Path.directory(movie);
        var file = Path.join([folder == "" ? "." : folder, Path.withoutExtension(Path.withoutDirectory(movie)) + "-" + local.name + ".wav"]);
        var rate = Std.int(number(v, "rate", 22050));
        var wave = normalised(samples(v), LEVEL * number(v, "volume", 1));
        sys.io.File.saveBytes(file, waveFile(wave, rate));
        local.meta.add(":sound", [macro $v{sys.FileSystem.absolutePath(file)}], Context.currentPos());
        Context.onAfterGenerate(function() sys.FileSystem.deleteFile(file));
        var pos = Context.currentPos();
        var fields = Context.getBuildFields();
        fields.push({name: "SHAPE", access: [APublic, AStatic], kind: FVar(macro :Array<Float>, macro $v{shape(wave, rate)}), pos: pos});
        fields.push({name: "ring", access: [APublic], pos: pos,
            kind: FFun({args: [], ret: macro :Void, expr: macro common.Mixer.play(this, SHAPE)})});
        return fields;
    }

    #if macro
    // The samples scaled so that their peak is level.
    public static function normalised(samples:Array<Float>, level:Float):Array<Float> {
        var peak = 0.0;
        for (sample in samples) peak = Math.max(peak, Math.abs(sample));
        return peak == 0 ? samples : [for (sample in samples) sample * level / peak];
    }

    // The loudness of the samples frame by frame, 1 at their peak: each frame's value is the peak
    // of that frame and the next, so a sound that plays a little late is not underrated.
    static function shape(samples:Array<Float>, rate:Int):Array<Float> {
        var step = rate / FRAME_RATE;
        var frames = Math.ceil(samples.length / step);
        var peaks = [for (f in 0...frames + 1) 0.0];
        var top = 0.0;
        for (i in 0...samples.length) {
            var f = Std.int(i / step);
            peaks[f] = Math.max(peaks[f], Math.abs(samples[i]));
            top = Math.max(top, peaks[f]);
        }
        return [for (f in 0...frames) top == 0 ? 0 : Math.round(Math.max(peaks[f], peaks[f + 1]) / top * 1000) / 1000];
    }

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
        for (sample in samples) out.writeInt16(Std.int(Math.max(-1, Math.min(1, sample)) * 32767));
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
            out.push(sample * edge);
        }
        return out;
    }
    #end
}
