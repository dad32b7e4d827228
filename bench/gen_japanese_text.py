#!/usr/bin/env python3
"""Writes a large, realistic Japanese text in Shift_JIS, EUC-JP and JIS.

The text is paragraphs of sentences mixing kanji compounds, hiragana,
katakana words (some half-width), ASCII words and numbers, full-width
punctuation and line breaks. Only JIS X 0208 characters that every converter
maps the same way are used (no vendor extensions, no wave dash, no
backslash-like symbols), so the three files are the same text.

Shift_JIS is written directly; EUC-JP comes from iconv. The JIS file comes
from jconvert itself, because half-width katakana have no ISO-2022-JP form:
they become full-width on the way to JIS (as nkf does by default), and the
script checks with iconv that the JIS file decodes cleanly.

usage: gen_japanese_text.py [--size MB] [--seed N] [--jconvert PATH] OUTDIR
writes OUTDIR/text.sjis, text.euc, text.jis
"""
import argparse
import os
import random
import shutil
import subprocess
import sys


def euc_char(row, cell):
    return bytes([row | 0x80, cell | 0x80]).decode("euc_jp")


def build_alphabets():
    # JIS level-1 kanji: rows 0x30..0x4F (0x4F stops at cell 0x53).
    kanji = [euc_char(r, c) for r in range(0x30, 0x50) for c in range(0x21, 0x7F)
             if not (r == 0x4F and c > 0x53)]
    # A few hundred "common" kanji get most of the weight, like real text.
    common = kanji[::7][:400]
    hiragana = [euc_char(0x24, c) for c in range(0x21, 0x74)]
    katakana = [euc_char(0x25, c) for c in range(0x21, 0x77)]
    return kanji, common, hiragana, katakana


PARTICLES = ["の", "は", "を", "に", "が", "で", "と", "も", "から", "まで", "より", "へ"]
ENDINGS = ["です", "ます", "しました", "します", "でした", "される", "された", "している",
           "になります", "ではない", "だろう", "ください"]
OKURIGANA = ["する", "した", "して", "しい", "い", "く", "な", "れる", "える", "った", "める"]
# Half-width katakana words, some with sound marks that combine on the way to JIS.
HANKAKU = ["ｶﾞｲﾄﾞ", "ﾒｰﾙ", "ｻｰﾊﾞｰ", "ﾊﾟｽﾜｰﾄﾞ", "ﾃﾞｰﾀ", "ｱｶｳﾝﾄ", "ﾌｧｲﾙ", "ﾎﾟｰﾄ",
           "ｼｽﾃﾑ", "ｳﾞｧｲｵﾘﾝ", "ﾀﾞｳﾝﾛｰﾄﾞ", "ｾｯﾄｱｯﾌﾟ"]
ASCII_WORDS = ["POP3", "mail", "Tolvane", "TCP/IP", "user@example.jp", "http://www.example.jp/",
               "Windows", "OK", "ERR", "USER", "PASS", "STAT", "QUIT", "ISO-2022-JP", "Base64"]
PUNCT_MID = ["、", "、", "、", "・", "　"]
PUNCT_END = ["。", "。", "。", "。", "！", "？"]
BRACKETS = [("「", "」"), ("『", "』"), ("（", "）"), ("【", "】"), ("〔", "〕")]
FULL_DIGITS = "０１２３４５６７８９"
FULL_LATIN = "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ"


