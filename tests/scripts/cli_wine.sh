#!/usr/bin/env bash
# kelvara-cli.exe on the live Wine registry: dangling startup and program
# path entries planted with "reg add" are reported next to healthy ones that
# are not, "clean" removes them and writes a backup, and "regedit /s" of that
# backup brings them back. The planted keys are removed at the end.
#
# Environment as set by scripts/test: KELVARA_WINDOWS_BUILD, WINEPREFIX with
# its wineserver running (WINEDEBUG=-all).
set -uo pipefail

export WINEDEBUG=${WINEDEBUG:--all}
cli=$KELVARA_WINDOWS_BUILD/kelvara-cli.exe

work=$(mktemp -d)
mkdir -p "$work/data"
# The same folder as Wine sees it.
wine_work="Z:${work//\//\\}"

run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
paths_key='HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths'
missing_exe='C:\KelvaraCliTest\missing.exe'
healthy_exe='C:\windows\notepad.exe'

cleanup() {
  wine reg delete "$run_key" /v KelvaraCliDangling /f /reg:64 >/dev/null 2>&1
  wine reg delete "$run_key" /v KelvaraCliHealthy /f /reg:64 >/dev/null 2>&1
  wine reg delete "$paths_key\\kelvaracli-missing.exe" /f /reg:64 >/dev/null 2>&1
  wine reg delete "$paths_key\\kelvaracli-healthy.exe" /f /reg:64 >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
# check NAME COMMAND...: counts the outcome of the command.
check() {
  local name=$1
  shift
  if "$@" >"$work/check.log" 2>&1; then
    passed=$((passed + 1))
    echo "ok: $name"
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
    cut -c1-300 "$work/check.log" | tail -n 20
  fi
}

if [[ ! -f $cli ]]; then
  echo "FAILED: $cli is not built"
  echo "0 passed, 1 failed"
  exit 1
fi

# present FILE TEXT / absent FILE TEXT: whether a finding line names TEXT.
present() { grep '"type":"finding"' "$1" | grep -qiF -- "$2"; }
absent() { ! present "$@"; }
value_exists() { wine reg query "$1" /v "$2" /reg:64 >/dev/null 2>&1; }
key_exists() { wine reg query "$1" /reg:64 >/dev/null 2>&1; }
value_missing() { ! value_exists "$@"; }
key_missing() { ! key_exists "$@"; }

plant() {
  wine reg add "$run_key" /v KelvaraCliDangling /d "\"$missing_exe\" /background" /f /reg:64 &&
    wine reg add "$run_key" /v KelvaraCliHealthy /d "$healthy_exe" /f /reg:64 &&
    wine reg add "$paths_key\\kelvaracli-missing.exe" /ve /d "$missing_exe" /f /reg:64 &&
    wine reg add "$paths_key\\kelvaracli-healthy.exe" /ve /d "$healthy_exe" /f /reg:64
}
check "planting the entries" plant

selection=(--category StartupProgram --category ApplicationPaths --data-dir "$wine_work\\data")

wine "$cli" scan --json "${selection[@]}" >"$work/scan.json" 2>"$work/scan.err"
check "scan exits 0" test $? -eq 0
check "scan reports the dangling Run value" present "$work/scan.json" '"value":"KelvaraCliDangling"'
check "scan reports the dangling App Paths key" present "$work/scan.json" 'App Paths\\kelvaracli-missing.exe"'
check "scan leaves the healthy Run value alone" absent "$work/scan.json" 'KelvaraCliHealthy'
check "scan leaves the healthy App Paths key alone" absent "$work/scan.json" 'kelvaracli-healthy.exe'
check "scan ends with its summary" grep -q '"type":"summary".*"status":"finished"' "$work/scan.json"

wine "$cli" clean --json "${selection[@]}" >"$work/clean.json" 2>"$work/clean.err"
check "clean exits 0" test $? -eq 0
check "clean reports no failure" grep -q '"type":"clean".*"failed":0' "$work/clean.json"
check "clean removes the dangling Run value" value_missing "$run_key" KelvaraCliDangling
check "clean removes the dangling App Paths key" key_missing "$paths_key\\kelvaracli-missing.exe"
check "clean keeps the healthy Run value" value_exists "$run_key" KelvaraCliHealthy
check "clean keeps the healthy App Paths key" key_exists "$paths_key\\kelvaracli-healthy.exe"
backups=("$work"/data/Backup/*.reg)
check "clean writes one backup" test "${#backups[@]}" -eq 1 -a -f "${backups[0]}"
check "clean records the backup in Config.ini" grep -qa 'RestoreData' "$work/data/Config.ini"

# Also restores whatever else of the prefix the clean removed.
backup_name=$(basename "${backups[0]}")
check "regedit imports the backup" wine regedit /s "$wine_work\\data\\Backup\\$backup_name"
check "the backup restores the Run value" value_exists "$run_key" KelvaraCliDangling
check "the backup restores the App Paths key" key_exists "$paths_key\\kelvaracli-missing.exe"
wine "$cli" scan --json "${selection[@]}" >"$work/rescan.json" 2>/dev/null
check "a new scan reports the restored entries" present "$work/rescan.json" '"value":"KelvaraCliDangling"'

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
