#!/usr/bin/env bash
# Checks the Debian package from outside: its control fields and dependencies, its files with
# their owners and permissions, its scripts, and the demo and menu entry it carries.
# Usage: check_package.sh PACKAGE_DIR VERSION
set -euo pipefail
command -v dpkg-deb >/dev/null || { echo "dpkg-deb is not available: skipped"; exit 77; }
packages=("$1"/tavring_*.deb)
[ ${#packages[@]} -eq 1 ] || { echo "FAIL: expected one package in $1: ${packages[*]}"; exit 1; }
deb=${packages[0]}
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
field() { dpkg-deb -f "$deb" "$1"; }

# Control fields.
[ "$(field Package)" = tavring ] || fail "Package is $(field Package)"
[[ "$(field Version)" == "$version"-* ]] || fail "Version $(field Version) is not $version-N"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture $(field Architecture)"
[ "$(field Section)" = education ] || fail "Section $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"

# Dependencies: the libraries the programs link (found by dpkg-shlibdeps, with versions) and
# what postinst runs; never a development or build package.
depends=$(field Depends)
echo "Depends: $depends"
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 acl passwd; do
    [[ ", $depends," == *", $needed "* || ", $depends," == *", $needed,"* ]] || fail "Depends lacks $needed"
done
grep -Eq "libqt6core6 \(>= [0-9.]+\)" <<<"$depends" || fail "libqt6core6 has no version from dpkg-shlibdeps"
grep -Eq "(^|, )libxlsxwriter[0-9a-z]* " <<<"$depends" || fail "Depends lacks libxlsxwriter"
grep -Eq -- "-dev\b|-tools\b|cmake|g\+\+|xvfb|openbox" <<<"$depends" && fail "Depends names a build or test package"

# Files: one line per entry, "mode owner/group size date time path [-> target]".
dpkg-deb -c "$deb" | awk '{ line = $1 " " $2; for (i = 6; i <= NF; i++) line = line " " $i; print line }' \
    >"$work/listing"
expect() {
    grep -Fxq -- "$1" "$work/listing" || fail "missing entry: $1"
}
expect "-rwxr-xr-x root/root ./opt/tavring/tavring"
expect "-rwxr-xr-x root/root ./opt/tavring/ventaro"
expect "-rw-r--r-- root/root ./opt/tavring/libtavring_results.so"
expect "drwxr-xr-x root/root ./opt/tavring/"
expect "-rw-r--r-- root/root ./opt/tavring/help/guide-ru/index.html"
expect "-rw-r--r-- root/root ./opt/tavring/help/guide-en/index.html"
for name in test.ini plt.txt b t s; do
    expect "lrwxrwxrwx root/root ./opt/tavring/$name -> /var/opt/tavring/$name"
done
expect "-rw-r--r-- root/root ./usr/share/applications/tavring.desktop"
expect "-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/tavring.svg"
expect "-rw-r--r-- root/root ./usr/share/tavring/demo/test.ini.in"
expect "-rw-r--r-- root/root ./usr/share/tavring/demo/plt.txt"
expect "-rw-r--r-- root/root ./usr/share/tavring/demo/b/geography/lzm.lzm"
expect "-rwxr-xr-x root/root ./usr/share/tavring/lay-out-program-folder.sh"
expect "-rw-r--r-- root/root ./usr/share/doc/tavring/copyright"
# Nothing a user changes is a file of the package, so dpkg never overwrites or removes it.
grep -E " \./(var/|opt/tavring/(test\.ini|plt\.txt|[bts])(/| |$))" "$work/listing" | grep -v -- " -> " \
    && fail "the package owns data of the program folder"
grep -v " root/root " "$work/listing" && fail "an entry not owned by root"
awk '$1 ~ /^[-d].......w/' "$work/listing" | grep . && fail "a world-writable entry"

# Scripts: postinst and postrm, executable and valid shell; no conffiles.
dpkg-deb -e "$deb" "$work/control"
for script in postinst postrm; do
    [ -x "$work/control/$script" ] || fail "$script is missing or not executable"
    sh -n "$work/control/$script" || fail "$script is not valid shell"
done
[ ! -e "$work/control/conffiles" ] || fail "the package has conffiles: $(cat "$work/control/conffiles")"
grep -q "groupadd --system" "$work/control/postinst" || fail "postinst creates no group"
grep -q "rm -rf /var/opt/tavring" "$work/control/postrm" || fail "postrm does not purge the data"

# Content: the menu entry starts the program from its folder, and the demo settings that
# postinst lays out have CR LF line ends and name the demo exam of the program folder.
dpkg-deb -x "$deb" "$work/root"
# tavring starts without Qt Charts and libxlsxwriter: only the results module, loaded when
# the results window first opens, needs them.
needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }
grep -Eq "Charts|xlsxwriter" <<<"$(needed "$work/root/opt/tavring/tavring")" \
    && fail "tavring itself needs the results module's libraries"
for library in libQt6Charts libxlsxwriter; do
    grep -q "^$library" <<<"$(needed "$work/root/opt/tavring/libtavring_results.so")" \
        || fail "the results module does not need $library"
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$work/root/usr/share/applications/tavring.desktop" || fail "desktop entry"
fi
grep -Fxq 'Exec="/opt/tavring/tavring"' "$work/root/usr/share/applications/tavring.desktop" \
    || fail "Exec does not start /opt/tavring/tavring"
sh "$work/root/usr/share/tavring/lay-out-program-folder.sh" "$work/root/usr/share/tavring/demo" \
    "$work/data" /opt/tavring
ini=$work/data/test.ini
[ "$(grep -c $'\r$' "$ini")" = "$(wc -l <"$ini")" ] || fail "test.ini has lines without CR LF"
grep -Fxq $'z=/opt/tavring/b/geography\r' "$ini" || fail "test.ini does not name /opt/tavring/b/geography"
[ -f "$work/data/b/geography/lzm.lzm" ] || fail "the demo exam was not laid out"

[ $status -eq 0 ] && echo "The package $(basename "$deb") is as expected."
exit $status
