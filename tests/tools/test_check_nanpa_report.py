#!/usr/bin/env python3
"""Runs tools/check_nanpa_report.py on small reports, tables and provenance files."""
import pathlib
import subprocess
import sys
import tempfile
import unittest

TOOL = pathlib.Path(__file__).resolve().parents[2] / "tools" / "check_nanpa_report.py"
HEADER = ("File Date,12/01/2026\n"
          "NPA_ID,type_of_code,ASSIGNABLE,EXPLANATION,RESERVED,ASSIGNED,ASSIGNMENT_DT,USE,"
          "LOCATION,COUNTRY,IN_SERVICE,IN_SERVICE_DT,OVERLAY_COMPLEX,PARENT_NPA_ID\n")


def npa(code, location, country="US", use="G", assigned="Y", live="Y", date="01-Jan-1990",
        explanation=""):
    return f"{code},GEN,N,{explanation},N,{assigned},,{use},{location},{country},{live},{date},,\n"


# Quoted fields with commas: a naive split would shift 902's and 440's columns.
REPORT = HEADER + "".join([
    npa("216", "OH"),
    npa("418", "QUEBEC", "CANADA"),
    npa("436", "OH", date="01-Mar-2024", explanation='"Overlay of 440, approved 2022"'),
    npa("565", "GA", live="N", date=""),
    npa("800", '"NANP AREA, TOLL FREE"', "", use="N"),
    npa("809", "DOMINICAN REPUBLIC", "DOMINICAN REPUBLIC"),
    npa("902", '"NOVA SCOTIA, PRINCE EDWARD ISLAND"', "CANADA"),
    npa("999", "", "", use="", assigned="N", live="N", date=""),
])
TABLE = ["216,OH,Ohio", "418,QC,Quebec", "436,OH,Ohio", "565,GA,Georgia",
         "902,NS,Nova Scotia", "902,PE,Prince Edward Island"]
PROVENANCE = ["436,OH,2024-03,cleveland.com", "565,GA,none yet,NANPA"]


class CheckNanpaReport(unittest.TestCase):
    def run_tool(self, report=REPORT, table=TABLE, provenance=PROVENANCE):
        with tempfile.TemporaryDirectory() as folder:
            folder = pathlib.Path(folder)
            (folder / "report.csv").write_text(report)
            (folder / "area_codes.csv").write_text(
                "area_cd,state_cd,location_name\n" + "".join(r + "\n" for r in table))
            (folder / "area_codes_provenance.csv").write_text(
                "area_cd,state_cd,in_service,source\n" + "".join(r + "\n" for r in provenance))
            done = subprocess.run([sys.executable, str(TOOL), str(folder / "report.csv"),
                                   "--table", str(folder / "area_codes.csv")],
                                  capture_output=True, text=True, check=False)
            return done.returncode, done.stdout.splitlines(), done.stderr

    def assertDifferences(self, expected, **files):
        status, lines, _ = self.run_tool(**files)
        self.assertEqual((status, [line.split(":")[0] for line in lines]), (1, expected), lines)
        return lines

    def test_matching_files_with_quoted_commas_and_provinces_pass(self):
        status, lines, err = self.run_tool()
        self.assertEqual((status, lines), (0, []))
        self.assertIn("12/01/2026", err)

    def test_missing_code_and_its_provenance(self):
        lines = self.assertDifferences(["436", "436"], table=TABLE[:2] + TABLE[3:],
                                       provenance=PROVENANCE[1:])
        self.assertIn("lacks it; the report assigns it to OH", lines[0])
        self.assertIn("no provenance row", lines[1])

    def test_differing_state(self):
        lines = self.assertDifferences(["216", "902"], table=["216,PA,Pennsylvania"] + TABLE[1:5])
        self.assertIn("the table says PA, the report OH", lines[0])
        self.assertIn("the table says NS, the report NS/PE", lines[1])

    def test_codes_the_report_does_not_place(self):
        table = TABLE[:4] + ["800,NY,New York", "809,NY,New York"] + TABLE[4:] + \
            ["999,NY,New York", "998,NY,New York"]
        lines = self.assertDifferences(["800", "809", "998", "999"], table=table)
        self.assertIn("not geographic", lines[0])
        self.assertIn("DOMINICAN REPUBLIC", lines[1])
        self.assertIn("not in the report", lines[2])
        self.assertIn("unassigned", lines[3])

    def test_provenance_dates_at_their_precision(self):
        for recorded, status in (("2024", 0), ("2023/2025", 0), ("2024-03-01", 0),
                                 ("2024-04", 1), ("2019/2023", 1), ("none yet", 1)):
            got, lines, _ = self.run_tool(provenance=[f"436,OH,{recorded},x", PROVENANCE[1]])
            self.assertEqual(got, status, (recorded, lines))

    def test_files_that_are_not_a_report_exit_2(self):
        for report in ("hello, world\n", "File Date,12/01/2026\nNPA,STATE\n", "\0\1\2",
                       HEADER + "436,GEN,N\n", HEADER + npa("436", "OH", date="2024-03-01"),
                       HEADER + npa("43", "OH")):
            status, lines, err = self.run_tool(report=report)
            self.assertEqual((status, lines), (2, []), report)
            self.assertTrue(err.startswith("check_nanpa_report: "), err)
        status, _, err = self.run_tool(report=REPORT, table=["216,OH"])
        self.assertEqual(status, 2, err)
        done = subprocess.run([sys.executable, str(TOOL), "/nonexistent/report.csv"],
                              capture_output=True, text=True, check=False)
        self.assertEqual(done.returncode, 2)
        self.assertIn("No such file", done.stderr)


if __name__ == "__main__":
    unittest.main()
