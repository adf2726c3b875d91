#!/bin/sh
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for MINUTES (may be
# fractional: 0.25 is 15 s) on a scratch copy of its corpus in fuzz/corpus/, as many at a time
# as there are cores. Prints one line per target (runs, time, result) and exits non-zero naming
# every target that found a crash, leak or hang (the input is kept beside its log).
#
#   scripts/fuzz.sh MINUTES [--merge]
#
# --merge adds the inputs that reached new code to fuzz/corpus/ (minimised with -merge=1),
# except for the targets whose inputs are whole files of tens of KB: their corpus stays the
# seeds (profile files, colour scheme templates) so the repository stays small.
# FUZZ_BUILD_DIR (default build-fuzz), FUZZ_LOG_DIR (default $FUZZ_BUILD_DIR/fuzz-run) and
# FUZZ_JOBS (default nproc) change where and how many.
set -e
cd "$(dirname "$0")/.."
self="$(pwd)/scripts/fuzz.sh"

# name, -max_len, -rss_limit_mb, whether --merge adds to its corpus
TARGETS="profile_file_fuzzer 70000 4096 no
macro_area_fuzzer 8192 2048 yes
key_block_fuzzer 756 2048 yes
ini_file_fuzzer 4096 2048 yes
transaction_answer_fuzzer 4096 2048 yes
colour_scheme_fuzzer 20000 2048 no
skin_rect_fuzzer 4096 2048 yes
key_event_fuzzer 1024 2048 yes"

BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
LOG_DIR=${FUZZ_LOG_DIR:-$BUILD_DIR/fuzz-run}

# One target's run, started by the main part below through xargs.
if [ "$1" = --run-one ]; then
  name=$2 max_len=$3 rss=$4 mergeable=$5 seconds=$6 merge=$7
  scratch="$LOG_DIR/$name.corpus"
  rm -rf "$scratch" "$LOG_DIR/$name.artifacts" "$LOG_DIR/$name.failed"
  mkdir -p "$scratch" "$LOG_DIR/$name.artifacts"
  if [ -d "fuzz/corpus/$name" ]; then cp -R "fuzz/corpus/$name/." "$scratch/"; fi
  log="$LOG_DIR/$name.log"
  status=0
  "$BUILD_DIR/bin/$name" "$scratch" -max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb="$rss" \
    -timeout=25 -print_final_stats=1 -artifact_prefix="$LOG_DIR/$name.artifacts/" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
  if [ "$status" = 0 ]; then
    result=clean
    if [ "$merge" = 1 ] && [ "$mergeable" = yes ]; then
      mkdir -p "fuzz/corpus/$name"
      # Edges only, not hit counts: a few dozen small inputs per target instead of hundreds.
      "$BUILD_DIR/bin/$name" -merge=1 -use_counters=0 -max_len="$max_len" -rss_limit_mb="$rss" \
        "fuzz/corpus/$name" "$scratch" >>"$log" 2>&1
    fi
  else
    result="FOUND A FAULT (exit $status): $(ls "$LOG_DIR/$name.artifacts" | head -1) - see $log"
    touch "$LOG_DIR/$name.failed"
  fi
  printf '%-26s %12s runs %6ss  %s\n' "$name" "${runs:-?}" "${took:-?}" "$result"
  [ "$status" = 0 ]
  exit
fi

if [ $# -lt 1 ] || [ $# -gt 2 ] || { [ $# = 2 ] && [ "$2" != --merge ]; }; then
  echo "usage: $0 MINUTES [--merge]" >&2
  exit 2
fi
seconds=$(awk -v m="$1" 'BEGIN { s = int(m * 60 + 0.5); if (m !~ /^[0-9]*\.?[0-9]+$/ || s < 1) exit 1; print s }') || {
  echo "$0: MINUTES must be a positive number, not '$1'" >&2
  exit 2
}
merge=0
[ "$2" = --merge ] && merge=1

set --
if command -v ninja >/dev/null 2>&1 && [ ! -f "$BUILD_DIR/Makefile" ]; then set -- -G Ninja; fi
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$(pwd)" CCACHE_NOHASHDIR=1
  set -- "$@" -DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" "$@" -DQUILLMAR_FUZZ=ON -DQUILLMAR_TESTS=OFF \
  -DQUILLMAR_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
names=$(echo "$TARGETS" | cut -d' ' -f1)
# shellcheck disable=SC2086
cmake --build "$BUILD_DIR" -j "$(nproc)" --target $names

mkdir -p "$LOG_DIR"
# Some targets save files (and flush them to disk) for every input: memory is faster.
if [ -z "$TMPDIR" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
echo "Running each fuzz target for $seconds s (logs in $LOG_DIR)"
failed=0
echo "$TARGETS" | while read -r name max_len rss mergeable; do echo "$name $max_len $rss $mergeable $seconds $merge"; done |
  xargs -P "${FUZZ_JOBS:-$(nproc)}" -L 1 "$self" --run-one || failed=1
if [ "$failed" = 1 ]; then
  echo "fuzzing found faults in: $(cd "$LOG_DIR" && ls ./*.failed | sed 's|^\./||; s|\.failed$||' | tr '\n' ' ')" >&2
  exit 1
fi
