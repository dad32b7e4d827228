#!/usr/bin/env bash
# Installs what building and running need, builds the release binaries and
# runs the program.
#
# With settings of your own (build/release/app/tolvane.ini beside the binary,
# or ~/.config/tolvane/tolvane.ini) it simply runs. Otherwise it runs a demo in build/demo/, apart from any
# settings of yours: a copy of the binary checking a private local POP3
# server that holds a few sample mails, with one NG word. Without a display
# the demo brings a private desktop of its own (Xvfb), saves a screenshot to
# build/demo/screen.png and keeps running until Ctrl-C.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh run
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"

binary=build/release/app/tolvane
[[ -f build/release/app/tolvane.ini ]] && exec "$binary"
config=${XDG_CONFIG_HOME:-}
[[ $config == /* ]] || config=$HOME/.config
[[ -f $config/tolvane/tolvane.ini ]] && exec "$binary"

demo=$root/build/demo
session=$demo/desktop
program_pid=
pop3=
cleanup() {
  trap - EXIT INT TERM
  if [[ -n $program_pid ]]; then
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
  fi
  bash "$root/scripts/desktop-session.sh" stop "$session"
  if [[ -n $pop3 ]]; then
    bash "$root/scripts/dovecot-test-server.sh" stop "$pop3"
    rm -rf "$pop3"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

mkdir -p "$demo"
# The server's own users must reach its files, which a project inside a
# private home folder would not allow.
pop3=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-demo-pop3.XXXXXX")
port=$(bash "$root/scripts/dovecot-test-server.sh" start "$pop3")
cp "$binary" "$demo/tolvane"
# The program reads its files as Shift_JIS with CR LF lines.
printf '%s\r\n' '[Option]' 'Stop=0' 'Icon=0' 'SndFile=' \
  '[Account:1]' 'ShortName=D' "POPServer=127.0.0.1:$port" 'Account=demo' 'Password=demo-pw' \
  | iconv -f UTF-8 -t SHIFT_JIS >"$demo/tolvane.ini"
printf '%s\r\n' '未承認広告' | iconv -f UTF-8 -t SHIFT_JIS >"$demo/ngword.txt"
echo "demo: $demo/tolvane checks a local POP3 server (127.0.0.1:$port, 5 sample mails," \
  "one hidden by the NG word 未承認広告)" >&2

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
  echo "demo: no display here: starting a private desktop (Xvfb, openbox, trayer);" \
    "a screenshot follows, Ctrl-C ends the demo" >&2
  bash "$root/scripts/desktop-session.sh" start "$session"
  set -a; . "$session/env"; set +a
  export QT_QPA_PLATFORM=xcb LANG=${LANG:-C.UTF-8}
  "$demo/tolvane" &
  program_pid=$!
  # The picture worth taking: the notification of the first check, which
  # stays up 4 s. The first start on a new machine can take a while (font
  # caches), so wait for it as long as it takes, then shoot at once.
  shown=
  for _ in $(seq 600); do
    if xdotool search --onlyvisible --name '^Tolvane - ' >/dev/null 2>&1; then shown=1; break; fi
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
  done
  sleep 0.3  # placed at its corner and painted
  import -window root "$demo/screen.png"
  if [[ -n $shown ]]; then
    echo "demo: screenshot of the private desktop: $demo/screen.png (the notification" \
      "window with the sample mails at the top left, the main window in the middle," \
      "the tray icon at the bottom right)" >&2
  else
    echo "demo: screenshot of the private desktop: $demo/screen.png (no notification" \
      "window came up within 60 s)" >&2
  fi
  wait "$program_pid" || true
  program_pid=
else
  # In the foreground, so that Ctrl-C reaches the program too.
  "$demo/tolvane" || true
fi
