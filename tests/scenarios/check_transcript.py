#!/usr/bin/env python3
"""Checks a scenario transcript against the lines a scenario asserts.

Usage: check_transcript.py EXPECT TRANSCRIPT

EXPECT holds one assertion a line; they must match transcript lines in the order given, each
one a later line than the one before (lines in between may be anything):
  TEXT        the transcript line equals TEXT exactly
  ~ REGEX     the transcript line matches REGEX as a whole (Python syntax)
  ! REGEX     no transcript line between the previous assertion's match and the next
              assertion's match (or the end) matches REGEX
Blank lines and lines starting with "#" are skipped.

Transcripts are UTF-8, but `show file` prints a file's bytes as they are: a byte that is not
part of UTF-8 (a code-page file's "\xe9") reads as the lone surrogate "\udce9", which a
pattern matches with the escape \udce9.
"""
import re
import sys


def main() -> int:
    expect_path, transcript_path = sys.argv[1], sys.argv[2]
    with open(transcript_path, encoding="utf-8", errors="surrogateescape", newline="\n") as f:
        lines = f.read().split("\n")
    with open(expect_path, encoding="utf-8", newline="\n") as f:
        rules = [(n, r) for n, r in enumerate(f.read().split("\n"), 1) if r.strip() and not r.startswith("#")]

    pos = 0  # the first transcript line the next assertion may match
    forbidden = []  # "!" rules waiting for the next match
    failures = []

    def check_forbidden(start: int, end: int) -> None:
        for number, pattern in forbidden:
            for i in range(start, end):
                if pattern.fullmatch(lines[i]):
                    failures.append(f"line {number}: transcript line {i + 1} must not appear: {lines[i]}")
        forbidden.clear()

    for number, rule in rules:
        if rule.startswith("! "):
            forbidden.append((number, re.compile(rule[2:])))
            continue
        if rule.startswith("~ "):
            pattern = re.compile(rule[2:])
            matches = pattern.fullmatch
        else:
            matches = rule.__eq__
        found = next((i for i in range(pos, len(lines)) if matches(lines[i])), None)
        if found is None:
            failures.append(f"line {number}: not found after transcript line {pos}: {rule}")
            break
        check_forbidden(pos, found)
        pos = found + 1
    else:
        check_forbidden(pos, len(lines))

    for failure in failures:
        print(f"{expect_path}: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
