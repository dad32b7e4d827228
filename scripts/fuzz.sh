#!/usr/bin/env bash
# Builds the codec's libFuzzer targets with clang (ASan + UBSan) into
# build/fuzz and runs each for a bounded time from its seed corpus.
#   TOLVANE_FUZZ_SECONDS  seconds per target (default 20)
#   TOLVANE_FUZZ_TARGETS  space-separated names to run (default: all)
# Inputs found along the way stay in build/fuzz/work; crash files go to
# build/fuzz/artifacts. Exits non-zero when any target finds anything.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${TOLVANE_FUZZ_SECONDS:-20}
if ! command -v clang++-14 >/dev/null; then
  echo "clang++-14 not found: run bash scripts/install-deps.sh test" >&2
  exit 1
fi
build=build/fuzz
cmake -S fuzz -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"

read -r -a targets <<<"${TOLVANE_FUZZ_TARGETS:-$(tr '\n' ' ' <"$build/fuzz_targets.txt")}"
mkdir -p "$build/artifacts" "$build/logs"
failed=()
for t in "${targets[@]}"; do
  # New inputs go to the scratch directory, listed first; the seeds in the
  # repository are only read.
  work="$build/work/$t"
  rm -rf "$work"
  mkdir -p "$work"
  log="$build/logs/$t.log"
  seeds=()
  [[ -d "fuzz/corpus/$t" ]] && seeds=("fuzz/corpus/$t")
  rc=0
  "$build/$t" "$work" "${seeds[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" >"$log" 2>&1 || rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if ((rc == 0)); then
    printf '%-22s ok      %s runs\n' "$t" "${runs:-?}"
  else
    printf '%-22s FAILED  %s runs (exit %d), log %s\n' "$t" "${runs:-?}" "$rc" "$log"
    { grep -E -m1 -A4 'property failed|ERROR:|runtime error' "$log" || tail -n 5 "$log"; } | sed 's/^/    /'
    grep -E -m1 'Test unit written to' "$log" | sed 's/^.*Test unit written to /    crash file: /' || true
    failed+=("$t")
  fi
done

if ((${#failed[@]})); then
  echo "fuzzing found problems in: ${failed[*]}"
  exit 1
fi
echo "fuzzing: no findings"
