#!/usr/bin/env bash
# Registry export files against the real registry editor (Wine's regedit):
#
#  1. a key tree written by our export writer (Windows build, under Wine)
#     is imported with "regedit /s", which puts it into the registry, and
#     exported again with "regedit /e"; our reader loads that export with
#     the same keys, value names, types and data (Linux build), as far as
#     regedit itself keeps them (see RoundTripTree.h);
#  2. Wine's export of its whole registry loads into a snapshot store and
#     is saved back as one export, which our reader and regedit accept.
#
# Environment as set by scripts/test: KELVARA_ROOT, KELVARA_LINUX_BUILD,
# KELVARA_WINDOWS_BUILD, WINEPREFIX (WINEDEBUG=-all).
set -uo pipefail

linux_tests=$KELVARA_LINUX_BUILD/tests/test_registry
windows_tests=$KELVARA_WINDOWS_BUILD/tests/test_registry.exe
bench=$KELVARA_LINUX_BUILD/bench/reg_load_bench
export WINEDEBUG=${WINEDEBUG:--all}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The same folder as Wine sees it.
wine_work="Z:${work//\//\\}"

passed=0
failed=0
# check NAME COMMAND...: runs the command with its output in the log; the
# log is shown when it fails.
check() {
  local name=$1
  shift
  if "$@" >"$work/log" 2>&1; then
    passed=$((passed + 1))
    echo "ok: $name"
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
    cut -c1-300 "$work/log" | tail -n 30
  fi
}

# regedit_import FILE: regedit /s reports problems on its output and still
# exits 0, so any output counts as a failure.
regedit_import() {
  local output
  output=$(wine regedit /s "$1" 2>&1) || return 1
  [[ -z $output ]] || {
    echo "$output"
    return 1
  }
}

for needed in "$linux_tests" "$windows_tests" "$bench"; do
  if [[ ! -x $needed && ! -f $needed ]]; then
    echo "FAILED: $needed is not built"
    echo "0 passed, 1 failed"
    exit 1
  fi
done

# 1. Our export through regedit and back.
check "our export of a key tree is written (under Wine)" \
  env KELVARA_REGEDIT_STEP=export KELVARA_REGEDIT_DIR="$wine_work" \
  wine "$windows_tests" --gtest_filter=RegeditPeer.RoundTripStep
key=$(cat "$work/key.txt" 2>/dev/null)
check "regedit /s imports our export" regedit_import "$wine_work\\ours.reg"
check "the registry holds the tree after regedit's import (under Wine)" \
  env KELVARA_REGEDIT_STEP=verify KELVARA_REGEDIT_DIR="$wine_work" \
  wine "$windows_tests" --gtest_filter=RegeditPeer.RoundTripStep
check "regedit /e exports the imported tree" wine regedit /e "$wine_work\\wine.reg" "$key"
# The test's scratch key, the parent of the tree.
wine reg delete "${key%\\*}" /f >/dev/null 2>&1
check "our reader reads regedit's export back unchanged" \
  env KELVARA_REGEDIT_STEP=compare KELVARA_REGEDIT_DIR="$work" \
  "$linux_tests" --gtest_filter=RegeditPeer.RoundTripStep

# 2. Wine's whole registry through a snapshot store.
check "regedit /e exports the whole registry" wine regedit /e "$wine_work\\full.reg"
check "the whole export loads into a snapshot store and is saved back" \
  "$bench" --load "$work/full.reg" --save "$work/saved.reg"
check "our reader accepts the saved export" "$bench" --load "$work/saved.reg"
check "regedit /s accepts the saved export" regedit_import "$wine_work\\saved.reg"

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
