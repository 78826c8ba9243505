// The closing benchmark's movie with 100 objects of 1 KB, never flushed.
class Saves1k {
    static function main() {
        ManySaves.start(100, 1000);
    }
}
