#!/usr/bin/env bash
# Builds the workbook reader with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and replays the fuzz targets' seed corpus and the committed crash reproducers
# (fuzz/crashes/) through it. A sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVANTORELIX_SANITIZE=ON \
  "${launcher[@]}" >/dev/null
ninja -C build-asan ${JOBS:+-j "$JOBS"} workbook_replay
# Qt and GLib keep start-up allocations for the life of the process: leaks are not checked.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  build-asan/fuzz/workbook_replay fuzz/crashes
