#!/usr/bin/env bash
# A private desktop for the tray program on a machine without a display:
# Xvfb, a session D-Bus of its own, openbox and the trayer tray host. It
# touches no display or bus of the user's.
#
#   desktop-session.sh start DIR     ready when it returns: the tray is owned
#   desktop-session.sh stop DIR      ends every process that start began
#
# DIR/env holds DISPLAY, DBUS_SESSION_BUS_ADDRESS and XDG_RUNTIME_DIR (to be
# sourced with set -a); the logs of each process are in DIR/*.log.
set -euo pipefail

die() { echo "desktop-session: $*" >&2; exit 1; }

# The bus has no service directories: nothing can be activated on it, so in
# particular no StatusNotifierWatcher, and Qt uses the X11 tray protocol,
# which X tools can click.
write_bus_config() {
  cat >"$1/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=$1/runtime/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
}

# Whether the X selection $1 has an owner on $DISPLAY (exit status).
selection_owned() {
  python3 - "$1" <<'PY'
import ctypes, os, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XGetSelectionOwner.restype = ctypes.c_ulong
x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XCloseDisplay.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(os.environ["DISPLAY"].encode())
if not d:
    sys.exit(2)
owner = x.XGetSelectionOwner(d, x.XInternAtom(d, sys.argv[1].encode(), 0))
x.XCloseDisplay(d)
sys.exit(0 if owner else 1)
PY
}

# wait_for TENTHS COMMAND...: polls COMMAND every 0.1 s.
wait_for() {
  local tenths=$1; shift
  for _ in $(seq "$tenths"); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 1
}

# start_bg NAME COMMAND...: runs COMMAND in the background with its output in
# DIR/NAME.log and records "pid name" for stop.
# In a session of their own: a Ctrl-C in the terminal (which X servers do
# not ignore) must not take the desktop away before the program has ended.
start_bg() {
  local name=$1; shift
  setsid "$@" </dev/null >"$dir/$name.log" 2>&1 &
  echo "$! $name" >>"$dir/pids"
}

wm_running() { xprop -root -notype _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }

start() {
  dir=$1
  for tool in Xvfb dbus-daemon openbox trayer xprop python3; do
    command -v "$tool" >/dev/null ||
      die "$tool is not installed (bash scripts/install-deps.sh test)"
  done
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  [[ -f $dir/pids ]] && stop "$dir"
  rm -rf "$dir/runtime" "$dir/env" "$dir/display"
  mkdir -m 700 "$dir/runtime"
  trap 'stop "$dir"' ERR

  # -displayfd picks a free display and writes its number once the server
  # accepts connections.
  : >"$dir/display"
  start_bg xvfb Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$dir/display"
  wait_for 100 grep -q '^[0-9]' "$dir/display" || { cat "$dir/xvfb.log" >&2; stop "$dir"; die "Xvfb did not start"; }
  DISPLAY=:$(head -n1 "$dir/display")
  export DISPLAY

  write_bus_config "$dir"
  start_bg dbus dbus-daemon --nofork --nopidfile --config-file="$dir/bus.conf"
  wait_for 100 test -S "$dir/runtime/bus" || { cat "$dir/dbus.log" >&2; stop "$dir"; die "dbus-daemon did not start"; }

  start_bg openbox openbox --sm-disable
  wait_for 100 wm_running || { cat "$dir/openbox.log" >&2; stop "$dir"; die "openbox did not start"; }

  # Programs check for a tray only once the selection has an owner.
  start_bg trayer trayer --edge bottom --align right --widthtype request --height 24 \
    --SetDockType true --expand true --transparent false
  wait_for 100 selection_owned _NET_SYSTEM_TRAY_S0 || { cat "$dir/trayer.log" >&2; stop "$dir"; die "trayer took no tray selection"; }

  printf '%s\n' "DISPLAY=$DISPLAY" "DBUS_SESSION_BUS_ADDRESS=unix:path=$dir/runtime/bus" \
    "XDG_RUNTIME_DIR=$dir/runtime" >"$dir/env"
  trap - ERR
}

# True when pid $1 is alive and still the program recorded as $2 (a pid can
# be reused after its process ended).
ours() {
  local comm
  comm=$(cat "/proc/$1/comm" 2>/dev/null) || return 1
  # An ended process not yet reaped is gone for our purpose.
  [[ $(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) != Z ]] || return 1
  case $2 in
    xvfb) [[ $comm == Xvfb ]] ;;
    dbus) [[ $comm == dbus-daemon ]] ;;
    *) [[ $comm == "$2" ]] ;;
  esac
}

stop() {
  local d=$1 pid name alive
  [[ -f $d/pids ]] || return 0
  # Last started first: the tray host and the window manager before the
  # display they are clients of.
  local -a pids=() names=()
  while read -r pid name; do
    pids=("$pid" "${pids[@]}"); names=("$name" "${names[@]}")
  done <"$d/pids"
  for i in "${!pids[@]}"; do
    if ours "${pids[$i]}" "${names[$i]}"; then kill "${pids[$i]}" 2>/dev/null || true; fi
  done
  for _ in $(seq 30); do
    alive=0
    for i in "${!pids[@]}"; do
      ours "${pids[$i]}" "${names[$i]}" && alive=1
    done
    ((alive)) || break
    sleep 0.1
  done
  for i in "${!pids[@]}"; do
    if ours "${pids[$i]}" "${names[$i]}"; then kill -9 "${pids[$i]}" 2>/dev/null || true; fi
  done
  rm -f "$d/pids" "$d/env"
  rm -rf "$d/runtime"
}

case "${1:-}" in
  start) [[ $# -eq 2 ]] || die "usage: $0 start DIR"; start "$2" ;;
  stop) [[ $# -eq 2 ]] || die "usage: $0 stop DIR"; stop "$2" ;;
  *) die "usage: $0 start DIR | stop DIR" ;;
esac
