#!/usr/bin/env bash
# Whole-process throughput of jconvert against the tools users would
# otherwise pick: glibc iconv and nkf for the character codes, coreutils
# base64 and sharutils uuencode/uudecode for the transfer encodings.
#
# usage: bench/codec_tools.sh [-n RUNS] [-c] [-j JCONVERT] [DATA_DIR]
#
# DATA_DIR (default /tmp/tolvane-bench) must hold text.sjis, text.euc and
# text.jis from bench/gen_japanese_text.py; 64 MiB of random bytes are added
# there on the first run. Every command reads a file and writes to a file in
# DATA_DIR; each figure is the best of RUNS (default 5) wall-clock runs, in
# MiB of input per second. `cat` of the same input is the floor. -c ranks by
# CPU time (user + system) instead, which a busy machine disturbs less.
set -euo pipefail

runs=5
cpu=0
here=$(cd "$(dirname "$0")" && pwd)
jconvert=""
while getopts "n:j:ch" opt; do
  case $opt in
    n) runs=$OPTARG ;;
    c) cpu=1 ;;
    j) jconvert=$OPTARG ;;
    *) sed -n '2,14p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
data=${1:-/tmp/tolvane-bench}

if [[ -z $jconvert ]]; then
  for b in e-release release; do
    if [[ -x $here/../build/$b/tools/jconvert/jconvert ]]; then jconvert=$here/../build/$b/tools/jconvert/jconvert; break; fi
  done
fi
[[ -x $jconvert ]] || { echo "codec_tools: no jconvert (build the release preset or pass -j)" >&2; exit 2; }
for f in text.sjis text.euc text.jis; do
  [[ -f $data/$f ]] || { echo "codec_tools: $data/$f missing; run bench/gen_japanese_text.py $data" >&2; exit 2; }
done
if [[ ! -f $data/random.bin ]]; then
  head -c $((64 << 20)) /dev/urandom > "$data/random.bin"
fi
out=$data/out.tmp
trap 'rm -f "$out"' EXIT

have() { command -v "$1" > /dev/null 2>&1; }

# best_mibs FILE CMD...: best of $runs runs of CMD > $out, as MiB/s of FILE;
# "failed" when CMD exits non-zero. With -c the time is the command's CPU
# time (user + system) instead of wall-clock time.
best_mibs() {
  local file=$1; shift
  local size best="" t rc
  size=$(stat -c %s "$file")
  for ((r = 0; r < runs; r++)); do
    local TIMEFORMAT="%3R %3U %3S"
    t=$( { time "$@" > "$out" 2> /dev/null; } 2>&1 ) && rc=0 || rc=$?
    if ((rc != 0)); then echo failed; return; fi
    t=$(awk -v cpu="$cpu" '{ print cpu ? $2 + $3 : $1 }' <<< "$t")
    best=$(awk -v a="$t" -v b="$best" 'BEGIN { print (b == "" || a < b) ? a : b }')
  done
  # Below the timer's millisecond the figure is only a lower bound.
  awk -v s="$size" -v t="$best" 'BEGIN { if (t < 0.001) printf ">%.0f", s / 1048576 / 0.001; else printf "%.0f", s / 1048576 / t }'
}

ratio() {  # ratio A B: A/B with one decimal, or "-"
  if [[ $1 =~ ^[0-9]+$ && $2 =~ ^[0-9]+$ && $2 -gt 0 ]]; then
    awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1fx", a / b }'
  else
    echo "-"
  fi
}

# row NAME INPUT "JCONVERT ARGS" "PEER1 CMD" "PEER2 CMD": one line of the table.
row() {
  local name=$1 input=$2 jargs=$3 peer1=$4 peer2=$5 j p1="-" p2="-" c
  # shellcheck disable=SC2086
  j=$(best_mibs "$input" "$jconvert" $jargs "$input")
  # shellcheck disable=SC2086
  [[ $peer1 != "-" ]] && p1=$(best_mibs "$input" $peer1 "$input")
  # shellcheck disable=SC2086
  [[ $peer2 != "-" ]] && p2=$(best_mibs "$input" $peer2 "$input")
  c=$(best_mibs "$input" cat "$input")
  printf "%-16s %10s %10s %10s %10s %10s %10s\n" "$name" "$j" "$p1" "$p2" "$c" "$(ratio "$j" "$p1")" "$(ratio "$j" "$p2")"
}

