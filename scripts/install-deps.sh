#!/usr/bin/env bash
# Installs the Debian 12 packages that building needs, plus those of each
# group named: "test" (the test suite) and "run" (running the program and
# its demo, scripts/run.sh). Runs as root; does nothing when everything is
# already there.
#   install-deps.sh [test] [run]
set -euo pipefail

build_pkgs=(build-essential cmake ninja-build pkg-config qt6-base-dev libcanberra-dev libxcb1-dev librsvg2-bin)
# The interface text is Japanese; Liberation Sans stands in for Arial.
build_pkgs+=(fonts-ipafont-gothic fonts-liberation2)
# The private desktop of scripts/desktop-session.sh: an X server, a bus of
# its own (not dbus-x11, whose autolaunch would leave a bus behind), a window
# manager and a tray host; x11-utils, xdotool and imagemagick look at it.
desktop_pkgs=(xvfb xauth dbus-daemon openbox trayer x11-utils)
test_pkgs=(libgtest-dev libgmock-dev libbenchmark-dev python3 clang-format
           nkf sharutils macutils
           clang-14 libfuzzer-14-dev libclang-rt-14-dev
           dovecot-core dovecot-pop3d
           "${desktop_pkgs[@]}" xdotool imagemagick)
# The sound played on new mail, and the demo's private POP3 server.
run_pkgs=(libcanberra0 sound-theme-freedesktop python3 dovecot-core dovecot-pop3d)
# Without a display the demo brings its own desktop and takes a screenshot.
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
  run_pkgs+=("${desktop_pkgs[@]}" xdotool imagemagick)
fi

pkgs=("${build_pkgs[@]}")
for group in "$@"; do
  case $group in
    test) pkgs+=("${test_pkgs[@]}") ;;
    run) pkgs+=("${run_pkgs[@]}") ;;
    *) echo "install-deps: unknown group '$group' (test, run)" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
