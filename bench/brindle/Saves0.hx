// The closing benchmark's movie without saves but the flushed sign that it runs.
class Saves0 {
    static function main() {
        ManySaves.start(0, 0);
    }
}
