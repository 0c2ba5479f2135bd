"""What the soak judges by: a wrong order model or a misread line would pass a broken frame
or fail a sound one."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import soak_model as model  # noqa: E402


class SentLineTest(unittest.TestCase):
    def test_wine_escapes_and_code_page(self):
        cases = [
            ('0024:trace:debugstr:OutputDebugStringA "Dockhaven: sent 2560x1600 as 512x320 in 143 ms: '
             'Z:\\\\p\\\\1 Fr\\xfchling\\\\008 \\xc4hre.jpg\\n"',
             ("2560x1600", "512x320", 143, "/p/1 Frühling/008 Ähre.jpg")),
            ('trace:debugstr:OutputDebugStringA "Dockhaven: sent 1x2 as 1x2 in 0 ms: C:\\\\a \\"b\\".jpg\\n"',
             ("1x2", "1x2", 0, 'C:\\a "b".jpg')),
            ('trace:debugstr:OutputDebugStringA "something else\\n"', None),
        ]
        for line, expected in cases:
            self.assertEqual(model.sent_line(line), expected, line)
        self.assertEqual(model.host_path("Z:\\p\\1 Frühling\\x.jpg"), "/p/1 Frühling/x.jpg")


class WalkTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp()
        self.walk = model.Walk(self.dir)
        names = ["001 a.jpg", "002 b.jpg", "003 c.jpg", "1 Sub/004 d.jpg", "1 Sub/005 e.jpg"]
        self.refused = set()
        self.walk.refused = lambda p: p in self.refused
        self.walk.sequence = [os.path.join(self.dir, n) for n in names]
        self.p = dict(zip("abcde", self.walk.sequence))

    def check(self, previous, path, resume=None):
        return self.walk.check_next(previous and self.p[previous], self.p[path], resume)[::2]

    def test_order_departures_and_losses(self):
        p = self.p
        cases = [
            ("a", "b", None, (True, 0)),
            ("c", "d", None, (True, 0)),         # into the subfolder
            ("e", "a", None, (True, 0)),         # wrap to the top
            ("a", "c", None, (False, 1)),        # b passed over: lost
            ("c", "b", None, (False, 3)),        # backwards: d, e, a passed over
            (None, "a", None, (True, 0)),
            ("e", "c", ("crash", p["b"]), (True, 0)),   # resumed after the saved point
            ("e", "a", ("crash", None), (True, 0)),     # nothing saved: the top
            ("e", "b", ("crash", p["b"]), (False, 4)),  # the saved picture again
        ]
        for previous, path, resume, expected in cases:
            self.assertEqual(self.check(previous, path, resume), expected, (previous, path, resume))
        self.refused.add(p["b"])  # deleted or undecodable: passed over rightly
        self.assertEqual(self.check("a", "c"), (True, 0))
        # A name read back without its accents still finds its picture.
        self.assertEqual(self.walk.index(os.path.join(self.dir, "1 Sub", "004 ?.jpg")), 3)


class GrowthTest(unittest.TestCase):
    def test_bound_restarted_programs_and_the_same_picture(self):
        mib = 1 << 20
        def sample(n, dock, view, agent, source):
            return (n, {"dockhaven.exe": dock, "glimmora.exe": view, "handheld-agent.exe": agent}, (2, 3), source)
        steady = (7, 10 * mib, 120, 0)
        usage = [sample(20, (1, 10 * mib, 100, 0), steady, steady, "a"),
                 sample(21, (2, 11 * mib, 100, 0), steady, steady, "b"),   # Dockhaven restarted
                 sample(22, (2, 10 * mib, 100, 0), steady, steady, "a"),
                 sample(23, (2, 11 * mib, 100, 0), steady, steady, "b"),
                 sample(24, (2, 10 * mib + mib // 200, 101, 0), steady, steady, "a")]
        table = model.growth(usage, 0.01)
        self.assertTrue(table["ok"], table)
        self.assertEqual(table["rows"][0][1], 22, "the restarted instance, with the same picture on screen")
        usage[-1] = sample(24, (2, 10 * mib, 103, 0), steady, steady, "a")
        self.assertFalse(model.growth(usage, 0.01)["ok"], "3 handles more than 1 %")
        usage[-1] = (24, {"dockhaven.exe": (2, 10 * mib, 100, 0), "glimmora.exe": steady}, (2, 3), "a")
        self.assertFalse(model.growth(usage, 0.01)["ok"], "the agent not running at the end")
        usage[-1] = sample(24, (2, 10 * mib, 100, 0), steady, steady, "a")
        self.assertTrue(model.growth(usage, 0.01)["ok"])
        grown = usage + [s[:2] + ((2, 4), s[3]) for s in usage]
        self.assertFalse(model.growth(grown, 0.01)["ok"], "one process more in the handheld, measurement after measurement")
        passing = usage + [usage[-1][:2] + ((2, 4), "a")]
        self.assertTrue(model.growth(passing, 0.01)["ok"], "a viewer handing over for a moment")
        two = model.parse_usage("Glimmora.exe 40 8000000 64 0 0\nGlimmora.exe 41 1500000 32 0 0\n")
        self.assertEqual(two["glimmora.exe"][0], 40, "the slideshow, not the instance handing over")


if __name__ == "__main__":
    unittest.main()
