# shellcheck shell=bash
# Counting test results across the targets. Sourced by scripts/test.

total_passed=0
total_failed=0
failure_reasons=()

# note_failure TEXT: one failed check that is not a test (format, build).
note_failure() {
  failure_reasons+=("$1")
  total_failed=$((total_failed + 1))
}

# A top-level number of a GoogleTest JSON report ("tests", "failures",
# "disabled"); empty when the report is missing or unreadable. Reports
# written by the Windows binaries have CRLF line ends.
json_count() {
  [[ -f $1 ]] || return 0
  tr -d '\r' <"$1" | sed -n "s/^  \"$2\": \([0-9][0-9]*\),\{0,1\}\$/\1/p" | head -n 1
}

# add_gtest_result LABEL EXIT_CODE REPORT LOG: adds one binary's counts.
# A binary that failed without a report, or whose report shows no failed
# test although it failed (a crash, a leak found at exit), counts one
# failure of its own.
add_gtest_result() {
  local label=$1 code=$2 report=$3 log=$4
  local tests failures disabled skipped passed
  tests=$(json_count "$report" tests)
  failures=$(json_count "$report" failures)
  disabled=$(json_count "$report" disabled)
  if [[ -z $tests || -z $failures ]]; then
    tests=0 failures=0 disabled=0
  fi
  skipped=$(grep -c '"result": "SKIPPED"' "$report" 2>/dev/null || true)
  skipped=${skipped:-0}
  passed=$((tests - failures - ${disabled:-0} - skipped))
  if [[ $code -ne 0 && $failures -eq 0 ]]; then
    failures=1
  fi
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failures))
  local note=""
  [[ $skipped -gt 0 ]] && note=", $skipped skipped"
  echo "$label: $passed passed, $failures failed$note"
  if [[ $code -ne 0 ]]; then
    failure_reasons+=("$label exited with code $code (log: $log)")
    echo "---- output of $label ----"
    cat "$log"
    echo "---- end of $label ----"
  fi
}

# add_script_result LABEL EXIT_CODE LOG: a script counts as one test unless
# its last line is "N passed, N failed".
add_script_result() {
  local label=$1 code=$2 log=$3
  local last passed failed
  last=$(tail -n 1 "$log" 2>/dev/null || true)
  if [[ $last =~ ^([0-9]+)\ passed,\ ([0-9]+)\ failed$ ]]; then
    passed=${BASH_REMATCH[1]}
    failed=${BASH_REMATCH[2]}
  elif [[ $code -eq 0 ]]; then
    passed=1 failed=0
  else
    passed=0 failed=1
  fi
  if [[ $code -ne 0 && $failed -eq 0 ]]; then
    failed=1
  fi
  total_passed=$((total_passed + passed))
  total_failed=$((total_failed + failed))
  echo "$label: $passed passed, $failed failed"
  if [[ $code -ne 0 || $failed -ne 0 ]]; then
    failure_reasons+=("$label failed with code $code (log: $log)")
    echo "---- output of $label ----"
    cat "$log"
    echo "---- end of $label ----"
  fi
}
