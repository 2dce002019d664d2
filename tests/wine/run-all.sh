#!/usr/bin/env bash
# Runs every Wine test of Wendrel: run-all.sh <path-to-wendrel.exe> <artefact-dir>, with the
# shell that WENDREL_WINE_SHELL names (README.md). Prints "N passed, M failed" last and exits
# non-zero when any test failed or Wine could not be started at all.
set -u
[ $# -eq 2 ] || { echo "usage: $0 <path-to-wendrel.exe> <artefact-dir>" >&2 && exit 2; }
WENDREL_EXE=$(readlink -f "$1")
[ -f "$WENDREL_EXE" ] || { echo "no such program: $1" >&2 && exit 2; }
. "$(dirname "$0")/lib.sh"
for file in "$WINE_TESTS_DIR"/test_*.sh; do . "$file"; done

reported=0
finish() {
  wine_session_end
  # A session that could not start counts as a failure, never as nothing to report.
  [ "$reported" -eq 1 ] || echo "0 passed, 1 failed"
}
trap finish EXIT
wine_session_start "$2"

passed=0
failed=0
for test in $(declare -F | awk '{print $3}' | grep '^test_'); do
  if [ -n "${WENDREL_TESTS:-}" ] && ! grep -qw "$test" <<<"$WENDREL_TESTS"; then continue; fi
  log "== $test ($SHELL_MODE shell)"
  FAILURES=()
  empty_shell_log
  started=$SECONDS
  if "$test" && [ ${#FAILURES[@]} -eq 0 ]; then
    passed=$((passed + 1))
    log "   passed ($((SECONDS - started)) s)"
  else
    failed=$((failed + 1))
    screenshot "failed-$test"
    cp "$SHELL_LOG" "$ARTEFACTS/failed-$test-shell.log"
    log "   FAILED ($((SECONDS - started)) s)"
  fi
  stop_wendrels
  close_frames
  close_browsers
done
echo "$passed passed, $failed failed"
reported=1
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
