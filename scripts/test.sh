#!/usr/bin/env bash
# Installs what the tests need, builds everything and runs every test: the format check,
# unit and scenario tests (plain and with AddressSanitizer + UndefinedBehaviorSanitizer),
# the end-to-end tests of wendrel.exe under Wine, and the release zip built twice.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

packages=(cmake make g++ libgtest-dev libbenchmark-dev clang-format python3 clang libclang-rt-dev
          g++-mingw-w64-x86-64 wine wine64 xvfb xauth xdotool x11-utils imagemagick psmisc
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
# tally <passed> <failed>: adds to the totals.
tally() { passed=$((passed + $1)); failed=$((failed + $2)); }

echo "== format"
if find src tests \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run --Werror; then
  tally 1 0
else
  echo "formatting differs from .clang-format"; tally 0 1
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
  # "N% tests passed, F tests failed out of T"; no such line (a crash of ctest) counts as a failure
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$dir/ctest.log" | tail -1 || true)
  if [[ $line =~ ([0-9]+)\ tests?\ failed\ out\ of\ ([0-9]+) ]]; then
    tally $((BASH_REMATCH[2] - BASH_REMATCH[1])) "${BASH_REMATCH[1]}"
  else
    tally 0 1
  fi
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
      tally 1 0
      echo "fuzz $name: ok, $(sed -nE 's/^stat::number_of_executed_units: *//p' "$log") runs"
    else
      tally 0 1
      echo "fuzz $name: FAILED (log $log)"
      grep -E 'check failed|ERROR|SUMMARY|Test unit written' "$log" || tail -20 "$log"
    fi
  done
else
  echo "the fuzz targets did not build"; tally 0 1
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
  if [[ $line =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed ]]; then
    tally "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}"
  else
    echo "the Wine tests ($shell shell) did not report"; tally 0 1
  fi
done
echo "== reproducible package (two clones of HEAD, built apart, must give the same zip)"
if tests/package/reproducible.sh; then tally 1 0; else tally 0 1; fi

echo "Wine figures:"
for figure in "$root"/build/wine-artefacts/*/*.txt; do
  if [[ -f $figure ]]; then echo "  $(basename "$figure" .txt): $(tr '\n' ' ' <"$figure")"; fi
done
echo "Wine artefacts (screenshots, figures): $root/build/wine-artefacts"

echo "Total: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
