#!/usr/bin/python3
"""Writes the Japanese character sets the character map measures a face against, into
data/charsets/: one code point a line (hexadecimal), after comment lines naming where the list
came from. Run again when a source changes: /usr/bin/python3 scripts/make-charsets.py

Sources, all on a Debian 12 machine:
- JIS X 0208 and JIS X 0213: glibc's converters (iconv's EUC-JP and EUC-JISX0213), decoding
  every two-byte (and, for the second plane of JIS X 0213, three-byte) code.
- 常用漢字 and 人名用漢字: the Unihan database of the Unicode Character Database (the
  package unicode-data, fields kJoyoKanji and kJinmeiyoKanji of Unihan_OtherMappings.txt).
"""
import bz2
import os
import re
import subprocess

UNIHAN = "/usr/share/unicode/Unihan_OtherMappings.txt.bz2"
UNICODE_NOTICE = ("Copyright 1991-2022 Unicode, Inc.; extracted, and so modified, from that "
                  "file (licence: packaging/debian/copyright).")
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "charsets")


def package_version(package):
    return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], check=True,
                          capture_output=True, text=True).stdout


def glibc():
    return "glibc " + package_version("libc6")


def decode(codes, encoding):
    """Each byte string decoded alone through iconv; None where the encoding has no character
    or gives more than one code point (JIS X 0213's few combining sequences)."""
    # One line a code: iconv -c leaves out what it cannot decode, the line breaks stay.
    data = b"".join(code + b"\n" for code in codes)
    text = subprocess.run(["iconv", "-c", "-f", encoding, "-t", "UTF-32LE"], input=data,
                          check=True, capture_output=True).stdout.decode("utf-32-le")
    lines = text.split("\n")[:-1]
    assert len(lines) == len(codes), (encoding, len(lines), len(codes))
    return [ord(line) if len(line) == 1 else None for line in lines]


def jis_rows(encoding, rows, prefix=b""):
    codes = [prefix + bytes([0xA0 + row, 0xA0 + cell]) for row in rows for cell in range(1, 95)]
    return [c for c in decode(codes, encoding) if c is not None]


def unihan(field):
    chars = []
    with bz2.open(UNIHAN, "rt", encoding="utf-8") as lines:
        for line in lines:
            parts = line.rstrip("\n").split("\t")
            # A year is the list's own entry ("2010", or "2010:U+4E57" for 人名用漢字's old forms
            # of 常用漢字, which are names' characters in their own right); a code point alone
            # names the form the list prints for this variant, which counts under that form.
            if len(parts) == 3 and parts[1] == field and re.fullmatch(r"\d{4}(:U\+[0-9A-F]+)?",
                                                                      parts[2]):
                chars.append(int(parts[0][2:], 16))
    return chars


def unihan_version():
    with bz2.open(UNIHAN, "rt", encoding="utf-8") as lines:
        for line in lines:
            if line.startswith("# Unicode version:"):
                return "Unihan " + line.split(":", 1)[1].strip()
    raise SystemExit("no version in " + UNIHAN)


def write(name, title, source, chars):
    chars = sorted(set(chars))
    with open(os.path.join(OUT, name), "w", encoding="utf-8") as out:
        out.write(f"# {title}: {len(chars)} characters\n")
        for line in source:
            out.write(f"# {line}\n")
        out.write("# Written by scripts/make-charsets.py.\n")
        for c in chars:
            out.write(f"{c:04X}\n")
    print(name, len(chars))


def main():
    os.makedirs(OUT, exist_ok=True)
    libc = glibc()
    ucd = f"{unihan_version()} (Debian unicode-data {package_version('unicode-data')})"
    kana = jis_rows("EUC-JP", [4, 5]) + [ord(c) for c in "ーゝゞヽヾ"]
    write("kana.txt", "かな",
          ["The hiragana and katakana of JIS X 0208 (rows 4 and 5), with the prolonged sound",
           "mark and the iteration marks of row 1 (ー ゝ ゞ ヽ ヾ).",
           f"Source: {libc}, iconv EUC-JP."], kana)
    write("joyo-kanji.txt", "常用漢字",
          ["The 常用漢字表 of 2010 (内閣告示第2号), as Unicode's Unihan database lists it",
           "(field kJoyoKanji, entries of the list itself, not its variants).",
           f"Source: {ucd}, Unihan_OtherMappings.txt.", UNICODE_NOTICE], unihan("kJoyoKanji"))
    write("jinmeiyo-kanji.txt", "人名用漢字",
          ["The 人名用漢字 of 戸籍法施行規則 別表第二, as Unicode's Unihan database lists it",
           "(field kJinmeiyoKanji): its part 1 and the old forms of 常用漢字 of its part 2.",
           f"Source: {ucd}, Unihan_OtherMappings.txt.", UNICODE_NOTICE],
          unihan("kJinmeiyoKanji"))
    write("jisx0208-level1.txt", "JIS X 0208 第1水準",
          ["The kanji of JIS X 0208 level 1 (rows 16 to 47).",
           f"Source: {libc}, iconv EUC-JP."], jis_rows("EUC-JP", range(16, 48)))
    write("jisx0208-level2.txt", "JIS X 0208 第2水準",
          ["The kanji of JIS X 0208 level 2 (rows 48 to 84).",
           f"Source: {libc}, iconv EUC-JP."], jis_rows("EUC-JP", range(48, 85)))
    write("jisx0213.txt", "JIS X 0213",
          ["Every character of JIS X 0213:2004, planes 1 and 2, that is one code point",
           "(its 25 kana and letters written as a combining sequence are left out).",
           f"Source: {libc}, iconv EUC-JISX0213."],
          jis_rows("EUC-JISX0213", range(1, 95)) +
          jis_rows("EUC-JISX0213", range(1, 95), prefix=b"\x8f"))


if __name__ == "__main__":
    main()
