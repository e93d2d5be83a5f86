#!/usr/bin/env bash
# Builds the Debian package, installs it with apt-get as a user would, checks what it put
# where, runs the installed `glyphorama` on Xvfb until its window shows and closes it with
# Esc, removes the package and checks that nothing of it is left. Needs root (or sudo).
set -euo pipefail
cd "$(dirname "$0")/.."
export GLYPHORAMA_SOURCE_DIR=$PWD
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
apt_log=$(mktemp)
trap 'rm -f "$apt_log"' EXIT
# apt's chatter goes to a log that is shown only when apt fails.
apt_get() {
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get -y -q "$@" >"$apt_log" 2>&1 ||
        { cat "$apt_log" >&2; return 1; }
}
installed() { [ "$(dpkg-query -W -f='${Status}' glyphorama 2>/dev/null || true)" = "install ok installed" ]; }

deb=$(scripts/build-deb.sh "${@:-build-deb}" | tail -n 1)
echo "package: $deb"
# Debian's checker: any error fails; warnings and the rest are shown for the record.
lintian_log=$(dirname "$deb")/lintian.txt
lintian_status=0
lintian --fail-on error --tag-display-limit 0 "$deb" >"$lintian_log" 2>&1 || lintian_status=$?
cat "$lintian_log"
if [ "$lintian_status" -ne 0 ] || grep '^E:' "$lintian_log" >/dev/null; then
    echo "FAIL: lintian reports errors on $deb" >&2
    exit 1
fi
echo "lintian: no errors ($(grep -c '^W:' "$lintian_log" || true) warnings)"
dpkg-deb -f "$deb" Depends | tr -d ' ' | tr ',' '\n' >"$(dirname "$deb")/depends.txt"
for needed in fonts-ipafont-gothic fonts-dejavu-core libqt6widgets6 libqt6svg6 libfontconfig1 \
    libicu72 libcurl4 qt6-translations-l10n; do
    grep -q "^$needed\b" "$(dirname "$deb")/depends.txt" ||
        { echo "FAIL: the package does not depend on $needed" >&2; exit 1; }
done
recommends=$(dpkg-deb -f "$deb" Recommends)
case ", $recommends," in
*", qt6-wayland,"*) ;;
*) echo "FAIL: the package does not recommend qt6-wayland (Recommends: $recommends)" >&2; exit 1 ;;
esac

# A copy left by an earlier run that stopped half-way would hide faults of this one.
if installed; then apt_get remove glyphorama; fi
# Without package lists (a fresh machine) apt cannot resolve the dependencies: fetch them once.
apt_get install "$deb" || { apt_get update && apt_get install "$deb"; }
echo "installed with apt-get install $deb"

source tests/e2e/common.sh glyphorama
trap 'cleanup; if installed; then apt_get remove glyphorama || true; fi; rm -f "$apt_log"' EXIT

[ "$(command -v glyphorama)" = /usr/bin/glyphorama ] || fail "glyphorama is not the command on PATH"
[ "$(readlink /usr/bin/glyphorama)" = ../lib/glyphorama/glyphorama ] ||
    fail "/usr/bin/glyphorama -> $(readlink /usr/bin/glyphorama)"
for file in /usr/lib/glyphorama/readme.txt /usr/lib/glyphorama/info.txt \
    /usr/share/icons/hicolor/scalable/apps/org.example.Glyphorama.svg; do
    [ -s "$file" ] || fail "$file not installed"
done
[ -d /usr/lib/glyphorama/resources ] || fail "no resources folder beside the program"
desktop-file-validate /usr/share/applications/org.example.Glyphorama.desktop ||
    fail "installed desktop entry rejected"
appstreamcli validate --no-net /usr/share/metainfo/org.example.Glyphorama.metainfo.xml ||
    fail "installed metadata rejected"

mkdir -p "$DATA"
printf '[NetWork]\nVersionCheck=0\n' >"$DATA/Glyphorama.ini"
start_program
close_with_escape
grep -q '^form_width=' "$DATA/Glyphorama.ini" || fail "settings not saved at close"
# Started through the link, the program must still see /usr/lib/glyphorama as its folder.
[ ! -e /usr/bin/resources ] || fail "the program took /usr/bin as its folder"

files=$(dpkg-query -L glyphorama)
apt_get remove glyphorama
echo "removed with apt-get remove glyphorama"
! installed || fail "still installed after apt-get remove"
status=$(dpkg-query -W -f='${db:Status-Abbrev}' glyphorama 2>/dev/null || true)
[ -z "$status" ] || [ "${status:0:2}" = "un" ] || fail "left in state '$status' after removal"
while IFS= read -r path; do
    [ -e "$path" ] || [ -L "$path" ] || continue
    # Shared folders stay while other packages own them; anything else is a leftover.
    if [ -d "$path" ] && [ ! -L "$path" ] && dpkg-query -S "$path" >/dev/null 2>&1; then
        continue
    fi
    fail "$path is left after removal"
done <<<"$files"
echo "deb package: built, installed, started, closed and removed cleanly"
