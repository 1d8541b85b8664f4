#!/usr/bin/env bash
# Configures and builds into build/: the targets named as arguments ("vantorelix",
# "vantorelix-setup", "test_comparison", ...), everything when none is named.
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
ninja -C build "$@"
