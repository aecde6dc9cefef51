#!/usr/bin/env bash
# A long fuzz run: every target (or those named) for RUNS inputs each, from
# its seed corpus, with the sanitizers, at low priority. Needs the build of
# tools/test-sanitized.sh (build-san/). What a run finds stays in
# build-san/fuzz-long/<target>/; a crash leaves its input there as crash-*.
#   bash tools/fuzz.sh 1000000                  # all targets
#   bash tools/fuzz.sh 1000000 fuzz_link        # one
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${TARVO_BUILD_DIR:-$here/build-san}"
runs="${1:-1000000}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=($(cd "$here/fuzz/corpus" && ls))
. "$here/tools/sanitizer-env.sh"
export QT_QPA_PLATFORM=offscreen
failed=0
for t in "${targets[@]}"; do
  out="$build/fuzz-long/$t"
  mkdir -p "$out"
  start=$SECONDS
  nice -n 19 "$build/bin/$t" -runs="$runs" -timeout=20 -print_final_stats=1 -artifact_prefix="$out/" \
    "$out" "$here/fuzz/corpus/$t" > "$out/log" 2>&1
  rc=$?
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$out/log" | grep -o '[0-9]*$')
  echo "$t: exit $rc, ${execs:-?} inputs in $((SECONDS - start)) s, corpus $(ls "$out" | grep -vc '^log$\|^crash-\|^leak-\|^timeout-\|^oom-') entries, log $out/log"
  ((rc == 0)) || failed=1
done
exit $failed
