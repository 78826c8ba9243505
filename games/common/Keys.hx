package common;

// Key codes as the games compare them (Int, where flash.ui.Keyboard's are UInt). Escape and F11
// belong to the viewer (full screen) and are never used by a game.
class Keys {
    public static inline var ENTER = 13;
    public static inline var SPACE = 32;
    public static inline var LEFT = 37;
    public static inline var UP = 38;
    public static inline var RIGHT = 39;
    public static inline var DOWN = 40;
    public static inline var BACKSPACE = 8;
    public static inline var DELETE = 46;
    // Letters are their capital's code, digits of the main row '0'...'9'.
    public static inline var A = 65;
    public static inline var Z = 90;
    public static inline var DIGIT_0 = 48;
    public static inline var NUMPAD_0 = 96;

    // The digit 0...9 of a key of the main row or the number pad, -1 for any other key.
    public static function digit(keyCode:Int):Int {
        if (keyCode >= DIGIT_0 && keyCode <= DIGIT_0 + 9) return keyCode - DIGIT_0;
        if (keyCode >= NUMPAD_0 && keyCode <= NUMPAD_0 + 9) return keyCode - NUMPAD_0;
        return -1;
    }
}
