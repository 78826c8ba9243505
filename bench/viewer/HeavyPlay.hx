// The scene part of the heavy movie (HeavyScene).
class HeavyPlay {
    static function main() {
        new HeavyScene(false);
    }
}
