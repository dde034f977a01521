#!/usr/bin/env python3
"""The reference for cutting a search page into rows: Python's re, as the popular scripts for
such sites do it. The page is read with newline='' (line ends kept as sent) and the result
pattern, written in the script engines' dialect, is carried over to Python's syntax and run
with IGNORECASE | MULTILINE; each match gives its six groups.

Prints one JSON object per page: its rows and the CPU time of one cut (median and minimum
over the runs, in milliseconds).
"""

import argparse
import json
import re
import statistics
import sys
import time


def to_python_syntax(pattern):
    """The pattern in Python's syntax. The two dialects agree on everything the result pattern
    uses except one thing: a '[' inside a character class is a plain character for the
    script engines, while Python warns about it (a possible nested set), so it is escaped."""
    out = []
    in_class = False
    i = 0
    while i < len(pattern):
        c = pattern[i]
        if c == "\\" and i + 1 < len(pattern):
            out.append(pattern[i : i + 2])
            i += 2
            continue
        if in_class:
            if c == "[":
                out.append("\\[")
            else:
                out.append(c)
                if c == "]":
                    in_class = False
        else:
            out.append(c)
            if c == "[":
                in_class = True
                # A ']' first in the class (after an optional '^') is a plain character.
                if pattern[i + 1 : i + 2] == "^":
                    out.append("^")
                    i += 1
                if pattern[i + 1 : i + 2] == "]":
                    out.append("\\]")
                    i += 1
        i += 1
    return "".join(out)


def cut_rows(regex, page):
    return [match.groups() for match in regex.finditer(page)]


def measure(regex, page, min_seconds, max_runs):
    times = []
    rows = 0
    started = time.process_time()
    while len(times) < max_runs and (not times or time.process_time() - started < min_seconds):
        begin = time.process_time()
        rows = len(cut_rows(regex, page))
        times.append((time.process_time() - begin) * 1000.0)
    return rows, times


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pattern", required=True, help="the result pattern, UTF-8")
    parser.add_argument("--min-seconds", type=float, default=1.0, help="measure each page this long")
    parser.add_argument("--max-runs", type=int, default=50, help="at most this many cuts per page")
    parser.add_argument("pages", nargs="+", help="search pages, UTF-8")
    args = parser.parse_args()

    with open(args.pattern, encoding="utf-8", newline="") as f:
        regex = re.compile(to_python_syntax(f.read()), re.IGNORECASE | re.MULTILINE)
    for path in args.pages:
        with open(path, encoding="utf-8", newline="") as f:
            page = f.read()
        rows, times = measure(regex, page, args.min_seconds, args.max_runs)
        print(json.dumps({"page": path, "rows": rows, "runs": len(times),
                          "median_ms": statistics.median(times), "min_ms": min(times)}))
        sys.stdout.flush()


if __name__ == "__main__":
    main()
