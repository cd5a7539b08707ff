#!/bin/bash
# Builds both sides and runs every test: the native unit tests through ctest,
# and the Win32-level GoogleTest programs under Wine on a private Xvfb.
# Ends with "N passed, M failed" over all test cases; exits non-zero on any
# failure, including a build that fails (counted as one failure each).
# Needs no terminal and no display; installs what is missing when root.
set -u -o pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

started=$(date +%s)
passed=0
failed=0
problems=()

note_failure() {
  failed=$((failed + 1))
  problems+=("$1")
}

ensure_packages || { log "package installation failed"; echo "0 passed, 1 failed"; exit 1; }
ensure_locale || { log "could not set up the ja_JP.UTF-8 locale"; echo "0 passed, 1 failed"; exit 1; }

mkdir -p "$NOTAVO_BUILD"
logs="$NOTAVO_BUILD/test-logs"
rm -rf "$logs"
mkdir -p "$logs"

build_native 2>&1 | tee "$logs/build-native.log" || {
  note_failure "native build"
}
build_win 2>&1 | tee "$logs/build-win.log" || {
  note_failure "Windows build"
}

# --- Native tests -----------------------------------------------------------
# Also after a failed build: whatever did build still runs, and tests whose
# program is missing show up as failed.
if [ -f "$NOTAVO_BUILD/native/CTestTestfile.cmake" ]; then
  log "native tests (ctest)"
  ctest --test-dir "$NOTAVO_BUILD/native" --output-on-failure -j "$NOTAVO_JOBS" --timeout 900 \
    </dev/null 2>&1 | tee "$logs/ctest-native.log"
  ctest_status=${PIPESTATUS[0]}
  # "100% tests passed, 0 tests failed out of 57"
  summary=$(grep -E '[0-9]+ tests? failed out of [0-9]+' "$logs/ctest-native.log" | tail -n 1)
  if [ -n "$summary" ]; then
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    bad=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$summary")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    [ "$bad" -gt 0 ] && problems+=("native tests: $bad failed")
  elif grep -q 'No tests were found' "$logs/ctest-native.log"; then
    log "ctest found no native tests"
  else
    note_failure "ctest gave no summary (exit $ctest_status)"
  fi
fi

# --- Wine tests -------------------------------------------------------------
xvfb_pid=""
cleanup() {
  if [ -n "${WINEPREFIX:-}" ] && command -v wineserver >/dev/null 2>&1; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT

# Starts Xvfb on a free display number (it picks one itself and reports it
# through -displayfd) and exports DISPLAY.
start_xvfb() {
  local fd_file="$logs/xvfb-display" i
  : >"$fd_file"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" \
    </dev/null >"$logs/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for i in $(seq 1 100); do
    if [ -s "$fd_file" ]; then
      export DISPLAY=":$(tr -dc '0-9' <"$fd_file")"
      log "Xvfb on $DISPLAY"
      return 0
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  log "Xvfb did not start, see $logs/xvfb.log"
  return 1
}

# Runs one GoogleTest program under Wine and adds its counts. It runs on a
# Wine virtual desktop: without a window manager Wine waits about 2 s each
# time a top-level window hides, and on its own desktop it does not. (The
# desktop does not pass the program's exit code on; the GoogleTest summary
# is what counts.)
run_wine_test() {
  local exe="$1" name log status count
  name=$(basename "$exe" .exe)${2:-}
  log="$logs/$name.log"
  log "wine: $name"
  timeout 600 wine explorer /desktop="notavo-tests,1280x1000" "$exe" --gtest_color=no </dev/null 2>&1 |
    tee "$log"
  status=${PIPESTATUS[0]}
  count=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\..*/\1/p' "$log" | tail -n 1)
  [ -n "$count" ] && passed=$((passed + count))
  count=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below.*/\1/p' "$log" | tail -n 1)
  if [ -n "$count" ]; then
    failed=$((failed + count))
    problems+=("$name: $count failed")
  elif [ "$status" -ne 0 ]; then
    note_failure "$name exited with status $status"
  elif ! grep -q '^\[==========\] .* ran\.' "$log"; then
    note_failure "$name printed no GoogleTest summary"
  fi
}

if [ -d "$NOTAVO_BUILD/win/tests/wine" ]; then
  if start_xvfb && ensure_wine_prefix; then
    shopt -s nullglob
    wine_tests=("$NOTAVO_BUILD"/win/tests/wine/*.exe)
    [ "${#wine_tests[@]}" -eq 0 ] && note_failure "no Wine test programs were built"
    for exe in "${wine_tests[@]}"; do
      run_wine_test "$exe"
    done
    # Once more on a system whose ANSI code page is not 932 (Wine takes it
    # from the locale): the clipboard must carry the same text there.
    unicode_tests="$NOTAVO_BUILD/win/tests/wine/notavo_unicode_tests.exe"
    if [ -f "$unicode_tests" ]; then
      timeout 60 wineserver -k || true
      LANG=C.UTF-8 LC_ALL=C.UTF-8 run_wine_test "$unicode_tests" "-c-locale"
      timeout 60 wineserver -k || true
    fi
    timeout 60 wineserver -w || true
  else
    note_failure "Wine test environment"
  fi
fi

log "took $(($(date +%s) - started)) s; logs in $logs"
for p in "${problems[@]}"; do log "FAILED: $p"; done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
