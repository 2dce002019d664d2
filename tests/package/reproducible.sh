#!/usr/bin/env bash
# Two clones of the same commit, in folders of different names, each build the release
# package: the two zips must be the same bytes, hold the files a user needs, and carry the
# project version in their name and in wendrel.exe's version resource.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/wendrel-repro.XXXXXX)
trap 'rm -rf "${work:?}"' EXIT
version=$(sed -nE 's/^project\(wendrel VERSION ([0-9.]+) .*/\1/p' "$root/CMakeLists.txt")
name="wendrel-$version-win64.zip"

git clone -q "$root" "$work/one"
git clone -q "$root" "$work/second-clone"
for clone in one second-clone; do
  WENDREL_JOBS=2 "$work/$clone/scripts/package.sh" >"$work/$clone.log" 2>&1 ||
    { tail -20 "$work/$clone.log"; echo "FAIL: the package did not build in $clone"; exit 1; }
done

ok=1
fail() { echo "FAIL: $*"; ok=0; }
zip1="$work/one/dist/$name" zip2="$work/second-clone/dist/$name"
[[ -f $zip1 && -f $zip2 ]] || { echo "FAIL: no $name"; exit 1; }
cmp -s "$zip1" "$zip2" || fail "the two builds differ: $(cmp "$zip1" "$zip2" | head -1)"
(cd "$work/one/dist" && sha256sum -c --quiet SHA256SUMS) || fail "SHA256SUMS does not match the zip"
python3 - "$zip1" "$version" <<'PY' || ok=0
import re, sys, zipfile
archive, version = zipfile.ZipFile(sys.argv[1]), sys.argv[2]
names = archive.namelist()
wanted = ["wendrel.exe", "WENDREL.HTM", "README.txt", "LICENSE.txt", "THIRD-PARTY-NOTICES.txt"]
if names != wanted:
    sys.exit(f"FAIL: the zip holds {names}")
exe = archive.read("wendrel.exe")
text = lambda s: s.encode("utf-16-le")
if not re.search(re.escape(text("FileVersion")) + b"(\0\0)+" + re.escape(text(version) + b"\0\0"), exe):
    sys.exit(f"FAIL: wendrel.exe's version resource does not say {version}")
if b"/tmp/" in exe or b"wendrel-repro" in exe:
    sys.exit("FAIL: wendrel.exe holds a build path")
if b"GCC RUNTIME LIBRARY EXCEPTION" not in archive.read("THIRD-PARTY-NOTICES.txt"):
    sys.exit("FAIL: the notices lack the GCC runtime library exception")
PY
if ((ok)); then
  echo "reproducible package: ok, $name $(stat -c %s "$zip1") bytes, sha256 $(cut -d' ' -f1 "$work/one/dist/SHA256SUMS")"
fi
((ok))
