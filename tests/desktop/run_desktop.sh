#!/usr/bin/env bash
# Runs the desktop driver on a virtual X server (Xvfb) under a real window manager (openbox),
# once per screen: 1366x768, 1366x768 at scale factor 2, and 1920x1080. Screenshots go to the
# folder given. Exits 77 (skipped) only when no X server can be started.
set -u
driver=$1
shots=$2
mkdir -p "$shots"

if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed, so no X server can be started (scripts/install-deps.sh installs it)"
    exit 77
fi
for tool in openbox xdotool wmctrl xwininfo; do
    if ! command -v "$tool" >/dev/null; then
        echo "FAIL: $tool is missing; scripts/install-deps.sh installs it"
        exit 1
    fi
done

work=$(mktemp -d)
server=
manager=
stop_x() {
    [ -n "$manager" ] && kill "$manager" 2>/dev/null && wait "$manager" 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    manager=
    server=
}
trap 'stop_x; rm -rf "$work"' EXIT

# Starts Xvfb on a free display with a screen of the size, and openbox on it.
start_x() {
    local size=$1
    rm -f "$work/display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    server=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        kill -0 "$server" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$work/display" ]; then
        echo "SKIP: no X server could be started:"
        cat "$work/xvfb.log"
        exit 77
    fi
    export DISPLAY=":$(head -n1 "$work/display")"
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    manager=$!
    for _ in $(seq 100); do
        wmctrl -m >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "FAIL: openbox did not start on $DISPLAY"
    cat "$work/openbox.log"
    exit 1
}

status=0
# screen, scale factor, the driver's test functions
run() {
    local size=$1 scale=$2
    shift 2
    echo "== ${size} at scale factor ${scale}"
    start_x "$size"
    if ! QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale TAVRING_DESKTOP_CONFIG="${size}-x${scale}" \
        TAVRING_DESKTOP_SHOTS="$shots" "$driver" "$@"; then
        status=1
    fi
    stop_x
}

run 1366x768 1 guardedWindowsStayOnCloseRequests framesInsideTheScreen studentRoadByKeyboard
run 1366x768 2 framesInsideTheScreen studentRoadByKeyboard
run 1920x1080 1 framesInsideTheScreen
echo "Screenshots: $shots"
exit $status
