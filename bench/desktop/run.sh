#!/usr/bin/env bash
# The tray program's start-up, idle memory and idle CPU on a private desktop
# checking a private Dovecot.
#   bench/desktop/run.sh [BINARY] [ROUNDS] [IDLE_SECONDS]
# (default build/release/app/tolvane, 5 starts, 60 s)
set -euo pipefail
cd "$(dirname "$0")/../.."
binary=${1:-build/release/app/tolvane}
rounds=${2:-5}
idle=${3:-60}
if [[ -z ${1:-} ]]; then
  cmake --preset release >/dev/null
  cmake --build --preset release --target tolvane >/dev/null
fi
[[ -x $binary ]] || { echo "no program at $binary" >&2; exit 1; }

pop3=$(mktemp -d)
desktop=$(mktemp -d)
trap 'bash scripts/desktop-session.sh stop "$desktop"; bash scripts/dovecot-test-server.sh stop "$pop3"
      rm -rf "$pop3" "$desktop"' EXIT
port=$(bash scripts/dovecot-test-server.sh start "$pop3")
bash scripts/desktop-session.sh start "$desktop"
set -a; . "$desktop/env"; set +a
python3 bench/desktop/desktop_bench.py "$binary" "127.0.0.1:$port" alice alice-pw \
  --rounds "$rounds" --idle "$idle"
