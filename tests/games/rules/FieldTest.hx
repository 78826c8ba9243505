import RulesTest.check;
import RulesTest.equal;

// Bubbles: which places touch, groups of a colour, bubbles left hanging on nothing.
class FieldTest {
    static function touchingBothWays(field:Field):Bool {
        for (a in 0...field.places.length)
            for (b in field.neighbours(a)) if (field.neighbours(b).indexOf(a) < 0) return false;
        return true;
    }

    public static function run() {
        var field = new Field(6, 5);
        check(touchingBothWays(field), "touching goes both ways");
        equal(6, field.neighbours(2 * 6 + 2).length, "an inner place touches six");
        equal(2, field.neighbours(0).length, "the first corner touches two");

        // A group of three reds under the ceiling, a blue hanging from the third.
        var red = 1, blue = 2;
        field.places[1] = red;
        field.places[2] = red;
        var below = field.neighbours(2).filter(p -> p >= 6)[0];
        field.places[below] = red;
        var lower = field.neighbours(below).filter(p -> p >= 12)[0];
        field.places[lower] = blue;
        var group = field.connected(1, true);
        group.sort(Reflect.compare);
        var expected = [1, 2, below];
        expected.sort(Reflect.compare);
        equal(expected, group, "the red group");
        equal(4, field.connected(1, false).length, "all that hangs together");
        equal([], field.floating(), "nothing hangs loose");
        for (p in group) field.places[p] = 0;
        equal([lower], field.floating(), "the blue falls once the reds pop");

        // A new row from the ceiling moves all down and sets the rows in the other way.
        field.clear();
        field.places[0] = blue;
        var setInBefore = field.setIn(1);
        field.addRow(3);
        equal(blue, field.places[6], "the old first row is now the second");
        for (column in 0...6) check(field.places[column] >= 1 && field.places[column] <= 3, "new colours");
        check(field.setIn(1) != setInBefore, "rows set in the other way");
        check(touchingBothWays(field), "touching goes both ways after a new row");
        check(!field.overLine(), "not yet past the line");
        for (i in 0...3) field.addRow(3);
        check(field.overLine(), "past the line after four new rows");
        check(!field.empty(), "not empty");
        field.clear();
        check(field.empty(), "empty after clearing");
    }
}
