#!/usr/bin/env bash
# Installs what the tests need, builds everything and runs every test: the format check,
# unit and scenario tests (plain and with AddressSanitizer + UndefinedBehaviorSanitizer),
# the end-to-end tests of wendrel.exe under Wine, and the release zip built twice.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

packages=(cmake make g++ libgtest-dev libbenchmark-dev clang-format python3 clang libclang-rt-dev
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

echo "== fuzzing (libFuzzer with AddressSanitizer + UndefinedBehaviorSanitizer)"
# Each target runs for a bounded time from its seed corpus; new inputs it finds go to a work
# folder under build/fuzz, the seeds in the repository stay as they are. A failing input is
# kept in build/fuzz/artifacts and its target counts as failed.
fuzz_seconds=${WENDREL_FUZZ_SECONDS:-30}
if CC=clang CXX=clang++ cmake -S . -B build/fuzz -DWENDREL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
   cmake --build build/fuzz -j"$(nproc)"; then
  mkdir -p build/fuzz/artifacts
  for corpus in tests/fuzz/corpus/*/; do
    name=$(basename "$corpus")
    work="build/fuzz/corpus/$name"
    mkdir -p "$work"
    log="build/fuzz/$name.log"
    if build/fuzz/tests/fuzz/fuzz_"$name" -max_total_time="$fuzz_seconds" -print_final_stats=1 \
         -artifact_prefix=build/fuzz/artifacts/"$name"- "$work" "$corpus" >"$log" 2>&1; then
      passed=$((passed + 1))
      echo "fuzz $name: ok, $(sed -nE 's/^stat::number_of_executed_units: *//p' "$log") runs"
    else
      failed=$((failed + 1))
      echo "fuzz $name: FAILED (log $log)"
      grep -E 'check failed|ERROR|SUMMARY|Test unit written' "$log" || tail -20 "$log"
    fi
  done
else
  echo "the fuzz targets did not build"
  failed=$((failed + 1))
fi

echo "== Windows build"
exe=$(scripts/build-exe.sh)
ls -l "$exe"

# The Wine suite runs twice: on Wine's own shell, whose window collection lists nothing (Wendrel
# then looks for browser windows itself), and on the stand-in shell of tests/wine/standin (the
# shell's collection, its events and browser automation, as on Windows). Each shell has its
# own prefix.
wine_prefixes=${WENDREL_WINEPREFIX_ROOT:-/tmp/wendrel-wine-$(id -u)}
for shell in wine standin; do
  echo "== Wine tests ($shell shell)"
  artefacts="$root/build/wine-artefacts/$shell"
  mkdir -p "$artefacts"
  wine_log="$root/build/wine-$shell.log"
  WENDREL_WINE_SHELL=$shell WENDREL_WINEPREFIX="$wine_prefixes/$shell" \
    tests/wine/run-all.sh "$exe" "$artefacts" 2>&1 | tee "$wine_log" || true
  line=$(grep -E '^[0-9]+ passed, [0-9]+ failed' "$wine_log" | tail -1 || true)
  if [[ -n "$line" ]]; then
    passed=$((passed + $(sed -E 's/^([0-9]+) passed.*/\1/' <<<"$line")))
    failed=$((failed + $(sed -E 's/.* ([0-9]+) failed.*/\1/' <<<"$line")))
  else
    echo "the Wine tests ($shell shell) did not report"
    failed=$((failed + 1))
  fi
done
echo "== reproducible package (two clones of HEAD, built apart, must give the same zip)"
if tests/package/reproducible.sh; then
  passed=$((passed + 1))
else
  failed=$((failed + 1))
fi

echo "Wine figures:"
for figure in "$root"/build/wine-artefacts/*/{idle-cpu-ticks,window-to-tab-median-ms}-*.txt \
  "$root"/build/wine-artefacts/standin/calls-per-pass.txt \
  "$root"/build/wine-artefacts/*/{browser-window-to-tab-median-ms,address-read-median-ms,click-while-hung-ms,browser-burst-100-ms}-*.txt; do
  if [[ -f $figure ]]; then echo "  $(basename "$figure" .txt): $(tr '\n' ' ' <"$figure")"; fi
done
echo "Wine artefacts (screenshots, figures): $root/build/wine-artefacts"

echo "Total: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
