#!/usr/bin/python3
"""Writes font sets of N distinct families for the benchmarks.

    make-font-set.py [--without-japanese] ROOT N [N ...]

Every family of a set is its own file with its own names: the copies are renamed in every
name record (family, full, PostScript, unique and typographic names, in every language), so
that no font cache can answer one family for another. A quarter of the families are Japanese.
With --without-japanese the sets hold the Western families only, as on a desktop that has no
Japanese font: every Japanese text of the interface then has no font of its own to go to.

Western families are copies of the DejaVu faces. Japanese ones are copies of the IPA fonts cut
down (once) to Latin, kana, JIS symbols, CJK punctuation, full-width forms and the kanji
fontconfig needs to count a font as Japanese: whole IPA fonts would make 1,000 copies weigh
6 GB.

Layout under ROOT:
    pool/        one file per family, for the largest N; the sets share these files
    N/fonts/     hard links to the first N files of the pool
    N/fonts.conf a fontconfig configuration that lists only N/fonts (cache in N/cache)
    without-japanese/N/   the same for a set of N Western families (the first N of the pool)

A set that is complete is reused as it is; its fontconfig cache is brought up to date.
"""

import multiprocessing
import os
import shutil
import struct
import subprocess
import sys

from fontTools import subset
from fontTools.ttLib import TTFont, newTable

# Bump when the files written change, so that older sets are made again.
FORMAT = "3"

DEJAVU = "/usr/share/fonts/truetype/dejavu"
WESTERN_SOURCES = [
    ("DejaVuSans.ttf", "Sans"),
    ("DejaVuSerif.ttf", "Serif"),
    ("DejaVuSansMono.ttf", "Mono"),
    ("DejaVuSansCondensed.ttf", "Sans Condensed"),
    ("DejaVuSans-Bold.ttf", "Sans"),
    ("DejaVuSerif-Italic.ttf", "Serif"),
    ("DejaVuSansMono-Bold.ttf", "Mono"),
    ("DejaVuSerifCondensed.ttf", "Serif Condensed"),
    ("DejaVuSans-ExtraLight.ttf", "Sans Light"),
]
IPA = "/usr/share/fonts/opentype"
JAPANESE_SOURCES = [
    ("ipafont-gothic/ipag.ttf", "Gothic", "ゴシック"),
    ("ipafont-mincho/ipam.ttf", "Mincho", "明朝"),
    ("ipafont-gothic/ipagp.ttf", "PGothic", "Pゴシック"),
    ("ipafont-mincho/ipamp.ttf", "PMincho", "P明朝"),
]

# Syllables for invented names, each with its katakana spelling.
SYLLABLES = [
    ("ka", "カ"), ("ki", "キ"), ("ku", "ク"), ("ke", "ケ"), ("ko", "コ"), ("sa", "サ"),
    ("shi", "シ"), ("su", "ス"), ("se", "セ"), ("so", "ソ"), ("ta", "タ"), ("chi", "チ"),
    ("tsu", "ツ"), ("te", "テ"), ("to", "ト"), ("na", "ナ"), ("ni", "ニ"), ("nu", "ヌ"),
    ("ne", "ネ"), ("no", "ノ"), ("ha", "ハ"), ("hi", "ヒ"), ("fu", "フ"), ("he", "ヘ"),
    ("ho", "ホ"), ("ma", "マ"), ("mi", "ミ"), ("mu", "ム"), ("me", "メ"), ("mo", "モ"),
    ("ya", "ヤ"), ("yu", "ユ"), ("yo", "ヨ"), ("ra", "ラ"), ("ri", "リ"), ("ru", "ル"),
    ("re", "レ"), ("ro", "ロ"), ("wa", "ワ"), ("n", "ン"),
]


def jis_non_kanji():
    """Rows 1 to 8 of JIS X 0208: the punctuation, symbols, Greek, Cyrillic and box drawing
    every Japanese font has. A font without them (the em dash, say) sends Qt through every
    other font for one, which no real Japanese font does."""
    chars = set()
    for row in range(0xA1, 0xA9):
        for cell in range(0xA1, 0xFF):
            # The two mappings differ on a few dashes and tildes; a font carries both.
            for encoding in ("euc_jp", "euc_jis_2004"):
                try:
                    chars.update(ord(c) for c in bytes([row, cell]).decode(encoding))
                except UnicodeDecodeError:
                    pass
    return sorted(chars)


# Besides what fontconfig needs for Japanese: Latin, kana, JIS symbols, CJK punctuation,
# full-width forms.
JAPANESE_BASE = (
    list(range(0x20, 0x7F)) + list(range(0xA0, 0x100)) + list(range(0x3000, 0x3100)) +
    list(range(0xFF01, 0xFFF0)) + list(range(0x2000, 0x2070)) + jis_non_kanji()
)

JAPANESE_LANGUAGES = {0x411}  # Windows language ID of Japanese


def is_japanese(index):
    return index % 4 == 3