echo "jconvert: $jconvert"
echo "input: $data (best of $runs runs, MiB/s of input by $( ((cpu)) && echo "CPU" || echo "wall-clock") time; ratio = jconvert / peer)"
echo
printf "%-16s %10s %10s %10s %10s %10s %10s\n" "character codes" jconvert iconv nkf cat "vs iconv" "vs nkf"
have nkf || echo "(nkf not installed: apt-get install nkf)"
nkf_or() { have nkf && echo "nkf $1" || echo "-"; }
row "SJIS->EUC" "$data/text.sjis" "convert --from sjis --to euc" "iconv -f SHIFT_JIS -t EUC-JP" "$(nkf_or "-S -e")"
row "EUC->SJIS" "$data/text.euc" "convert --from euc --to sjis" "iconv -f EUC-JP -t SHIFT_JIS" "$(nkf_or "-E -s")"
# Plain ISO-2022-JP has no half-width katakana: iconv gets the -3 variant.
row "SJIS->JIS" "$data/text.sjis" "convert --from sjis --to jis" "iconv -f SHIFT_JIS -t ISO-2022-JP-3" "$(nkf_or "-S -j")"
row "JIS->SJIS" "$data/text.jis" "convert --from jis --to sjis" "iconv -f ISO-2022-JP -t SHIFT_JIS" "$(nkf_or "-J -s")"
row "EUC->JIS" "$data/text.euc" "convert --from euc --to jis" "iconv -f EUC-JP -t ISO-2022-JP-3" "$(nkf_or "-E -j")"
row "JIS->EUC" "$data/text.jis" "convert --from jis --to euc" "iconv -f ISO-2022-JP -t EUC-JP" "$(nkf_or "-J -e")"
row "detect+SJIS->EUC" "$data/text.sjis" "convert --to euc" "-" "$(nkf_or "-e")"
row "guess (SJIS)" "$data/text.sjis" "guess" "-" "$(nkf_or "--guess")"
row "guess (JIS)" "$data/text.jis" "guess" "-" "$(nkf_or "--guess")"

echo
printf "%-16s %10s %10s %10s %10s %10s\n" "transfer" jconvert peer "" cat "vs peer"
random=$data/random.bin
# transfer NAME SUBCOMMAND-AND-ARGS INPUT "PEER CMD" (peer reads INPUT as its last argument)
transfer() {
  local name=$1 sub=$2 input=$3 peer=$4 j p c
  # shellcheck disable=SC2086
  j=$(best_mibs "$input" "$jconvert" $sub "$input")
  # shellcheck disable=SC2086
  p=$(best_mibs "$input" $peer "$input")
  c=$(best_mibs "$input" cat "$input")
  printf "%-16s %10s %10s %10s %10s %10s\n" "$name" "$j" "$p" "" "$c" "$(ratio "$j" "$p")"
}
# Decoders get the same encoded input: coreutils' 76-column LF lines decode
# with either tool; sharutils needs its begin/end lines, jconvert only the body.
base64 "$random" > "$data/random.b64"
transfer "base64 encode" "base64-encode --line-break \\r\\n" "$random" "base64"
transfer "base64 decode" "base64-decode" "$data/random.b64" "base64 -d"
if have uuencode; then
  uuencode "$random" random.bin > "$data/random.uu"
  "$jconvert" uu-encode "$random" > "$data/random.uubody"
  # shellcheck disable=SC2317
  uuencode_stdout() { uuencode "$1" random.bin; }
  # shellcheck disable=SC2317
  uudecode_out() { uudecode -o /dev/stdout "$1"; }
  transfer "uu encode" "uu-encode" "$random" "uuencode_stdout"
  j=$(best_mibs "$data/random.uubody" "$jconvert" uu-decode "$data/random.uubody")
  p=$(best_mibs "$data/random.uu" uudecode_out "$data/random.uu")
  c=$(best_mibs "$data/random.uu" cat "$data/random.uu")
  printf "%-16s %10s %10s %10s %10s %10s\n" "uu decode" "$j" "$p" "" "$c" "$(ratio "$j" "$p")"
else
  echo "(sharutils not installed: apt-get install sharutils)"
fi
rm -f "$data/random.b64" "$data/random.uu" "$data/random.uubody"
