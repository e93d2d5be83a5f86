#!/usr/bin/env bash
# Installed into a prefix (and that prefix moved elsewhere), the command in bin/ starts the
# program, which finds its documents and makes its resources folder in its own private folder,
# shows its icon, and closes with Esc as it does from the build folder.
source "$GLYPHORAMA_SOURCE_DIR/tests/e2e/common.sh"

build=$(dirname "$PROGRAM")
cmake --install "$build" --prefix "$WORK/staged" >"$WORK/install.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$WORK/install.log")"
# Nothing may depend on the prefix it was installed to.
mv "$WORK/staged" "$WORK/prefix"
prefix=$WORK/prefix
private=$prefix/lib/glyphorama

[ -L "$prefix/bin/glyphorama" ] || fail "bin/glyphorama is not a symbolic link"
[ "$(readlink -f "$prefix/bin/glyphorama")" = "$(readlink -f "$private/glyphorama")" ] ||
    fail "bin/glyphorama points to $(readlink "$prefix/bin/glyphorama")"
[ -x "$private/glyphorama" ] || fail "no executable in lib/glyphorama"
for doc in readme.txt readme.en.txt info.txt; do
    cmp -s "$GLYPHORAMA_SOURCE_DIR/docs/$doc" "$private/$doc" || fail "$doc is not beside the program"
done
[ -d "$private/resources" ] || fail "no resources folder installed"
[ -s "$private/translations/glyphorama_en.qm" ] || fail "no English translation beside the program"
for file in share/applications/org.example.Glyphorama.desktop \
    share/metainfo/org.example.Glyphorama.metainfo.xml \
    share/icons/hicolor/scalable/apps/org.example.Glyphorama.svg; do
    [ -s "$prefix/$file" ] || fail "$file not installed"
done

# The program makes its resources folder where it thinks it lives: there is where it must appear.
rmdir "$private/resources"
mkdir -p "$DATA"
printf '[NetWork]\nVersionCheck=0\n' >"$DATA/Glyphorama.ini"
PROGRAM=$prefix/bin/glyphorama
start_program
[ -d "$private/resources" ] || fail "the program did not take lib/glyphorama as its folder"
[ ! -e "$prefix/bin/resources" ] || fail "the program took bin/ as its folder"
# The icon is rendered from SVG by Qt's icon engine plugin; give a loaded machine a moment.
# The property is captured first: a reader that stops early kills xprop with SIGPIPE.
icon=""
for _ in $(seq 1 50); do
    icon=$(xprop -id "$WINDOW" _NET_WM_ICON 2>&1 || true)
    [[ $icon == *'Icon ('* ]] && break
    sleep 0.1
done
[[ $icon == *'Icon ('* ]] ||
    fail "the main window has no icon: ${icon:0:200}; program log: $(head -c 2000 "$WORK/program.log")"
# X11 desktops find the menu entry (and so the icon) for a window by its class.
wm_class=$(grep -m1 '^StartupWMClass=' "$prefix/share/applications/org.example.Glyphorama.desktop" | cut -d= -f2)
xprop -id "$WINDOW" WM_CLASS | grep ", \"$wm_class\"$" >/dev/null ||
    fail "window class $(xprop -id "$WINDOW" WM_CLASS) does not match the menu entry's $wm_class"

close_with_escape
grep -q '^form_width=' "$DATA/Glyphorama.ini" || fail "settings not saved at close"
echo "ok"
