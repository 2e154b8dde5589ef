"""The per-scene table of scripts/profile-summary.py on profiles whose figures are known."""
import importlib.util
import io
import os
import sys
import tempfile
import unittest
from contextlib import redirect_stderr, redirect_stdout

SCRIPT = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(__file__), "..", "..", "scripts", "profile-summary.py")
module_location = importlib.util.spec_from_file_location("profile_summary", SCRIPT)
summary = importlib.util.module_from_spec(module_location)
module_location.loader.exec_module(summary)


def frame_line(index, scene, frame_ms, passes, cpu=None):
    items = [f"{name}={gpu:.3f}/{cpu_ms:.3f}" for name, gpu, cpu_ms in passes]
    items += [f"cpu:{name}={ms:.3f}" for name, ms in (cpu or {}).items()]
    return "\t".join(["frame", str(index), str(index * 40), str(scene), f"{frame_ms:.3f}", "1.000"] + items) + "\n"


class Summary(unittest.TestCase):
    def test_percentiles_use_the_nearest_rank(self):
        values = list(range(1, 101))
        self.assertEqual(summary.percentile(values, 0.95), 95)
        self.assertEqual(summary.percentile(values, 0.99), 99)
        self.assertEqual(summary.percentile([7.0], 0.99), 7.0)
        self.assertEqual(summary.median([3, 1, 2]), 2)
        self.assertEqual(summary.median([4, 1, 3, 2]), 2.5)

    def test_scenes_passes_and_shares(self):
        lines = ["# pulsar frame profile; gpu timing: glFinish\n", "startup\t812\n"]
        # Scene 5: frame times 10..29 ms, two passes, the second into the same target twice.
        for i in range(20):
            lines.append(frame_line(i, 5, 10.0 + i, [("m_pRTT_1_1", 2.0, 0.1), ("back buffer", 1.0, 0.1),
                                                     ("m_pRTT_1_1", 2.0, 0.1)], {"director": 0.5}))
        lines.append("garbage line\n")
        lines.append(frame_line(20, 7, 50.0, [("m_pTexture_1", 25.0, 1.0)]))
        frames, startup = None, None
        with redirect_stderr(io.StringIO()) as errors:
            frames, startup = summary.parse(lines)
        self.assertIn("line 23", errors.getvalue())
        self.assertEqual(startup, 812.0)
        self.assertEqual(len(frames), 21)
        self.assertEqual(frames[0]["cpu"], {"director": 0.5})
        rows = summary.summarise(frames)
        self.assertEqual([r["scene"] for r in rows], [5, 7])
        flagge = rows[0]
        self.assertEqual(flagge["frames"], 20)
        self.assertEqual(flagge["median"], 19.5)
        self.assertEqual(flagge["p95"], 28.0)
        self.assertEqual(flagge["p99"], 29.0)
        self.assertEqual(flagge["passes"], 3.0)
        shares = dict((name, share) for share, name in flagge["shares"])
        total = sum(10.0 + i for i in range(20))
        self.assertAlmostEqual(shares["m_pRTT_1_1"], 80.0 / total)
        self.assertAlmostEqual(shares["back buffer"], 20.0 / total)
        self.assertEqual(flagge["shares"][0][1], "m_pRTT_1_1")
        self.assertAlmostEqual(rows[1]["shares"][0][0], 0.5)
        # Sections a frame lacks count as nothing in the means.
        self.assertEqual(flagge["sections"], {"director": 0.5, "update": 0.0, "layer": 0.0})
        self.assertEqual(rows[1]["sections"]["director"], 0.0)

    def test_the_command_prints_a_row_per_scene_and_fails_on_nothing(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "profile.txt")
            with open(path, "w", encoding="utf-8") as file:
                file.write("startup\t950\n")
                for i in range(4):
                    file.write(frame_line(i, 4, 30.0, [("m_pRTT_1_1", 20.0, 1.0)]))
            out = io.StringIO()
            with redirect_stdout(out):
                self.assertEqual(summary.main([path, "--skip", "1"]), 0)
            text = out.getvalue()
            self.assertIn("950 ms", text)
            self.assertRegex(text, r"4 magnet\s+3\s+30\.0\s+30\.0\s+30\.0\s+1\.0")
            self.assertIn("m_pRTT_1_1 67%", text)
            with redirect_stderr(io.StringIO()), redirect_stdout(io.StringIO()):
                self.assertEqual(summary.main([path, "--skip", "10"]), 1)
                self.assertEqual(summary.main([os.path.join(folder, "missing.txt")]), 1)


if __name__ == "__main__":
    unittest.main()