def invented_name(index):
    """A pronounceable made-up word, the same for an index in every run."""
    state = index * 2654435761 % 4294967296
    latin, kana = "", ""
    for _ in range(2 + index % 2):
        state = (state * 1103515245 + 12345) % 2147483648
        syllable = SYLLABLES[(state >> 8) % len(SYLLABLES)]
        latin += syllable[0]
        kana += syllable[1]
    return latin.capitalize(), kana


def family_names(index):
    """(English family, Japanese family or None, source path) of the family at index."""
    latin, kana = invented_name(index)
    number = "%04d" % index
    if is_japanese(index):
        source, english, japanese = JAPANESE_SOURCES[(index // 4) % len(JAPANESE_SOURCES)]
        return ("%s %s %s" % (latin, english, number), "%s%s %s" % (kana, japanese, number),
                source)
    source, kind = WESTERN_SOURCES[(index // 4 * 3 + index % 4) % len(WESTERN_SOURCES)]
    return "%s %s %s" % (latin, kind, number), None, source


def japanese_coverage(font_path, work_dir):
    """The characters fontconfig wants before it lists a font under Japanese."""
    probe = os.path.join(work_dir, "probe.ttf")
    cut(font_path, JAPANESE_BASE, probe)
    report = subprocess.run(["fc-validate", "-v", "-l", "ja", probe], capture_output=True,
                            text=True).stdout
    missing = [int(line.strip(), 16) for line in report.splitlines()
               if line.strip().startswith("0x")]
    os.remove(probe)
    return missing


def cut(source, unicodes, target):
    options = subset.Options()
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.name_legacy = True
    options.layout_features = ["*"]
    options.notdef_outline = True
    options.glyph_names = False
    font = TTFont(source)
    subsetter = subset.Subsetter(options)
    subsetter.populate(unicodes=unicodes)
    subsetter.subset(font)
    font.save(target)


def prepare_japanese_sources(root):
    """Cut-down IPA fonts, made once under ROOT/sources."""
    folder = os.path.join(root, "sources")
    os.makedirs(folder, exist_ok=True)
    paths = {}
    coverage = None
    for source, _, _ in JAPANESE_SOURCES:
        target = os.path.join(folder, os.path.basename(source))
        if not os.path.exists(target):
            full = os.path.join(IPA, source)
            if coverage is None:
                coverage = japanese_coverage(full, folder)
            cut(full, JAPANESE_BASE + coverage, target + ".part")
            os.replace(target + ".part", target)
        paths[source] = target
    return paths


def style_of(name):
    return (name.getDebugName(17) or name.getDebugName(2) or "Regular").strip()


def renamed_name_table(original, english, japanese):
    """A copy of the name table whose every name of the family is the new one."""
    style = style_of(original)
    plain_style = style in ("Regular", "Book", "Normal", "標準")
    english_full = english if plain_style else "%s %s" % (english, style)
    japanese_full = None
    if japanese:
        japanese_full = japanese if plain_style else "%s %s" % (japanese, style)
    postscript = "".join(c for c in english if c.isalnum()) + "-" + "".join(
        c for c in style if c.isalnum())

    table = newTable("name")
    table.names = []
    for record in original.names:
        # Classic Mac records would keep the old family alive as a second name.
        if record.platformID == 1:
            continue
        in_japanese = japanese and record.langID in JAPANESE_LANGUAGES
        family = japanese if in_japanese else english
        full = japanese_full if in_japanese else english_full
        value = {1: family, 16: family, 21: family, 4: full, 18: full,
                 3: "%s;bench" % postscript, 6: postscript, 20: postscript}.get(record.nameID)
        if value is None:
            try:
                value = record.toUnicode()
            except UnicodeDecodeError:
                continue
        table.setName(value, record.nameID, record.platformID, record.platEncID, record.langID)
    return table


def checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(">%dL" % (len(data) // 4), data)) & 0xFFFFFFFF


class Source:
    """A font read once; its tables but the name table go into every copy byte for byte."""

    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        self.font = TTFont(path, lazy=True, recalcTimestamp=False, recalcBBoxes=False)
        self.name = self.font["name"]
        self.sfnt_version = self.data[:4]
        count = struct.unpack(">H", self.data[4:6])[0]
        self.tables = {}
        for i in range(count):
            tag, _, offset, length = struct.unpack(">4sLLL", self.data[12 + 16 * i:28 + 16 * i])
            table = self.data[offset:offset + length]
            if tag == b"head":
                # checkSumAdjustment is counted as zero and set for the whole file at the end.
                table = table[:8] + b"\0\0\0\0" + table[12:]
            self.tables[tag] = (table, checksum(table))

    def write(self, path, name_table):
        """The source with another name table: copying the other tables' bytes makes 20,000
        files in minutes, where fontTools' save (which checks every table again) takes an hour."""
        tables = dict(self.tables)
        name = name_table.compile(self.font)
        tables[b"name"] = (name, checksum(name))
        tags = sorted(tables)
        count = len(tags)
        power = 1 << (count.bit_length() - 1)
        header = struct.pack(">4sHHHH", self.sfnt_version, count, power * 16,
                             power.bit_length() - 1, count * 16 - power * 16)
        offset = 12 + 16 * count
        directory, body = [], []
        for tag in tags:
            table, sum_ = tables[tag]
            directory.append(struct.pack(">4sLLL", tag, sum_, offset, len(table)))
            padded = table + b"\0" * (-len(table) % 4)
            body.append(padded)
            offset += len(padded)
        head_start = b"".join(directory)
        whole = checksum(header + head_start) + sum(tables[tag][1] for tag in tags)
        adjustment = (0xB1B0AFBA - whole) & 0xFFFFFFFF
        index = tags.index(b"head")
        body[index] = body[index][:8] + struct.pack(">L", adjustment) + body[index][12:]
        with open(path, "wb") as f:
            f.write(header)
            f.write(head_start)
            for part in body:
                f.write(part)


_loaded = {}


def write_family(job):
    index, path, sources = job
    english, japanese, source = family_names(index)
    source_path = sources[source]
    if source_path not in _loaded:
        _loaded[source_path] = Source(source_path)
    font = _loaded[source_path]
    font.write(path + ".part", renamed_name_table(font.name, english, japanese))
    os.replace(path + ".part", path)


def file_name(index):
    english, _, _ = family_names(index)
    return "%04d-%s.ttf" % (index, english.replace(" ", "")[:24])


def make_pool(root, count, sources):
    pool = os.path.join(root, "pool")
    os.makedirs(pool, exist_ok=True)
    jobs = []
    for index in range(count):
        path = os.path.join(pool, file_name(index))
        if not os.path.exists(path):
            jobs.append((index, path, sources))
    if jobs:
        print("writing %d font files into %s" % (len(jobs), pool), file=sys.stderr)
        with multiprocessing.Pool(min(2, os.cpu_count() or 1)) as workers:
            for _ in workers.imap_unordered(write_family, jobs, chunksize=32):
                pass
    return pool


FONTS_CONF = """<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<!-- Benchmark set: {count} distinct families, nothing else. -->
<fontconfig>
  <dir>{fonts}</dir>
  <cachedir>{cache}</cachedir>
</fontconfig>
"""


def pool_size(count, without_japanese):
    """How many files of the pool a set of count families draws on."""
    if not without_japanese:
        return count
    size, western = 0, 0
    while western < count:
        western += not is_japanese(size)
        size += 1
    return size


def make_set(root, pool, count, without_japanese=False):
    folder = os.path.join(root, "without-japanese" if without_japanese else "", str(count))
    marker = os.path.join(folder, "complete")
    conf = os.path.join(folder, "fonts.conf")
    fonts = os.path.join(folder, "fonts")
    cache = os.path.join(folder, "cache")
    try:
        with open(marker) as f:
            complete = f.read().strip() == FORMAT
    except OSError:
        complete = False
    if not complete:
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(fonts)
        os.makedirs(cache)
        indices = range(pool_size(count, without_japanese))
        for index in indices:
            if without_japanese and is_japanese(index):
                continue
            name = file_name(index)
            try:
                os.link(os.path.join(pool, name), os.path.join(fonts, name))
            except OSError:
                shutil.copyfile(os.path.join(pool, name), os.path.join(fonts, name))
        with open(conf, "w") as f:
            f.write(FONTS_CONF.format(count=count, fonts=fonts, cache=cache))
    # The benchmark measures a warm start: fontconfig's cache is ready before timing.
    environment = dict(os.environ, FONTCONFIG_FILE=conf)
    subprocess.run(["fc-cache", folder + "/fonts"], env=environment, check=True)
    if not complete:
        with open(marker, "w") as f:
            f.write(FORMAT + "\n")
    return conf


def main():
    arguments = sys.argv[1:]
    without_japanese = "--without-japanese" in arguments
    arguments = [a for a in arguments if a != "--without-japanese"]
    if len(arguments) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    root = os.path.abspath(arguments[0])
    counts = sorted({int(n) for n in arguments[1:]})
    os.makedirs(root, exist_ok=True)
    with open(os.path.join(root, "format"), "a+") as f:
        f.seek(0)
        if f.read().strip() not in ("", FORMAT):
            # Files of an older format: start again.
            for entry in os.listdir(root):
                if entry != "format":
                    shutil.rmtree(os.path.join(root, entry), ignore_errors=True)
        f.seek(0)
        f.truncate()
        f.write(FORMAT + "\n")
    sources = {source: os.path.join(DEJAVU, source) for source, _ in WESTERN_SOURCES}
    sources.update(prepare_japanese_sources(root))
    pool = make_pool(root, pool_size(counts[-1], without_japanese), sources)
    for count in counts:
        print(make_set(root, pool, count, without_japanese))
    return 0


if __name__ == "__main__":
    sys.exit(main())
