#!/usr/bin/env bash
# Refreshes the translation files from the sources: texts new in the sources come in as
# unfinished entries for a translator (Qt Linguist, or an editor), texts gone from the sources
# go. Prints the number of entries that still want a translation.
#
# Usage: scripts/update-translations.sh [lupdate]
#        scripts/update-translations.sh --check [lupdate]
# With --check the repository is left alone: the sources are read into temporary copies of the
# files, and the run fails when any entry there is unfinished, so that a text added to the
# sources without its translation is caught.
set -euo pipefail
cd "$(dirname "$0")/.."

check=false
if [ "${1:-}" = "--check" ]; then
    check=true
    shift
fi
lupdate=${1:-/usr/lib/qt6/bin/lupdate}
[ -x "$lupdate" ] || lupdate=$(command -v lupdate6 || command -v lupdate) ||
    { echo "lupdate not found (Debian: qt6-l10n-tools)" >&2; exit 1; }

# Every folder whose code or forms show text to the user.
sources=(app fonts fontengine sampleview details tags organise ui notice platform forms)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

total=0
for ts in translations/glyphorama_*.ts; do
    language=$(basename "$ts" .ts)
    language=${language#glyphorama_}
    target=$ts
    if $check; then
        target=$work/$(basename "$ts")
        cp "$ts" "$target"
    fi
    # No line numbers: they would change with every edit and make merges of the file hard.
    "$lupdate" -silent -locations none -no-obsolete -source-language ja \
        -target-language "$language" "${sources[@]}" -ts "$target" >"$work/lupdate.log" 2>&1 ||
        { cat "$work/lupdate.log" >&2; exit 1; }
    # lupdate reports texts it cannot take (a tr() without a context it understands, a class
    # without Q_OBJECT) as warnings and still succeeds; its C++ reader's other remarks are noise.
    if grep -i 'tr()\|Q_OBJECT\|cannot invoke\|unconsumed\|context' "$work/lupdate.log" \
        >"$work/warnings.log"; then
        cat "$work/warnings.log" >&2
        $check && { echo "FAIL: lupdate warns about the sources" >&2; exit 1; }
    fi
    unfinished=$(grep -c 'type="unfinished"' "$target" || true)
    echo "$ts: $unfinished unfinished"
    if $check && [ "$unfinished" -gt 0 ]; then
        echo "Texts without a translation into $language:" >&2
        /usr/bin/python3 - "$target" >&2 <<'PY'
import sys, xml.etree.ElementTree as ET
for context in ET.parse(sys.argv[1]).getroot().iter("context"):
    for message in context.iter("message"):
        translation = message.find("translation")
        if translation is not None and translation.get("type") == "unfinished":
            print("  %s: %s" % (context.findtext("name"), message.findtext("source")))
PY
    fi
    total=$((total + unfinished))
done
# A text never handed to the translation system is invisible to lupdate. Japanese written as a
# plain string literal in the code is such a text, unless it is data rather than interface:
# the fixed tags' names proper (also their files' names), a font's family name, and the texts
# that are bilingual on purpose so that a reader of either language finds the way back. The
# per-script samples a tile shows when a family cannot write its own name are font data too.
if $check; then
    /usr/bin/python3 - "${sources[@]}" <<'PY' || exit 1
import pathlib, re, sys
not_interface = {
    "ゴミ箱", "お気に入り", "メイリオ", "日本語", "言語 / Language",
    "言語の変更は次回の起動から有効になります。\\n",
    "今すぐ再起動しますか？\\nRestart now?", "今すぐ再起動 / Restart now", "後で / Later",
}
literal = re.compile(r'QStringLiteral\(\s*"((?:[^"\\\n]|\\.)*)"')
found = []
data_files = {"fontengine/ScriptSamples.cpp"}
for folder in sys.argv[1:]:
    for path in sorted(pathlib.Path(folder).glob("*.[ch]*")):
        if path.suffix not in (".cpp", ".h") or str(path) in data_files:
            continue
        text = path.read_text(encoding="utf-8")
        text = re.sub(r"//[^\n]*", "", text)
        for match in literal.finditer(text):
            value = match.group(1)
            if any(ord(c) > 127 for c in value) and value not in not_interface:
                line = text.count("\n", 0, match.start()) + 1
                found.append(f"  {path}:{line}: {value}")
if found:
    print("Japanese texts not handed to tr() or QCoreApplication::translate():", file=sys.stderr)
    print("\n".join(found), file=sys.stderr)
    sys.exit(1)
PY
fi
if $check && [ "$total" -gt 0 ]; then
    echo "FAIL: $total texts have no translation; run scripts/update-translations.sh and translate them" >&2
    exit 1
fi
echo "ok"
