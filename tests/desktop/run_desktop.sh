#!/usr/bin/env bash
# Runs the desktop driver on a virtual X server (Xvfb) under a real window manager (openbox),
# once per screen: 1366x768, 1366x768 at scale factor 2, and 1920x1080 (there also a lab of
# three workstations with host names of their own and the lab window). Then installs the build
# with cmake and drives the installed program from outside (installed_program.sh) at 1366x768,
# at scale factors 1 and 2. Screenshots go to the folder given. Exits 77 (skipped) only when no
# X server can be started.
# Usage: run_desktop.sh <driver> <screenshot folder> <cmake> <build folder>
set -u
driver=$1
shots=$2
cmake=$3
build=$4
mkdir -p "$shots"

if ! command -v Xvfb >/dev/null; then
    echo "SKIP: Xvfb is not installed, so no X server can be started (scripts/install-deps.sh installs it)"
    exit 77
fi
for tool in openbox xdotool wmctrl xwininfo xprop import iconv; do
    if ! command -v "$tool" >/dev/null; then
        echo "FAIL: $tool is missing; scripts/install-deps.sh installs it"
        exit 1
    fi
done

work=$(mktemp -d)
# shellcheck source=x_session.sh
source "$(dirname "$0")/x_session.sh"
# shellcheck source=installed_program.sh
source "$(dirname "$0")/installed_program.sh"
trap 'stop_program; stop_x; rm -rf "$work"' EXIT

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

run 1366x768 1 guardedWindowsStayOnCloseRequests framesInsideTheScreen windowsComeBackWhereTheyWere \
    studentRoadByKeyboard englishStartWindowHasNoRussian guideOpensBelowTheTestWindow
run 1366x768 2 framesInsideTheScreen windowsComeBackWhereTheyWere studentRoadByKeyboard
run 1920x1080 1 framesInsideTheScreen labFollowsThreeWorkstations

# The installed program at 1366x768; the student's name is typed, Cyrillic letters included.
installed() {
    local scale=$1 name=$2
    echo "== the installed program: 1366x768 at scale factor ${scale}"
    start_x 1366x768
    if ! LC_ALL=C.UTF-8 installed_program_road "$cmake" "$build" "$scale" "$name"; then
        status=1
    fi
    stop_program
    stop_x
}

installed 1 "Петров Пётр"
installed 2 "Smirnova Anna"
echo "Screenshots: $shots"
exit $status
