#!/usr/bin/env bash
# Checks `cmake --install`: the prefix becomes the program folder with the programs, the user
# guide, the demo content and test.ini, plus a menu entry and an icon; a second installation
# keeps a teacher's settings.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix="$work/школа 1/tavring"
status=0
fail() { echo "FAIL: $*"; status=1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in tavring ventaro; do
    [ -x "$prefix/$file" ] || fail "$file is not installed"
done
for file in help/guide-ru/index.html help/guide-en/index.html b/geography/lzm.lzm plt.txt \
    share/icons/hicolor/scalable/apps/tavring.svg; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done
for folder in b t s; do
    [ -d "$prefix/$folder" ] || fail "$folder/ is missing"
done

ini=$prefix/test.ini
[ "$(grep -c $'\r$' "$ini")" = "$(wc -l <"$ini")" ] || fail "test.ini has lines without CR LF"
z=$(printf 'z=%s/b/geography\r' "$prefix" | iconv -f UTF-8 -t WINDOWS-1251)
grep -Fxq "$z" "$ini" || fail "test.ini does not name the demo exam of the prefix"

desktop=$prefix/share/applications/tavring.desktop
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
fi
grep -Fxq "Exec=\"$prefix/tavring\"" "$desktop" || fail "Exec does not start $prefix/tavring"
grep -Fxq "Icon=$prefix/share/icons/hicolor/scalable/apps/tavring.svg" "$desktop" || fail "Icon"

# A reinstallation keeps what the teacher changed.
printf '[test]\r\nbilet=7\r\n' >"$ini"
echo "edited" >"$prefix/b/geography/lzm.lzm"
cmake --install "$build" --prefix "$prefix" >/dev/null
[ "$(cat "$ini")" = $'[test]\r\nbilet=7\r' ] || fail "a reinstallation replaced test.ini"
[ "$(cat "$prefix/b/geography/lzm.lzm")" = edited ] || fail "a reinstallation replaced an exam file"

[ $status -eq 0 ] && echo "cmake --install lays out the program folder as expected."
exit $status
