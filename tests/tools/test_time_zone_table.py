#!/usr/bin/env python3
"""tools/time_zone_table.py on a small map in the package's format, and the
committed tables: every geographic code has zones, every zone is in the
system's tzdata, and no code's zones lie outside its state's."""
import csv
import os
import pathlib
import subprocess
import sys
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]
TOOL = ROOT / "tools" / "time_zone_table.py"
try:
    import bson
except ImportError:
    # A Python of the user's own (pyenv, a virtualenv) may lack the module that
    # Debian's has: run with the system's then.
    SYSTEM = "/usr/bin/python3"
    if os.path.exists(SYSTEM) and os.path.realpath(sys.executable) != os.path.realpath(SYSTEM):
        os.execv(SYSTEM, [SYSTEM, __file__] + sys.argv[1:])
    print("SKIP: no bson module (Debian package python3-bson)")
    sys.exit(77)


def rows_of(path):
    with open(path, newline="", encoding="utf-8") as file:
        return list(csv.DictReader(file))


class ToolOnASmallMap(unittest.TestCase):
    def run_tool(self, prefixes, codes, provenance):
        with tempfile.TemporaryDirectory() as folder:
            folder = pathlib.Path(folder)
            (folder / "map.bson").write_bytes(bson.encode(prefixes))
            (folder / "codes.csv").write_text("area_cd,state_cd,location_name\n" + codes)
            (folder / "prov.csv").write_text("area_cd,state_cd,in_service,source\n" + provenance)
            done = subprocess.run(
                [sys.executable, TOOL, folder / "map.bson", "--codes", folder / "codes.csv",
                 "--provenance", folder / "prov.csv"], capture_output=True, text=True)
            return done.returncode, done.stdout, done.stderr

    def test_defaults_prefixes_overlays_and_mends(self):
        status, out, _ = self.run_tool(
            {"1": "America/Adak&America/Chicago",  # the catch-all, never used
             "1850": "America/New_York", "185043": "America/Chicago",
             "1208": "America/Denver", "12088": "America/Los_Angeles",
             "1689": "America/Chicago", "1907581": "Pacific/Honolulu",
             "1907": "America/Anchorage", "1281": "America/Chicago", "1915": "America/Denver"},
            "208,ID,Idaho\n850,FL,Florida\n689,FL,Florida\n907,AK,Alaska\n986,ID,Idaho\n"
            "999,FL,Florida\n281,TX,Texas\n915,TX,Texas\n621,TX,Texas\n",
            "986,ID,2017,NANPA planning letter announcing NPA 986 as an overlay of 208\n"
            "621,TX,2025,Houston press coverage of the 621 overlay of 281/346\n")
        self.assertEqual(status, 0)
        rows = {(r["area_cd"], r["exchange"]): r for r in csv.DictReader(out.splitlines())}
        zones = {key: row["zones"] for key, row in rows.items()}
        # A code's zones are its default's and all its prefixes'.
        self.assertEqual(zones[("850", "")], "America/Chicago America/New_York")
        self.assertEqual(zones[("850", "43")], "America/Chicago")
        self.assertEqual(zones[("208", "")], "America/Denver America/Los_Angeles")
        # An overlay takes its parent's; a code with neither, its state's.
        self.assertEqual(zones[("986", "")], zones[("208", "")])
        self.assertIn("overlay of 208", rows[("986", "")]["source"])
        self.assertEqual(zones[("999", "")], "America/Chicago America/New_York")
        # The code's own number in the source's words is not its parent.
        self.assertEqual(zones[("621", "")], "America/Chicago")
        # The known slips, mended with their reasons.
        self.assertEqual(zones[("689", "")], "America/New_York")
        self.assertEqual(zones[("907", "581")], "America/Anchorage")
        self.assertIn("Unalaska", rows[("907", "581")]["source"])
        self.assertNotIn("America/Adak", out)

    def test_a_file_that_is_no_map_is_refused(self):
        with tempfile.TemporaryDirectory() as folder:
            path = pathlib.Path(folder) / "map.bson"
            path.write_bytes(b"not bson at all")
            done = subprocess.run([sys.executable, TOOL, path], capture_output=True, text=True)
            self.assertEqual(done.returncode, 2)
            self.assertIn("map.bson", done.stderr)


class CommittedTables(unittest.TestCase):
    def test_every_code_has_zones_known_to_tzdata_within_its_states(self):
        zoneinfo = pathlib.Path(os.environ.get("TZDIR", "/usr/share/zoneinfo"))
        states = {}
        for row in rows_of(ROOT / "data" / "area_codes.csv"):
            states.setdefault(row["area_cd"], set()).add(row["state_cd"])
        state_zones = {r["state_cd"]: set(r["zones"].split())
                       for r in rows_of(ROOT / "data" / "state_time_zones.csv")}
        self.assertEqual(set(state_zones), {s for v in states.values() for s in v})
        code_rows = {}
        for row in rows_of(ROOT / "data" / "time_zones.csv"):
            code = row["area_cd"]
            zones = set(row["zones"].split())
            self.assertTrue(zones, code)
            allowed = set().union(*(state_zones[s] for s in states[code]))
            self.assertLessEqual(zones, allowed, f"{code}-{row['exchange']}: {row['zones']}")
            if not row["exchange"]:
                code_rows[code] = zones
        self.assertEqual(set(code_rows), set(states))
        for zone in set().union(*state_zones.values()):
            self.assertTrue((zoneinfo / zone).is_file(), zone)


if __name__ == "__main__":
    unittest.main()
