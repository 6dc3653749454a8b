# The virtual X server and the window manager of the desktop roads, sourced by run_desktop.sh and
# screen_reader_road.sh: start_x <size> starts Xvfb on a free display and openbox on it, and
# returns once the window manager answers (without one no window is ever active, so no control
# takes the focus); stop_x stops both. The sourcing script sets $work, a folder for their logs.
# Exits 77 (skipped) when no X server can be started.

server=
manager=
stop_x() {
    [ -n "$manager" ] && kill "$manager" 2>/dev/null && wait "$manager" 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    manager=
    server=
}

# Starts Xvfb on a free display with a screen of the size.
start_server() {
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
}

start_manager() {
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    manager=$!
    for _ in $(seq 100); do
        wmctrl -m >/dev/null 2>&1 && return 0
        kill -0 "$manager" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Xvfb and openbox on it. On a machine where other X servers come and go, a display number
# can be taken between Xvfb choosing it and openbox connecting (openbox then says it cannot
# open the display); a new server is tried then.
start_x() {
    local size=$1 attempt
    for attempt in 1 2 3; do
        start_server "$size"
        start_manager && return 0
        echo "openbox could not start on $DISPLAY (attempt $attempt):"
        cat "$work/openbox.log" "$work/xvfb.log"
        stop_x
    done
    echo "FAIL: openbox did not start on any display"
    exit 1
}
