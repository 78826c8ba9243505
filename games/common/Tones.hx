package common;

#if macro
import haxe.io.Path;
import haxe.macro.Compiler;
import haxe.macro.Context;
import haxe.macro.Expr;
import sys.FileSystem;
import sys.io.File;
#else
import flash.media.Sound;
#end

// Musical notes for the games. The player cannot make sound from samples computed at run time,
// but it plays embedded sounds, so every note is synthesised while the game compiles: a tenth of
// a second of whole periods of the tone, peaking at Synth.LEVEL, embedded as a sound. play() loops
// it and the Mixer fades it out frame by frame, which gives a plucked note of a second from a few
// kilobytes; notes played together are turned down so that they do not clip.
// `@:build(common.Tones.embed(60, 18))` on the main class gives it TONES, whose entry i is the
// sound class of MIDI note 60 + i (middle C upwards).
class Tones {
    #if macro
    static inline var RATE = 11025;

    public static function embed(first:Int, count:Int):Array<Field> {
        var pos = Context.currentPos();
        var movie = Compiler.getOutput();
        var folder = Path.directory(movie);
        var names = [];
        for (i in 0...count) {
            var name = "Tone" + (first + i);
            var file = Path.join([folder == "" ? "." : folder, Path.withoutExtension(Path.withoutDirectory(movie)) + "-" + name + ".wav"]);
            File.saveBytes(file, wave(440 * Math.pow(2, (first + i - 69) / 12)));
            Context.onAfterGenerate(function() FileSystem.deleteFile(file)); // needed only while the movie is written
            Context.defineType({
                pack: [],
                name: name,
                pos: pos,
                kind: TDClass({pack: ["flash", "media"], name: "Sound"}),
                fields: [],
                meta: [{name: ":sound", params: [macro $v{FileSystem.absolutePath(file)}], pos: pos}]
            });
            names.push(macro $i{name});
        }
        var fields = Context.getBuildFields();
        fields.push({name: "TONES", access: [AStatic], kind: FVar(macro :Array<Class<flash.media.Sound>>, macro $a{names}), pos: pos});
        return fields;
    }

    // Whole periods of the tone and two overtones, so that it loops without a click; the pitch is
    // off by at most half a sample a loop (a few hundredths of a semitone).
    static function wave(frequency:Float):haxe.io.Bytes {
        var periods = Math.round(frequency / 10);
        var n = Math.round(periods * RATE / frequency);
        var samples = [for (i in 0...n) {
            var w = 2 * Math.PI * periods * i / n;
            Math.sin(w) + 0.35 * Math.sin(2 * w) + 0.15 * Math.sin(3 * w);
        }];
        return Synth.waveFile(Synth.normalised(samples, Synth.LEVEL), RATE);
    }
    #else
    static inline var SECONDS = 1.2;

    // A quick attack and a falling volume, frame by frame, until the note stops.
    static var shape = [for (f in 0...Math.ceil(SECONDS * Synth.FRAME_RATE)) {
        var t = f / Synth.FRAME_RATE;
        Math.exp(-3 * t) * Math.min(1, (SECONDS - t) * 8);
    }];

    // Plays a note of TONES.
    public static function play(tone:Class<Sound>):Void {
        var sound:Sound = Type.createInstance(tone, []);
        Mixer.play(sound, shape, Math.ceil(SECONDS * 1000 / Math.max(1, sound.length)), true);
    }
    #end
}
