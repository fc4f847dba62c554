#!/usr/bin/env python3
"""Reads the calendar of `zenarith passes --format ics` with Python's icalendar package and
compares it with the JSON of the same search.

usage: read_calendar.py PROGRAM UTC_OFFSET_HOURS PASSES_ARGUMENTS...

Exits 0 when the calendar reads as it should, 1 when it does not, and 77 (skipped) when the
icalendar package is missing.
"""

import datetime
import json
import subprocess
import sys

SKIPPED = 77

try:
    import icalendar
except ImportError:
    print("the icalendar package of Python is not installed: skipped")
    sys.exit(SKIPPED)

problems = []


def check(condition, what):
    if not condition:
        problems.append(what)


def run(program, args, output_format):
    done = subprocess.run([program, "passes", *args, "--format", output_format],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=False)
    if done.returncode != 0:
        sys.exit(f"zenarith passes --format {output_format} failed ({done.returncode}): "
                 f"{done.stderr.decode(errors='replace')}")
    return done.stdout


def utc_of(text):
    """'2026-05-30T14:03:11Z' as an aware datetime."""
    return datetime.datetime.strptime(text, "%Y-%m-%dT%H:%M:%SZ").replace(
        tzinfo=datetime.timezone.utc)


def main():
    program, offset_text, *args = sys.argv[1:]
    offset = datetime.timedelta(hours=float(offset_text))
    raw = run(program, args, "ics")
    passes = json.loads(run(program, args, "json"))

    # RFC 5545 3.1: CR LF after every line, none longer than 75 octets.
    check(raw.endswith(b"\r\n"), "the calendar does not end with CR LF")
    for line in raw.split(b"\r\n")[:-1]:
        check(b"\n" not in line and b"\r" not in line, f"a bare line end in {line!r}")
        check(len(line) <= 75, f"{len(line)} octets: {line!r}")
        line.decode("utf-8")  # folding never splits a character

    calendar = icalendar.Calendar.from_ical(raw)
    check(calendar.name == "VCALENDAR", f"the calendar is a {calendar.name}")
    check(str(calendar.get("VERSION")) == "2.0", "VERSION is not 2.0")
    check(str(calendar.get("PRODID")) == "-//Zenarith//Zenarith 1.0//EN", "PRODID differs")

    events = calendar.walk("VEVENT")
    check(len(passes) > 0, "the search found no pass")
    check(len(events) == len(passes),
          f"{len(events)} events for {len(passes)} passes of the JSON")
    uids = [str(event.get("UID")) for event in events]
    check(len(set(uids)) == len(uids), "the UIDs are not unique")

    for event, found in zip(events, passes):
        start = event.decoded("DTSTART")
        end = event.decoded("DTEND")
        for name, moment in (("DTSTART", start), ("DTEND", end)):
            check(moment.utcoffset() == datetime.timedelta(0), f"{name} {moment} is not UTC")
        rise = utc_of(found["rise"]["time_utc"])
        check(start == rise, f"DTSTART {start} is not the rise {rise}")
        check(end == utc_of(found["set"]["time_utc"]), f"DTEND {end} is not the set")
        check((end - start).total_seconds() == found["duration_seconds"],
              f"{event.get('UID')} lasts {end - start}, not {found['duration_seconds']} s")
        summary = event.decoded("SUMMARY").decode("utf-8")
        check(summary.startswith(found["name"] + " pass"), f"SUMMARY {summary!r}")
        # The description names the rise on the local clock.
        description = event.decoded("DESCRIPTION").decode("utf-8")
        local_rise = (rise + offset).strftime("%Y-%m-%d %H:%M:%S")
        check(local_rise in description, f"{local_rise} not in {description!r}")
        check(str(found["catno"]) in str(event.get("UID")), f"UID {event.get('UID')}")
        check(event.decoded("DTSTAMP").utcoffset() == datetime.timedelta(0), "DTSTAMP not UTC")

    for problem in problems:
        print(problem)
    print(f"{len(events)} events read")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
