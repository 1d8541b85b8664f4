#!/usr/bin/env bash
# Installs what is missing, builds the program and the setup tool (not the tests and
# benchmarks), prepares the demo data drive (once) and starts the program on it. Extra
# arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh vantorelix vantorelix-setup
root="${VANTORELIX_DEMO_ROOT:-$PWD/demo-data}"
if [ ! -d "$root/C" ]; then
  build/vantorelix-setup --data-root "$root" --demo
fi
# The program's file in its folder of the data drive, as an installation has it: the main
# window shows its date as the release.
ln -sf "$PWD/build/vantorelix" "$root/C/Programmi/tolmo/vantorelix.exe"
exec build/vantorelix --data-root "$root" "$@"
