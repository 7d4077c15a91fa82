#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test with ctest: first the
# normal build (warnings are errors), then the same tests under
# AddressSanitizer + UndefinedBehaviorSanitizer, and the threaded ones under
# ThreadSanitizer. KORVALLA_QUICK=1 skips the sanitizer builds.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

build_and_test() {
  local dir=$1 type=$2 sanitize=$3 filter=$4
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DKORVALLA_WERROR=ON \
    -DKORVALLA_SANITIZE="$sanitize" -DKORVALLA_BUILD_BENCH="$([ -z "$sanitize" ] && echo ON || echo OFF)" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" ${filter:+-R "$filter"}
}

./scripts/check-format.sh

build_and_test build RelWithDebInfo "" ""

if [ "${KORVALLA_QUICK:-0}" != 1 ]; then
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
  build_and_test build-asan Debug address,undefined ""

  export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:die_after_fork=0:suppressions=$PWD/scripts/tsan.supp
  build_and_test build-tsan Debug thread 'TcpServer|ConnectionTest|ConnectionHandler|ReceiverShutdown|ExclusiveFile|ClosingWhileTwentyTransfersRun|TransfersShowAsRows|BatchSendTest|SendsAndReportsThroughTheWindow|ClosingDuringACountdown|CommandLineTest'
fi
echo "test.sh: all tests passed"
