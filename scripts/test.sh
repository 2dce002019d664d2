#!/usr/bin/env bash
# Installs what the tests need, builds everything and runs every test: the format check,
# unit and scenario tests (plain and with AddressSanitizer + UndefinedBehaviorSanitizer),
# and the end-to-end tests of wendrel.exe under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

packages=(cmake make g++ libgtest-dev libbenchmark-dev clang-format python3
          g++-mingw-w64-x86-64 wine wine64 xvfb xauth xdotool x11-utils imagemagick
          fonts-wine fonts-liberation fonts-wqy-microhei fonts-dejavu-core)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "== installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

passed=0
failed=0
count_ctest() {  # adds the counts of a ctest log to the totals
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1 || true)
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
  if [[ -z "$line" ]]; then failed=$((failed + 1)); return; fi
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

echo "== format"
if find src tests \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run --Werror; then
  passed=$((passed + 1))
else
  echo "formatting differs from .clang-format"
  failed=$((failed + 1))
fi

for variant in plain sanitize; do
  dir="build/$variant"
  flags=(-DCMAKE_BUILD_TYPE=Debug)
  [[ $variant == sanitize ]] && flags+=(-DWENDREL_SANITIZE=ON)
  echo "== native build ($variant)"
  cmake -S . -B "$dir" "${flags[@]}" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
  echo "== native tests ($variant)"
  ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" 2>&1 | tee "$dir/ctest.log" || true
  count_ctest "$dir/ctest.log"
done

echo "== Windows build"
exe=$(scripts/build-exe.sh)
ls -l "$exe"

echo "== Wine tests"
artefacts="$root/build/wine-artefacts"
mkdir -p "$artefacts"
wine_log="$root/build/wine.log"
tests/wine/run-all.sh "$exe" "$artefacts" 2>&1 | tee "$wine_log" || true
line=$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$wine_log" | tail -1 || true)
if [[ -n "$line" ]]; then
  passed=$((passed + $(sed -E 's/^([0-9]+) passed.*/\1/' <<<"$line")))
  failed=$((failed + $(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$line")))
else
  echo "the Wine tests did not report"
  failed=$((failed + 1))
fi
echo "Wine artefacts (screenshots): $artefacts"

echo "Total: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
