package common;

#if macro
import haxe.io.Path;
import haxe.macro.Compiler;
import haxe.macro.Context;
import haxe.macro.Expr;
import sys.FileSystem;
import sys.io.File;
#else
import flash.display.Shape;
import flash.events.Event;
import flash.media.Sound;
import flash.media.SoundChannel;
import flash.media.SoundTransform;
#end

// Musical notes for the games. The player cannot make sound from samples computed at run time,
// but it plays embedded sounds, so every note is synthesised while the game compiles: a tenth of
// a second of whole periods of the tone, embedded as a sound. play() loops it and fades it out
// frame by frame, which gives a plucked note of a second from a few kilobytes.
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
            (Math.sin(w) + 0.35 * Math.sin(2 * w) + 0.15 * Math.sin(3 * w)) * 0.55;
        }];
        return Synth.waveFile(samples, RATE);
    }
    #else
    static inline var SECONDS = 1.2;
    static inline var VOICES = 8;

    static var voices:Array<{channel:SoundChannel, frames:Int}> = [];
    static var ticker:Shape;

    // Plays a note of TONES; the oldest note stops when more than VOICES sound at once.
    public static function play(tone:Class<Sound>):Void {
        var sound:Sound = Type.createInstance(tone, []);
        var channel = sound.play(0, Math.ceil(SECONDS * 1000 / Math.max(1, sound.length)));
        if (channel == null) return; // no sound device: the game goes on silently
        voices.push({channel: channel, frames: 0});
        if (voices.length > VOICES) voices.shift().channel.stop();
        if (ticker == null) {
            ticker = new Shape();
            flash.Lib.current.addChild(ticker);
            ticker.addEventListener(Event.ENTER_FRAME, function(_) fade());
        }
    }

    // A quick attack and a falling volume; notes past their time stop.
    static function fade():Void {
        var rate = flash.Lib.current.stage.frameRate;
        for (v in voices.copy()) {
            v.frames++;
            var t = v.frames / rate;
            if (t >= SECONDS) {
                v.channel.stop();
                voices.remove(v);
            } else {
                v.channel.soundTransform = new SoundTransform(Math.exp(-3 * t) * Math.min(1, (SECONDS - t) * 8));
            }
        }
    }
    #end
}
