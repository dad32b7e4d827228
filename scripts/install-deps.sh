#!/usr/bin/env bash
# Installs the Debian 12 packages that building (and, with "test", testing)
# needs. Runs as root; does nothing when everything is already there.
set -euo pipefail

build_pkgs=(build-essential cmake ninja-build qt6-base-dev)
# The interface text is Japanese; Liberation Sans stands in for Arial.
build_pkgs+=(fonts-ipafont-gothic fonts-liberation2)
test_pkgs=(libgtest-dev libgmock-dev libbenchmark-dev python3
           nkf sharutils macutils
           clang-14 libfuzzer-14-dev libclang-rt-14-dev
           dovecot-core dovecot-pop3d)

pkgs=("${build_pkgs[@]}")
[[ "${1:-}" == test ]] && pkgs+=("${test_pkgs[@]}")

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
