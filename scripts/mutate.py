#!/usr/bin/env python3
"""Measures how many deliberate one-token faults in the program's logic the fast suite catches.

    scripts/mutate.py [--sites FILE] [--work DIR]

Each line of the sites file (scripts/mutation-sites.txt by default; a fixed sample spread evenly
over the core's sources) names a file, a line, a column and a fault. Each fault is made alone in a
copy of the tree, which is rebuilt and runs the native tests: a mutant is killed when they fail;
one that does not compile is left out. Prints a line per mutant and "killed K of M" last.
"""
import argparse, pathlib, re, shutil, subprocess, sys

ROOT = pathlib.Path(__file__).resolve().parent.parent

# (pattern, replacement): each is a one-token fault; a site names one by its index.
FAULTS = [(r" == ", " != "), (r" != ", " == "), (r" < ", " <= "), (r" <= ", " < "), (r" && ", " || "),
          (r" \|\| ", " && "), (r"\btrue\b", "false"), (r"\bfalse\b", "true"), (r" \+ 1\b", " - 1"),
          (r" - 1\b", " + 1"), (r"(?<![!=<>])!(?!=)", "")]


def run(command, limit):
    try:
        return subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=limit).returncode == 0
    except subprocess.TimeoutExpired:
        return False


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sites", type=pathlib.Path, default=ROOT / "scripts/mutation-sites.txt")
    parser.add_argument("--work", type=pathlib.Path, default=pathlib.Path("/tmp/wendrel-mutate"))
    args = parser.parse_args()
    work = args.work.resolve()
    if work in (pathlib.Path("/"), ROOT, ROOT.parent) or not str(work).startswith("/tmp/"):
        sys.exit(f"refusing to use {work} as the work folder (it must lie under /tmp)")

    source, build = work / "tree", work / "build"
    if source.exists():
        shutil.rmtree(source)
    shutil.copytree(ROOT, source, ignore=shutil.ignore_patterns(".git", "build*", "dist"))
    compile_all = ["cmake", "--build", str(build), "-j2"]
    suite = ["ctest", "--test-dir", str(build), "-j2", "--stop-on-failure", "--timeout", "300"]
    configure = ["cmake", "-S", str(source), "-B", str(build), "-DCMAKE_BUILD_TYPE=Debug"]
    if not (run(configure, 600) and run(compile_all, 3600) and run(suite, 3600)):
        sys.exit("the unmutated tree does not build or pass its tests")

    killed = total = 0
    for row in args.sites.read_text().split("\n"):
        if not row.strip():
            continue
        rel, number, column, kind = row.split()
        number, column, (pattern, replacement) = int(number), int(column), FAULTS[int(kind)]
        path = source / rel
        original = path.read_text(encoding="utf-8")
        lines = original.split("\n")
        match = re.compile(pattern).match(lines[number - 1], column)
        if not match:
            print(f"{rel}:{number}:{column} no longer matches; sources changed?")
            continue
        lines[number - 1] = lines[number - 1][:column] + replacement + lines[number - 1][match.end():]
        path.write_text("\n".join(lines), encoding="utf-8")
        label = f"{rel}:{number} {pattern.strip()!r} -> {replacement.strip()!r}"
        if not run(compile_all, 1800):
            print(f"stillborn {label}")
        else:
            total += 1
            alive = run(suite, 1800)
            killed += not alive
            print(f"{'SURVIVED' if alive else 'killed  '} {label}", flush=True)
        path.write_text(original, encoding="utf-8")
    print(f"killed {killed} of {total}")


if __name__ == "__main__":
    main()
