#!/usr/bin/env python3
"""Measures how many deliberate one-token faults in the program's logic the fast suite catches.

    scripts/mutate.py [--count N] [--sites FILE] [--work DIR]

Picks N sites evenly spread over the core's sources (the same sites for the same sources, so two
runs of the suite can be compared), makes one fault at each in a copy of the tree, rebuilds it and
runs the native tests; a mutant is killed when the tests fail. A mutant that does not compile is
left out. --sites writes the chosen sites to FILE, or reads them from it when it exists.
Prints one line per mutant and "killed K of M" last.
"""
import argparse
import pathlib
import re
import shutil
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORE = ["src/strip", "src/store", "src/session", "src/tray", "src/dialog", "src/platform", "src"]

# (pattern, replacement): each is a one-token fault.
FAULTS = [
    (r" == ", " != "),
    (r" != ", " == "),
    (r" < ", " <= "),
    (r" <= ", " < "),
    (r" && ", " || "),
    (r" \|\| ", " && "),
    (r"\btrue\b", "false"),
    (r"\bfalse\b", "true"),
    (r" \+ 1\b", " - 1"),
    (r" - 1\b", " + 1"),
    (r"(?<![!=<>])!(?!=)", ""),
]


def outside_strings(line, pos):
    """True when pos is outside string and character literals and line comments."""
    quote = None
    i = 0
    while i < pos:
        c = line[i]
        if quote:
            if c == "\\":
                i += 1
            elif c == quote:
                quote = None
        elif c in "\"'":
            quote = c
        elif line.startswith("//", i):
            return False
        i += 1
    return quote is None


def all_sites():
    sites = []
    for folder in CORE:
        for path in sorted((ROOT / folder).glob("*.cpp")):
            rel = path.relative_to(ROOT).as_posix()
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                stripped = line.strip()
                if stripped.startswith(("#", "//", "*", "/*")):
                    continue
                for kind, (pattern, _) in enumerate(FAULTS):
                    for match in re.finditer(pattern, line):
                        if outside_strings(line, match.start()):
                            sites.append((rel, number, match.start(), kind))
    return sites


def choose(count, sites_file):
    if sites_file and sites_file.exists():
        rows = [row.split() for row in sites_file.read_text().splitlines() if row.strip()]
        return [(r[0], int(r[1]), int(r[2]), int(r[3])) for r in rows]
    sites = all_sites()
    step = max(1, len(sites) // count)
    chosen = sites[::step][:count]
    if sites_file:
        sites_file.write_text("".join(f"{f} {n} {c} {k}\n" for f, n, c, k in chosen))
    return chosen


def mutate(text, number, column, kind):
    lines = text.split("\n")
    pattern, replacement = FAULTS[kind]
    line = lines[number - 1]
    match = re.compile(pattern).match(line, column)
    if not match:
        return None
    lines[number - 1] = line[:column] + replacement + line[match.end():]
    return "\n".join(lines)


def run(command, cwd, limit):
    try:
        return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=limit).returncode == 0
    except subprocess.TimeoutExpired:
        return False


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int, default=40)
    parser.add_argument("--sites", type=pathlib.Path)
    parser.add_argument("--work", type=pathlib.Path, default=pathlib.Path("/tmp/wendrel-mutate"))
    args = parser.parse_args()
    work = args.work.resolve()
    if work in (pathlib.Path("/"), ROOT, ROOT.parent) or not str(work).startswith("/tmp/"):
        sys.exit(f"refusing to use {work} as the work folder (it must lie under /tmp)")

    source = work / "tree"
    if source.exists():
        shutil.rmtree(source)
    shutil.copytree(ROOT, source, ignore=shutil.ignore_patterns(".git", "build*", "dist"))
    build = work / "build"
    configure = ["cmake", "-S", str(source), "-B", str(build), "-DCMAKE_BUILD_TYPE=Debug"]
    compile_all = ["cmake", "--build", str(build), "-j2"]
    suite = ["ctest", "--test-dir", str(build), "-j2", "--stop-on-failure", "--timeout", "300"]
    if not (run(configure, work, 600) and run(compile_all, work, 3600) and run(suite, work, 3600)):
        sys.exit("the unmutated tree does not build or pass its tests")

    killed = total = 0
    for rel, number, column, kind in choose(args.count, args.sites):
        path = source / rel
        original = path.read_text(encoding="utf-8")
        mutant = mutate(original, number, column, kind)
        if mutant is None:
            print(f"{rel}:{number}:{column} no longer matches; sources changed?")
            continue
        path.write_text(mutant, encoding="utf-8")
        label = f"{rel}:{number} {FAULTS[kind][0].strip()!r} -> {FAULTS[kind][1].strip()!r}"
        if not run(compile_all, work, 1800):
            print(f"stillborn {label}")
        else:
            total += 1
            alive = run(suite, work, 1800)
            killed += not alive
            print(f"{'SURVIVED' if alive else 'killed  '} {label}", flush=True)
        path.write_text(original, encoding="utf-8")
    print(f"killed {killed} of {total}")


if __name__ == "__main__":
    main()
