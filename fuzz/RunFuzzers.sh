#!/bin/sh
# Runs every libFuzzer target of a fuzz build for a bounded time each.
# Usage: fuzz/RunFuzzers.sh <fuzz build folder> <seconds per target> [target...]
#
# Each target starts from its seed corpus in the repository; what it learns
# goes to a working corpus in the build folder, so the repository keeps only
# the seeds and the regression inputs. A crash, leak, hang (10 s per input) or
# oversized allocation (256 MB) stops that target and leaves its input in
# <build>/fuzz-artifacts/; the script then fails after running the rest.
# Inputs grow to 16 kB at most: regression inputs in a corpus may be larger
# (the replay tests read them whole), and the fuzzer takes their first part.

set -u
build=$1
seconds=$2
shift 2
source_folder=$(cd "$(dirname "$0")" && pwd)
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
artifacts=$(cd "$artifacts" && pwd)

if [ $# -eq 0 ]; then
  set -- $(ls "$source_folder/corpus")
fi

failed=""
for target in "$@"; do
  program="$build/fuzz/${target}Fuzzer"
  if [ ! -x "$program" ]; then
    echo "No fuzz target $target in $build"
    failed="$failed $target"
    continue
  fi
  work="$build/fuzz-corpus/$target"
  mkdir -p "$work"
  echo "=== $target: $seconds seconds"
  "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=256 -max_len=16384 \
    -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
    "$work" "$source_folder/corpus/$target" 2>"$build/fuzz-$target.log"
  status=$?
  grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|Done|#[0-9]+ *DONE)" \
    "$build/fuzz-$target.log"
  if [ $status -ne 0 ]; then
    tail -n 40 "$build/fuzz-$target.log"
    failed="$failed $target"
  fi
done

if [ -n "$failed" ]; then
  echo "Fuzz targets with findings:$failed (inputs in $artifacts)"
  exit 1
fi
echo "No findings."
