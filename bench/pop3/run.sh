#!/usr/bin/env bash
# Benchmarks the POP3 client on a private Dovecot holding 1000 messages, on
# loopback and through a proxy that adds a round trip.
#   bench/pop3/run.sh [BUILD_DIR] [ROUNDS] [RTTS_MS]   (default build/bench, 5, 0,5,20)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/bench}
rounds=${2:-5}
rtts=${3:-0,5,20}
[[ -f $build/CMakeCache.txt ]] || cmake --preset bench >/dev/null
cmake --build "$build" --target pop3_bench >/dev/null
dir=$(mktemp -d)
trap 'bash scripts/dovecot-test-server.sh stop "$dir"; rm -rf "$dir"' EXIT
port=$(bash scripts/dovecot-test-server.sh start "$dir" 1000)
python3 bench/pop3/run_bench.py "$build/bench/pop3/pop3_bench" "127.0.0.1:$port" bulk bulk-pw "$rounds"
python3 bench/pop3/rtt_bench.py "$build/bench/pop3/pop3_bench" "127.0.0.1:$port" bulk bulk-pw "direct,$rtts" 1
