package common;

import flash.net.SharedObject;

// What a game keeps between plays: its best score and any progress of its own, in the movie's
// local shared object "progress". Every change is flushed at once, so it survives the player
// being closed or killed right after.
class Progress {
    static var store:SharedObject;
    static var opened = false;

    // The kept values, or null when the player has no storage for the movie: it may throw, or
    // give nothing (a movie whose address the player does not know). The game then plays on
    // without keeping anything.
    static function data():Dynamic {
        if (!opened) {
            opened = true;
            try {
                store = SharedObject.getLocal("progress");
            } catch (e:Dynamic) {
                store = null;
            }
        }
        return store == null ? null : store.data;
    }

    // The best score so far, 0 before the first.
    public static function best():Int {
        var value:Dynamic = get("best", 0);
        return Std.isOfType(value, Int) ? value : 0;
    }

    // Keeps score when it beats the best; true when it did.
    public static function offerBest(score:Int):Bool {
        if (score <= best()) return false;
        set("best", score);
        return true;
    }

    public static function get(key:String, fallback:Dynamic):Dynamic {
        var d = data();
        if (d == null) return fallback;
        var value = Reflect.field(d, key);
        return value == null ? fallback : value;
    }

    public static function set(key:String, value:Dynamic):Void {
        var d = data();
        if (d == null) return;
        Reflect.setField(d, key, value);
        try {
            store.flush();
        } catch (e:Dynamic) {}
    }
}
