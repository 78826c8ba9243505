package common;

import flash.display.Shape;
import flash.events.Event;
import flash.media.Sound;
import flash.media.SoundChannel;
import flash.media.SoundTransform;

// Plays the games' sounds so that together they never clip. Every sound made at build time peaks
// at Synth.LEVEL; the mixer knows how loud each playing sound is, frame by frame, and while several
// sound at once it turns them all down so that their loudness adds up to at most that level.
//
// Sounds start at the next frame, all of that frame together: the player applies a new volume to
// a sound only from its next block of samples on, and not at all to a sound started in the same
// frame, so a sound turned down after it started would sound its attack at full.
class Mixer {
    static inline var VOICES = 8;

    static var voices:Array<Voice> = [];
    static var waiting:Array<Voice> = [];
    static var ticker:Shape;

    // Plays the sound. shape is its loudness frame by frame (1 at its peak); when shaped, the mixer
    // makes that shape with the volume (a steady tone, looped), else the samples already hold it.
    public static function play(sound:Sound, shape:Array<Float>, loops:Int = 0, shaped:Bool = false):Void {
        waiting.push({sound: sound, loops: loops, channel: null, started: 0, shape: shape, frame: 0, shaped: shaped});
        if (waiting.length > VOICES) waiting.shift();
        if (ticker == null) {
            ticker = new Shape();
            flash.Lib.current.addChild(ticker);
            ticker.addEventListener(Event.ENTER_FRAME, function(_) advance());
        }
    }

    static function advance():Void {
        for (v in voices.copy()) {
            // By the clock, not by frames, which a busy player runs late and then in a burst; a
            // sound made at build time is as loud as where it is, as the player may start it late.
            var ms = v.shaped ? flash.Lib.getTimer() - v.started : v.channel.position;
            v.frame = Std.int(ms * Synth.FRAME_RATE / 1000);
            if (v.frame >= v.shape.length) stop(v);
        }
        while (voices.length > 0 && voices.length + waiting.length > VOICES) stop(voices[0]);
        var total = 0.0;
        for (v in voices.concat(waiting)) total += v.shape[v.frame];
        var gain = total > 1 ? 1 / total : 1;
        for (v in voices) v.channel.soundTransform = volume(v, gain);
        for (v in waiting) {
            v.channel = v.sound.play(0, v.loops, volume(v, gain));
            v.started = flash.Lib.getTimer();
            if (v.channel != null) voices.push(v); // else no sound device: the game goes on silently
        }
        waiting = [];
    }

    static function stop(v:Voice):Void {
        v.channel.stop();
        voices.remove(v);
    }

    static function volume(v:Voice, gain:Float):SoundTransform {
        return new SoundTransform((v.shaped ? v.shape[v.frame] : 1) * gain);
    }
}

private typedef Voice = {sound:Sound, loops:Int, channel:SoundChannel, started:Int, shape:Array<Float>, frame:Int, shaped:Bool};
