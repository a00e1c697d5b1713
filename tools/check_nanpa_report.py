#!/usr/bin/env python3
"""Compares data/area_codes.csv and its provenance file with NANPA's NPA report.

A maintainer downloads the report's CSV export and runs

    tools/check_nanpa_report.py NPA_REPORT.csv

Every difference is printed on a line of its own, starting with the area code.
Exit status: 0 no difference, 1 differences, 2 a file that cannot be read as
what it should be (the report, the table or the provenance file).
"""
import argparse
import csv
import datetime
import io
import pathlib
import re
import sys
import unicodedata

REPORT_COLUMNS = ["NPA_ID", "type_of_code", "ASSIGNABLE", "EXPLANATION", "RESERVED",
                  "ASSIGNED", "ASSIGNMENT_DT", "USE", "LOCATION", "COUNTRY", "IN_SERVICE",
                  "IN_SERVICE_DT"]
US_STATES = set("""AL AK AZ AR CA CO CT DE DC FL GA HI ID IL IN IA KS KY LA ME MD MA MI MN MS MO
                   MT NE NV NH NJ NM NY NC ND OH OK OR PA RI SC SD TN TX UT VT VA WA WV WI WY
                   PR VI GU MP AS""".split())
PROVINCE_CODES = set("AB BC MB NB NL NS NT NU ON PE QC SK YT".split())
# The report names Canadian provinces; shared codes name several.
PROVINCE_NAMES = {
    "ALBERTA": "AB", "BRITISH COLUMBIA": "BC", "MANITOBA": "MB", "NEW BRUNSWICK": "NB",
    "NEWFOUNDLAND": "NL", "LABRADOR": "NL", "NOVA SCOTIA": "NS", "PRINCE EDWARD ISLAND": "PE", "PEI": "PE",
    "ONTARIO": "ON", "QUEBEC": "QC", "SASKATCHEWAN": "SK", "YUKON": "YT", "NUNAVUT": "NU",
    "NORTHWEST TERRITORIES": "NT", "NORTHWEST TERRITORY": "NT", "NW TERRITORIES": "NT",
    "NW TERR": "NT", "NWT": "NT",
}
TERRITORIES = {"PR", "VI", "GU", "MP", "AS"}
RECORDED = re.compile(r"^(\d{4})(?:-(\d\d)(?:-(\d\d))?)?$|^(\d{4})/(\d{4})$|^none yet$")


class Unreadable(Exception):
    """A file that is not what it should be; the message says which and why."""


def read_text(path):
    try:
        data = pathlib.Path(path).read_bytes()
    except OSError as error:
        raise Unreadable(f"{path}: {error.strerror}") from None
    if b"\0" in data:
        raise Unreadable(f"{path}: a binary file, not CSV")
    try:
        return data.decode("utf-8-sig")
    except UnicodeDecodeError:
        return data.decode("cp1252", errors="replace")


def csv_rows(path, text):
    """(line number, fields) for every row that is not blank."""
    reader = csv.reader(io.StringIO(text, newline=""))
    try:
        for fields in reader:
            fields = [f.strip() for f in fields]
            if any(fields):
                yield reader.line_num, fields
    except csv.Error as error:
        raise Unreadable(f"{path}:{reader.line_num}: {error}") from None


def strip_trailing_empty(fields):
    while fields and not fields[-1]:
        fields = fields[:-1]
    return fields


def report_date(path, line, text):
    if not text:
        return None
    try:
        return datetime.datetime.strptime(text, "%d-%b-%Y").date()
    except ValueError:
        raise Unreadable(f"{path}:{line}: IN_SERVICE_DT {text!r} is not a date "
                         "like 01-Mar-2024") from None


def read_report(path):
    """(file date, {code: row dict}) from NANPA's NPA report export."""
    rows = csv_rows(path, read_text(path))
    first = strip_trailing_empty(next(rows, (0, []))[1])
    if len(first) != 2 or first[0] != "File Date" or \
            not re.fullmatch(r"\d\d/\d\d/\d{4}", first[1]):
        raise Unreadable(f"{path}: not an NPA report: the first line must be "
                         "'File Date,MM/DD/YYYY'")
    line, header = next(rows, (0, []))
    if header[:len(REPORT_COLUMNS)] != REPORT_COLUMNS:
        raise Unreadable(f"{path}:{line}: not an NPA report: the header must begin "
                         + ",".join(REPORT_COLUMNS))
    column = {name: i for i, name in enumerate(REPORT_COLUMNS)}
    codes = {}
    for line, fields in rows:
        if len(fields) < len(REPORT_COLUMNS):
            raise Unreadable(f"{path}:{line}: {len(fields)} fields, the header has "
                             f"at least {len(REPORT_COLUMNS)}")
        row = {name: fields[i] for name, i in column.items()}
        for flag in ("ASSIGNED", "USE", "IN_SERVICE"):
            row[flag] = row[flag].upper()
        code = row["NPA_ID"]
        if not re.fullmatch(r"\d{3}", code):
            raise Unreadable(f"{path}:{line}: NPA_ID {code!r} is not a three-digit code")
        if code in codes:
            raise Unreadable(f"{path}:{line}: NPA {code} appears twice")
        row["date"] = report_date(path, line, row["IN_SERVICE_DT"])
        codes[code] = row
    return first[1], codes


