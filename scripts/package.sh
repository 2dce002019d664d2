#!/usr/bin/env bash
# Builds the release: dist/wendrel-VERSION-win64.zip (wendrel.exe, WENDREL.HTM, LICENSE.txt,
# THIRD-PARTY-NOTICES.txt, README.txt) and dist/SHA256SUMS, and prints the zip's path.
# The same commit gives the same bytes from any clone: the program is linked without time
# stamps or build paths, and every zip entry has the commit's time, fixed permissions and a
# fixed place in the archive.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

version=$(sed -nE 's/^project\(wendrel VERSION ([0-9.]+) .*/\1/p' CMakeLists.txt)
[[ -n $version ]] || { echo "no project version in CMakeLists.txt" >&2; exit 1; }
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}

build="$root/build/package"
exe=$(WENDREL_WIN_BUILD="$build" scripts/build-exe.sh)

dist="$root/dist"
name="wendrel-$version-win64"
mkdir -p "$dist"
rm -f "${dist:?}/$name.zip" "${dist:?}/SHA256SUMS"

# The text files get Windows line ends; the archive is written entry by entry in this order.
python3 - "$dist/$name.zip" "$SOURCE_DATE_EPOCH" \
  "wendrel.exe=$exe" "WENDREL.HTM=docs/WENDREL.HTM" "README.txt=assets/README.txt" \
  "LICENSE.txt=LICENSE" "THIRD-PARTY-NOTICES.txt=THIRD-PARTY-NOTICES.txt" <<'PY'
import sys, time, zipfile
target, epoch, entries = sys.argv[1], int(sys.argv[2]), sys.argv[3:]
# A zip entry holds local time to two seconds, from 1980 on.
stamp = time.gmtime(max(epoch, 315532800))[:6]
with zipfile.ZipFile(target, "w") as archive:
    for entry in entries:
        name, source = entry.split("=", 1)
        data = open(source, "rb").read()
        if name.endswith(".txt"):
            data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        info = zipfile.ZipInfo(name, date_time=stamp)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.create_system = 0
        info.external_attr = 0
        archive.writestr(info, data, compresslevel=9)
PY
(cd "$dist" && sha256sum "$name.zip" >SHA256SUMS)
echo "$dist/$name.zip"
