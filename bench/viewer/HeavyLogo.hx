// The logo part of the heavy movie (HeavyScene), played again and again.
class HeavyLogo {
    static function main() {
        new HeavyScene(true);
    }
}