def make_sentence(rng, kanji, common, hiragana, katakana):
    parts = []
    for _ in range(rng.randint(3, 9)):
        r = rng.random()
        if r < 0.45:
            n = rng.choice((1, 2, 2, 2, 3, 4))
            word = "".join(rng.choice(common) if rng.random() < 0.7 else rng.choice(kanji)
                           for _ in range(n))
            if rng.random() < 0.3:
                word += rng.choice(OKURIGANA)
            parts.append(word + rng.choice(PARTICLES))
        elif r < 0.60:
            parts.append("".join(rng.choice(hiragana) for _ in range(rng.randint(2, 5))))
        elif r < 0.72:
            word = "".join(rng.choice(katakana) for _ in range(rng.randint(2, 6)))
            parts.append(word + ("ー" if rng.random() < 0.3 else "") + rng.choice(PARTICLES))
        elif r < 0.77:
            parts.append(rng.choice(HANKAKU) + rng.choice(PARTICLES))
        elif r < 0.88:
            word = rng.choice(ASCII_WORDS) if rng.random() < 0.7 else str(rng.randint(1, 99999))
            parts.append(" " + word + " " + rng.choice(PARTICLES))
        elif r < 0.93:
            digits = "".join(rng.choice(FULL_DIGITS) for _ in range(rng.randint(1, 4)))
            parts.append(digits + rng.choice(("年", "月", "日", "件", "通", "回")))
        elif r < 0.96:
            parts.append("".join(rng.choice(FULL_LATIN) for _ in range(rng.randint(2, 4))))
        else:
            open_, close = rng.choice(BRACKETS)
            inner = "".join(rng.choice(common) for _ in range(rng.randint(2, 5)))
            parts.append(open_ + inner + close)
        if rng.random() < 0.2:
            parts.append(rng.choice(PUNCT_MID))
    return "".join(parts) + rng.choice(ENDINGS) + rng.choice(PUNCT_END)


def make_text(size, rng):
    kanji, common, hiragana, katakana = build_alphabets()
    pool = [make_sentence(rng, kanji, common, hiragana, katakana).encode("shift_jis")
            for _ in range(20000)]
    out = bytearray()
    while len(out) < size:
        line_len = 0
        for _ in range(rng.randint(2, 8)):
            s = rng.choice(pool)
            out += s
            line_len += len(s)
            if line_len > 70:  # wrap like mail text, at sentence ends
                out += b"\n"
                line_len = 0
        out += b"\n\n" if line_len else b"\n"
    # Cut at the last line end before the size, so no character is split.
    cut = out.rfind(b"\n", 0, size) + 1
    return bytes(out[:cut])


def find_jconvert(given):
    if given:
        return given
    here = os.path.dirname(os.path.abspath(__file__))
    for build in ("e-release", "release", "dev"):
        p = os.path.join(here, "..", "build", build, "tools", "jconvert", "jconvert")
        if os.access(p, os.X_OK):
            return p
    return shutil.which("jconvert")


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("outdir")
    ap.add_argument("--size", type=int, default=64, help="size of the Shift_JIS text in MB (default 64)")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--jconvert", help="jconvert binary (default: found under build/)")
    args = ap.parse_args()

    os.makedirs(args.outdir, exist_ok=True)
    sjis = os.path.join(args.outdir, "text.sjis")
    euc = os.path.join(args.outdir, "text.euc")
    jis = os.path.join(args.outdir, "text.jis")

    text = make_text(args.size * 1024 * 1024, random.Random(args.seed))
    with open(sjis, "wb") as f:
        f.write(text)

    with open(euc, "wb") as f:
        subprocess.run(["iconv", "-f", "SHIFT_JIS", "-t", "EUC-JP", sjis], stdout=f, check=True)

    jconvert = find_jconvert(args.jconvert)
    if not jconvert:
        sys.exit("gen_japanese_text: no jconvert binary found; build it or pass --jconvert")
    with open(jis, "wb") as f:
        subprocess.run([jconvert, "convert", "--from", "sjis", "--to", "jis", sjis], stdout=f, check=True)

    # The JIS file must be plain ISO-2022-JP for the other converters.
    subprocess.run(["iconv", "-f", "ISO-2022-JP", "-t", "SHIFT_JIS", jis],
                   stdout=subprocess.DEVNULL, check=True)
    # And the EUC-JP file must be what the codec itself makes of the text.
    made = subprocess.run([jconvert, "convert", "--from", "sjis", "--to", "euc", sjis],
                          stdout=subprocess.PIPE, check=True).stdout
    with open(euc, "rb") as f:
        if f.read() != made:
            sys.exit("gen_japanese_text: iconv and jconvert disagree on the EUC-JP text")

    ascii_bytes = sum(1 for b in text if b < 0x80)
    print(f"{sjis}: {len(text)} bytes, {100 * ascii_bytes / len(text):.1f}% single-byte ASCII")
    for p in (euc, jis):
        print(f"{p}: {os.path.getsize(p)} bytes")


if __name__ == "__main__":
    main()
