#!/usr/bin/env bash
# The scanner against the ground truth of generated machines: for a few
# seeds, registry_gen writes a machine with planted problems in every
# category, and registry_bench scans it at the safe, normal and deep levels
# on the snapshot backend, cleans every finding with its backup, and exits 0
# only when precision and recall are both 1 at every level.
#
# Environment as set by scripts/test: KELVARA_LINUX_BUILD.
set -uo pipefail

bench=$KELVARA_LINUX_BUILD/bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
for seed in 1 2 3; do
  machine=$work/machine-$seed
  if "$bench/registry_gen" --out "$machine" --keys 20000 --seed "$seed" >"$work/gen-$seed.log" 2>&1 &&
    "$bench/registry_bench" --machine "$machine" --data-dir "$work/data-$seed" >"$work/bench-$seed.log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "seed $seed: the scan does not match the ground truth"
    cat "$work/gen-$seed.log" "$work/bench-$seed.log"
  fi
done
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
