#!/usr/bin/env bash
# The screen reader's road: runs tavring on a virtual X server (Xvfb) under openbox with a
# session bus and the accessibility bus (at-spi2-core), and walks a ticket through the bus
# with pyatspi (screen_reader_road.py), in Russian and in English. Exits 77 (skipped) when
# no X server can be started or the accessibility packages are missing.
# With ROAD_ORCA set to a folder, Orca (Debian's orca) runs beside the road and writes its
# debug log there (orca-rus.log, orca-eng.log), whose "SPEECH OUTPUT" lines are what it said.
# Usage: screen_reader_road.sh <tavring executable>
set -u
program=$1
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb openbox wmctrl dbus-run-session xdotool iconv; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
        exit 77
    fi
done
launcher=$(ls /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher 2>/dev/null | head -n1)
if [ -z "$launcher" ] || ! /usr/bin/python3 -c "import pyatspi" 2>/dev/null; then
    echo "SKIP: at-spi2-core and python3-pyatspi are needed (scripts/install-deps.sh installs them)"
    exit 77
fi

work=$(mktemp -d)
# shellcheck source=x_session.sh
source "$here/x_session.sh"
trap 'stop_x; rm -rf "$work"' EXIT

# The guide the build lays beside the program: without it the mode choice stops on a message
# that the guide is missing, and the pressed button's action never returns over the bus.
guide=$(dirname "$program")/help
if [ ! -f "$guide/guide-ru/index.html" ] || [ ! -f "$guide/guide-en/index.html" ]; then
    echo "FAIL: no guide in $guide (the build's program_folder target lays it out)"
    exit 1
fi

# A program folder of its own: the program and its guide, an exam of one ticket of five questions whose
# right answers are "Балтийское n", and the settings in the language of the road.
write() { printf '%s' "$2" | iconv -f UTF-8 -t WINDOWS-1251 >"$1"; }
lay_out() {
    local folder=$1 language=$2 n
    mkdir -p "$folder/b/exam/b1" "$folder/s"
    cp "$program" "$folder/tavring"
    cp -r "$guide" "$folder/help"
    write "$folder/b/exam/lzm.lzm" $'Моря\r\n'
    for n in 1 2 3 4 5; do
        write "$folder/b/exam/b1/q$n.txt" "Какое море омывает берег $n?"$'\r\n'
        write "$folder/b/exam/b1/v$n.txt" $'Чёрное\r\n'"Балтийское $n"$'\r\nБелое\r\n'
        write "$folder/b/exam/b1/o$n.txt" "Балтийское $n"$'\r\n'
    done
    write "$folder/test.ini" "[test]"$'\r\n'"bilet=1"$'\r\n'"vopros=5"$'\r\n'"ball=4"$'\r\n'"z=$folder/b/exam"$'\r\n'"re=$language"$'\r\n'
}

status=0
for language in ${ROAD_LANGUAGES:-rus eng}; do
    folder="$work/$language"
    lay_out "$folder" "$language"
    echo "== $language"
    start_x 1366x768
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb LANGUAGE="$language" \
    dbus-run-session -- bash -c '
        "$1" --launch-immediately >/dev/null 2>&1 &
        bus=$!
        sleep 1
        reader=
        if [ -n "${ROAD_ORCA:-}" ]; then
            orca --replace --debug-file "$ROAD_ORCA/orca-$4.log" >/dev/null 2>&1 &
            reader=$!
            sleep 3
        fi
        "$2/tavring" >"$2/program.log" 2>&1 &
        tavring=$!
        /usr/bin/python3 "$3/screen_reader_road.py" "$4"
        result=$?
        kill $tavring $reader $bus 2>/dev/null
        wait $tavring 2>/dev/null
        exit $result' road "$launcher" "$folder" "$here" "$language" 2>&1 | grep -v "^dbus-daemon"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    stop_x
done
exit $status
