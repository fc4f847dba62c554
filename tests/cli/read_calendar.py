#!/usr/bin/env python3
"""Reads the calendar of `zenarith passes --format ics` with Python's icalendar package and
compares it with the JSON of the same search.

usage: read_calendar.py PROGRAM UTC_OFFSET_HOURS PASSES_ARGUMENTS...
Exits 0 when the calendar reads as it should, 1 when not, 77 (skipped) without icalendar.
"""

import datetime
import json
import subprocess
import sys

try:
    import icalendar
except ImportError:
    print("the icalendar package of Python is not installed: skipped")
    sys.exit(77)

UTC = datetime.timezone.utc


def run(program, args, output_format):
    return subprocess.run([program, "passes", *args, "--format", output_format],
                          stdout=subprocess.PIPE, check=True).stdout


def main():
    program, offset_text, *args = sys.argv[1:]
    raw = run(program, args, "ics")
    passes = json.loads(run(program, args, "json"))
    problems = []

    def check(condition, what):
        if not condition:
            problems.append(what)

    # RFC 5545 3.1: CR LF after every line, none longer than 75 octets, no character split.
    lines = raw.split(b"\r\n")
    check(lines[-1] == b"", "the calendar does not end with CR LF")
    for line in lines:
        check(len(line) <= 75 and b"\n" not in line and b"\r" not in line, f"line {line!r}")
        line.decode("utf-8")

    calendar = icalendar.Calendar.from_ical(raw)
    check(str(calendar.get("VERSION")) == "2.0", "VERSION is not 2.0")
    check(str(calendar.get("PRODID")) == "-//Zenarith//Zenarith 1.0//EN", "PRODID differs")
    events = calendar.walk("VEVENT")
    check(len(passes) > 0, "the search found no pass")
    check(len(events) == len(passes), f"{len(events)} events for {len(passes)} passes")
    uids = [str(event.get("UID")) for event in events]
    check(len(set(uids)) == len(uids), "the UIDs are not unique")

    for event, found in zip(events, passes):
        rise, set_ = (datetime.datetime.strptime(found[key]["time_utc"], "%Y-%m-%dT%H:%M:%SZ")
                      .replace(tzinfo=UTC) for key in ("rise", "set"))
        for name, expected in (("DTSTART", rise), ("DTEND", set_), ("DTSTAMP", None)):
            moment = event.decoded(name)
            check(moment.utcoffset() == datetime.timedelta(0), f"{name} {moment} is not UTC")
            check(expected is None or moment == expected, f"{name} {moment} is not {expected}")
        summary = event.decoded("SUMMARY").decode("utf-8")
        check(summary.startswith(found["name"] + " pass, max "), f"SUMMARY {summary!r}")
        # The description names the rise on the local clock.
        local = rise + datetime.timedelta(hours=float(offset_text))
        description = event.decoded("DESCRIPTION").decode("utf-8")
        check(local.strftime("Rise: %Y-%m-%d %H:%M:%S") in description, repr(description))

    print("\n".join(problems + [f"{len(events)} events read"]))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
