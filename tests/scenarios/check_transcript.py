#!/usr/bin/env python3
"""check_transcript.py SIM SCRIPT WORK: runs SCRIPT with SIM (wendrel-sim) in WORK (emptied first,
the program's folder being "dir"), keeps the transcript in WORK/actual.out and checks it against
NAME.expect beside SCRIPT, one assertion a line, each matching a later transcript line than the last:
  TEXT      the line equals TEXT        ~ REGEX   the line matches REGEX (Python) as a whole
  ! REGEX   no line between the previous match and the next one (or the end) matches REGEX
A byte that is not UTF-8 (a code-page file's "\xe9" in `show file`) reads as the surrogate "\udce9".
"""
import pathlib, re, shutil, subprocess, sys

sim, script, work = sys.argv[1], pathlib.Path(sys.argv[2]).resolve(), pathlib.Path(sys.argv[3])
if work.name != script.stem:
    sys.exit(f"refusing to empty {work}")
shutil.rmtree(work, ignore_errors=True)
(work / "dir").mkdir(parents=True)
run = subprocess.run([sim, "--dir", "dir", str(script)], cwd=work, capture_output=True)
(work / "actual.out").write_bytes(run.stdout)
if run.returncode != 0:
    sys.exit(f"wendrel-sim exited with {run.returncode}: {run.stderr.decode(errors='replace')}")
lines = run.stdout.decode("utf-8", errors="surrogateescape").split("\n")
expect = script.with_suffix(".expect")
pos, forbidden, failures = 0, [], []  # pos: the first transcript line the next assertion may match


def check_forbidden(end):
    failures.extend(f"{expect}:{number}: transcript line {i + 1} must not appear: {lines[i]}"
                    for number, pattern in forbidden for i in range(pos, end) if pattern.fullmatch(lines[i]))
    forbidden.clear()


for number, rule in enumerate(expect.read_text(encoding="utf-8").split("\n"), 1):
    if not rule.strip() or rule.startswith("#"):
        continue
    if rule.startswith("! "):
        forbidden.append((number, re.compile(rule[2:])))
        continue
    matches = re.compile(rule[2:]).fullmatch if rule.startswith("~ ") else rule.__eq__
    found = next((i for i in range(pos, len(lines)) if matches(lines[i])), None)
    if found is None:
        failures.append(f"{expect}:{number}: not found after transcript line {pos}: {rule}")
        break
    check_forbidden(found)
    pos = found + 1
else:
    check_forbidden(len(lines))
if failures:
    sys.exit("\n".join(failures + [f"the transcript is in {work / 'actual.out'}"]))
