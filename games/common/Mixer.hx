package common;

import flash.display.Shape;
import flash.events.Event;
import flash.media.Sound;
import flash.media.SoundChannel;
import flash.media.SoundTransform;

// Plays the games' sounds so that together they never clip. Every sound made at build time peaks
// at Synth.LEVEL; the mixer knows how loud each playing sound is, frame by frame, and while several
// sound at once it turns them all down so that their loudness adds up to at most that level.
class Mixer {
    static inline var VOICES = 8;

    static var voices:Array<Voice> = [];
    static var ticker:Shape;

    // Plays the sound. shape is its loudness frame by frame (1 at its peak); when shaped, the mixer
    // makes that shape with the volume (a steady tone, looped), else the samples already hold it.
    public static function play(sound:Sound, shape:Array<Float>, loops:Int = 0, shaped:Bool = false):Void {
        var channel = sound.play(0, loops);
        if (channel == null) return; // no sound device: the game goes on silently
        voices.push({channel: channel, shape: shape, frame: 0, shaped: shaped});
        if (voices.length > VOICES) voices.shift().channel.stop();
        if (ticker == null) {
            ticker = new Shape();
            flash.Lib.current.addChild(ticker);
            ticker.addEventListener(Event.ENTER_FRAME, function(_) advance());
        }
        balance();
    }

    static function advance():Void {
        for (v in voices.copy()) {
            if (++v.frame >= v.shape.length) {
                v.channel.stop();
                voices.remove(v);
            }
        }
        balance();
    }

    static function balance():Void {
        var total = 0.0;
        for (v in voices) total += v.shape[v.frame];
        var gain = total > 1 ? 1 / total : 1;
        for (v in voices) v.channel.soundTransform = new SoundTransform((v.shaped ? v.shape[v.frame] : 1) * gain);
    }
}

private typedef Voice = {channel:SoundChannel, shape:Array<Float>, frame:Int, shaped:Bool};
