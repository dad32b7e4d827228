#!/usr/bin/env bash
# Installs what building needs, builds the release binaries and runs the
# program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
exec build/release/tools/jconvert/jconvert --help
