import RulesTest.equal;

// The photo booth's kept composition: written and read back, and damaged texts read as far as
// they make sense.
class CompositionTest {
    public static function run() {
        var c = new Composition();
        c.frame = 3;
        c.backdrop = 2;
        c.stickers = [{kind: 0, x: 150, y: 90, scale: 100, turn: 0}, {kind: 8, x: 10, y: 300, scale: 250, turn: 345}];
        var text = c.write();
        equal("3;2;0,150,90,100,0;8,10,300,250,345", text, "written");
        var back = Composition.read(text, 300, 330);
        equal(text, back.write(), "read back the same");

        var empty = Composition.read("", 300, 330);
        equal("0;0", empty.write(), "nothing kept");
        equal("0;0", Composition.read(null, 300, 330).write(), "no value");
        equal("0;0", Composition.read(42, 300, 330).write(), "not a text");
        equal("0;0", Composition.read("5", 300, 330).write(), "no backdrop");
        equal("0;0", Composition.read("9;-1", 300, 330).write(), "unknown frame and backdrop");
        equal("0;1", Composition.read("x;1", 300, 330).write(), "a frame that is not a number");

        var damaged = Composition.read("1;1;0,1,2,100,0;;1,2,3;x,1,1,100,0;12,5,5,100,0;2,5,5,100,0", 300, 330);
        equal([0, 2], [for (s in damaged.stickers) s.kind], "broken and unknown stickers left out, the good ones kept");

        var wild = Composition.read("0;0;1,-50,9999,5,-90;2,20,20,100000,725", 300, 330).stickers;
        equal(0, wild[0].x, "x brought onto the photo");
        equal(330, wild[0].y, "y brought onto the photo");
        equal(Composition.MIN_SCALE, wild[0].scale, "too small");
        equal(Composition.MAX_SCALE, wild[1].scale, "too large");
        equal(270, wild[0].turn, "a turn the other way");
        equal(5, wild[1].turn, "more than a full turn");
    }
}
