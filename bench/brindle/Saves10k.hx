// The closing benchmark's movie with 100 objects of 10 KB, never flushed.
class Saves10k {
    static function main() {
        ManySaves.start(100, 10000);
    }
}
