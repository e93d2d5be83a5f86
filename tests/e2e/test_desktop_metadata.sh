#!/usr/bin/env bash
# The menu entry and the software-centre metadata pass their validators and agree with each
# other, with the icon's name and with the newest version in the change history.
set -euo pipefail
source_dir=${GLYPHORAMA_SOURCE_DIR:?}
packaging=$source_dir/packaging
id=org.example.Glyphorama
desktop=$packaging/$id.desktop
metainfo=$packaging/$id.metainfo.xml

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

desktop-file-validate "$desktop" || fail "desktop entry rejected"
appstreamcli validate --no-net "$metainfo" || fail "metadata rejected"

grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not name the icon $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not launch $id.desktop"
{ grep -q 'Name\[ja\]=' "$desktop" && grep -q 'Comment\[ja\]=' "$desktop"; } ||
    fail "the desktop entry has no Japanese name or comment"
grep -q 'QStringLiteral("'"$id"'")' "$source_dir/app/Startup.cpp" ||
    fail "the program does not announce $id as its desktop file name"

# The change history starts with the newest version: a version underlined with dashes.
newest=$(grep -B1 -m1 -E '^-+$' "$source_dir/docs/info.txt" | head -n 1)
released=$(grep -o -m1 '<release version="[^"]*"' "$metainfo" | cut -d'"' -f2)
[ "$newest" = "$released" ] || fail "newest release $released, change history says $newest"
echo "ok"
