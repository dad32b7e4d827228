#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test twice: in the
# normal build and under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh test

echo "=== format (.clang-format)"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

# A private Dovecot for the POP3 client's integration test, stopped on exit.
pop3_dir=$(mktemp -d)
trap 'bash scripts/dovecot-test-server.sh stop "$pop3_dir"; rm -rf "$pop3_dir"' EXIT
bash scripts/dovecot-test-server.sh start "$pop3_dir" >/dev/null
set -a; . "$pop3_dir/env"; set +a

jobs=$(nproc)
for preset in dev asan; do
  echo "=== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "=== $preset tests"
  ctest --preset "$preset" -j "$jobs"
done
bash scripts/fuzz.sh
