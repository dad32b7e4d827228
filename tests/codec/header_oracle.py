#!/usr/bin/env python3
"""Header values and what Python's email.header makes of them, for the
cross-check of DecodeHeaderForDisplay.

    header_oracle.py SEED COUNT

Writes COUNT lines "RAW<TAB>SHOWN", both in hex: RAW is a generated header
value of encoded-words in UTF-8, ISO-2022-JP, Shift_JIS and EUC-JP (B or Q,
one text's bytes cut across several words at any byte, folded or not, with
plain ASCII around them); SHOWN is email.header.decode_header's reading of
it, each part decoded with Python's codec for its charset and the whole
encoded in code page 932 (Python's cp932), the geta mark for what that
lacks.

Where Python differs by design, the values keep out of the difference:
- decode_header strips the blanks that open each line: no value opens with one;
- it joins the bytes of words only under the same label: one spelling a charset;
- Python's shift_jis, euc_jp and iso2022_jp lack the code page 932 rows
  (NEC row 13, the IBM extensions): those texts take JIS X 0208 (and for
  EUC-JP JIS X 0212 and katakana) only;
- its JIS codecs give seven JIS X 0208 signs their JIS Unicode forms (wave
  dash, double vertical line, minus, cent, pound, not, em dash), which its
  cp932 cannot encode: here they take their code page 932 codes;
- code page 932 lacks the broken bar, the yen sign and the overline, which
  the codec shows by their full-width forms (JIS X 0212 holds the broken
  bar): here too;
- its cp932 writes the IBM extension characters with the NEC-selected codes
  (leads ED, EE), glibc's CP932 and Windows with the IBM ones (FA..FC), the
  same characters: here those take the IBM codes;
- it takes blanks and "?" inside encoded text, and decodes invalid text its
  own way: values hold only well-formed words of valid text.
"""
import base64
import random
import sys
from email.header import decode_header

GETA = b"\x81\xac"
# The JIS Unicode forms and the code page 932 codes of the same signs.
JIS_FORMS = {"\u301c": b"\x81\x60", "\u2016": b"\x81\x61", "\u2212": b"\x81\x7c", "\u00a2": b"\x81\x91",
             "\u00a3": b"\x81\x92", "\u00ac": b"\x81\xca", "\u2014": b"\x81\x5c",
             # the signs code page 932 lacks, by their full-width forms
             "\u00a6": b"\xfa\x55", "\u00a5": b"\x81\x8f", "\u203e": b"\x81\x50"}


def ibm_extensions():
    codes = {}
    for lead in (0xFA, 0xFB, 0xFC):
        for trail in list(range(0x40, 0x7F)) + list(range(0x80, 0xFD)):
            try:
                codes.setdefault(bytes([lead, trail]).decode("cp932"), bytes([lead, trail]))
            except UnicodeDecodeError:
                pass
    return codes


IBM_CODES = ibm_extensions()


def to_cp932(text):
    out = bytearray()
    for ch in text:
        if ch in JIS_FORMS:
            out += JIS_FORMS[ch]
            continue
        try:
            code = ch.encode("cp932")
        except UnicodeEncodeError:
            code = GETA
        out += IBM_CODES[ch] if code[0] in (0xED, 0xEE) else code
    return bytes(out)


def decodable(raw, codec):
    try:
        return raw.decode(codec)
    except UnicodeDecodeError:
        return None


def repertoires():
    jis0208, jis0212, cp932 = [], [], []
    for row in range(0x21, 0x7F):
        for cell in range(0x21, 0x7F):
            ch = decodable(bytes([0x1B, 0x24, 0x42, row, cell, 0x1B, 0x28, 0x42]), "iso2022_jp")
            if ch and len(ch) == 1:
                jis0208.append(ch)
            ch = decodable(bytes([0x8F, row | 0x80, cell | 0x80]), "euc_jp")
            if ch and len(ch) == 1:
                jis0212.append(ch)
    for lead in list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD)):
        for trail in list(range(0x40, 0x7F)) + list(range(0x80, 0xFD)):
            ch = decodable(bytes([lead, trail]), "cp932")
            if ch and len(ch) == 1 and not "\ue000" <= ch <= "\uf8ff":
                cp932.append(ch)
    kana = [chr(c) for c in range(0xFF61, 0xFFA0)]
    return jis0208, jis0212, cp932, kana


def main():
    seed, count = int(sys.argv[1]), int(sys.argv[2])
    rng = random.Random(seed)
    jis0208, jis0212, cp932, kana = repertoires()
    ascii_chars = [chr(c) for c in range(0x21, 0x7F) if chr(c) not in "?="] + [" "]
    # charset label spellings, the Python codec and the characters its texts take
    charsets = [
        (["UTF-8", "utf-8"], "utf-8", cp932 + kana + ascii_chars),
        (["ISO-2022-JP", "iso-2022-jp"], "iso2022_jp", jis0208 + ascii_chars),
        (["Shift_JIS", "shift_jis"], "shift_jis", jis0208 + kana + ascii_chars),
        (["EUC-JP", "euc-jp"], "euc_jp", jis0208 + jis0212 + kana + ascii_chars),
    ]
    for _ in range(count):
        parts = []
        if rng.random() < 0.3:
            parts.append(rng.choice(["Re: ", "Fwd:", "[list] "]))
        for _ in range(rng.randint(1, 3)):
            labels, codec, chars = rng.choice(charsets)
            label = rng.choice(labels)
            text = "".join(rng.choice(chars) for _ in range(rng.randint(1, 12)))
            data = text.encode(codec)
            cuts = sorted(rng.sample(range(1, len(data)), min(len(data) - 1, rng.randint(0, 3)))) if len(data) > 1 else []
            pieces = [data[a:b] for a, b in zip([0] + cuts, cuts + [len(data)])]
            words = []
            for piece in pieces:
                if rng.random() < 0.5:
                    words.append("=?%s?B?%s?=" % (label, base64.b64encode(piece).decode()))
                else:
                    q = "".join("=%02X" % b if not (chr(b).isalnum() and b < 0x80) else chr(b) for b in piece)
                    words.append("=?%s?Q?%s?=" % (label, q))
            seps = [rng.choice(["", " ", "\t", "\r\n ", "\r\n\t"]) for _ in words[1:]]
            encoded = words[0] + "".join(s + w for s, w in zip(seps, words[1:]))
            parts.append(encoded)
            if rng.random() < 0.3:
                parts.append(rng.choice([" (2)", " - ", " ok "]))
        raw = ""
        for p in parts:
            if raw and p.startswith("=?") and raw.endswith("?="):
                raw += rng.choice([" ", "\r\n "])
            raw += p
        shown = b""
        for word, charset in decode_header(raw):
            if isinstance(word, str):
                word = word.encode("ascii")
            shown += to_cp932(word.decode(charset) if charset else word.decode("ascii"))
        print(raw.encode("latin-1").hex() + "\t" + shown.hex())


if __name__ == "__main__":
    main()