def plain(text):
    """Upper case without accents, so QUÉBEC reads as QUEBEC."""
    decomposed = unicodedata.normalize("NFKD", text.upper())
    return "".join(c for c in decomposed if not unicodedata.combining(c))


def report_states(row):
    """The table's state codes for a report row, None when it is no US or Canadian place."""
    location, country = plain(row["LOCATION"]), plain(row["COUNTRY"])
    tokens = re.findall(r"[A-Z]+", location)
    if tokens and all(len(t) == 2 for t in tokens):
        states = set(tokens)
        if states <= US_STATES and (country == "US" or states <= TERRITORIES):
            return states
        if states <= PROVINCE_CODES and country == "CANADA":
            return states
    if country == "CANADA":
        return {code for name, code in PROVINCE_NAMES.items()
                if re.search(rf"\b{name}\b", location)}
    return set() if country == "US" else None


def read_plain_table(path, header):
    rows = csv_rows(path, read_text(path))
    line, first = next(rows, (0, []))
    if first != header:
        raise Unreadable(f"{path}:{line}: the header must be " + ",".join(header))
    for line, fields in rows:
        if len(fields) != len(header):
            raise Unreadable(f"{path}:{line}: {len(fields)} fields, expected {len(header)}")
        yield fields


def read_table(path):
    table = {}
    for code, state, _ in read_plain_table(path, ["area_cd", "state_cd", "location_name"]):
        table.setdefault(code, set()).add(state)
    return table


def read_provenance(path):
    provenance = {}
    for code, _, in_service, _ in read_plain_table(
            path, ["area_cd", "state_cd", "in_service", "source"]):
        if not RECORDED.match(in_service):
            raise Unreadable(f"{path}: {code}: in_service {in_service!r} is none of "
                             "YYYY-MM-DD, YYYY-MM, YYYY, YYYY/YYYY, none yet")
        provenance[code] = in_service
    return provenance


def agrees(recorded, date):
    """Whether a recorded in-service value, as precise as it is, covers the report's date."""
    m = RECORDED.match(recorded)
    if m.group(4):
        return int(m.group(4)) <= date.year <= int(m.group(5))
    if not m.group(1):
        return False  # "none yet", but the report has a date
    parts = [date.year, date.month, date.day]
    return all(int(g) == p for g, p in zip(m.group(1, 2, 3), parts) if g)


def shown(states):
    return "/".join(sorted(states)) or "nothing"


def differences(report, table, provenance):
    out = []
    for code in sorted(set(report) | set(table)):
        row, states = report.get(code), table.get(code)
        if row is None:
            out.append(f"{code}: in the table ({shown(states)}) but not in the report")
            continue
        place = report_states(row)
        wanted = row["ASSIGNED"] == "Y" and row["USE"] == "G" and place is not None
        if states and row["ASSIGNED"] != "Y":
            out.append(f"{code}: in the table ({shown(states)}) but unassigned in the report")
        elif states and row["USE"] != "G":
            out.append(f"{code}: in the table ({shown(states)}) but not geographic in the "
                       f"report (USE {row['USE'] or 'empty'})")
        elif states and place is None:
            out.append(f"{code}: in the table ({shown(states)}) but the report places it in "
                       f"{row['LOCATION']}, {row['COUNTRY']}")
        elif wanted and not place:
            out.append(f"{code}: the report's location {row['LOCATION']!r} names no state "
                       "or province this tool knows")
        elif wanted and not states:
            out.append(f"{code}: the table lacks it; the report assigns it to {shown(place)}, "
                       + service_status(row))
        elif wanted and states != place:
            out.append(f"{code}: the table says {shown(states)}, the report {shown(place)}")
        if wanted:
            out.extend(provenance_difference(code, row, provenance.get(code)))
    return out


def service_status(row):
    if row["IN_SERVICE"] == "Y":
        return f"in service {row['IN_SERVICE_DT']}".rstrip()
    return "not in service yet" + (f", planned {row['IN_SERVICE_DT']}" if row["date"] else "")


def provenance_difference(code, row, recorded):
    date, live = row["date"], row["IN_SERVICE"] == "Y"
    if recorded is None and live and (date is None or date.year < 2019):
        return []  # codes in service before 2019 need no provenance row
    if recorded is None:
        return [f"{code}: no provenance row; the report says {service_status(row)}"]
    if date is not None and not agrees(recorded, date):
        return [f"{code}: the provenance says {recorded}, the report {service_status(row)}"]
    return []


def main(argv):
    data = pathlib.Path(__file__).resolve().parent.parent / "data"
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("report", help="NANPA's NPA report, CSV export")
    parser.add_argument("--table", default=str(data / "area_codes.csv"))
    parser.add_argument("--provenance",
                        help="default: area_codes_provenance.csv beside the table")
    args = parser.parse_args(argv)
    provenance_path = args.provenance or str(
        pathlib.Path(args.table).with_name("area_codes_provenance.csv"))
    try:
        file_date, report = read_report(args.report)
        table = read_table(args.table)
        provenance = read_provenance(provenance_path)
    except Unreadable as error:
        print(f"check_nanpa_report: {error}", file=sys.stderr)
        return 2
    found = differences(report, table, provenance)
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} difference(s) with NANPA's NPA report of {file_date}",
              file=sys.stderr)
        return 1
    print(f"No differences with NANPA's NPA report of {file_date}", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
