#!/usr/bin/env bash
# Retakes the screenshots of the user guide (help/guide-ru, help/guide-en) from the real
# program: a fresh demo program folder, a virtual X server with openbox, and xdotool clicking
# the controls at their designed places. Run after scripts/build.sh; needs xvfb, openbox,
# xdotool and imagemagick (scripts/install-deps.sh installs them).
set -euo pipefail
[ -n "${TRACE:-}" ] && set -x
cd "$(dirname "$0")/.."
[ "${1:-}" = --inside ] || exec xvfb-run -a -s "-screen 0 1366x768x24" "$0" --inside

openbox >/dev/null 2>&1 &
sleep 1
# With a Russian group in the keymap xdotool types Cyrillic letters without dropping any.
setxkbmap -layout us,ru
work=$(mktemp -d)
trap 'rm -rf "$work"; kill $(jobs -p) 2>/dev/null || true' EXIT

# The newest visible window whose title matches.
window() { xdotool search --sync --onlyvisible --name "$1" | tail -1; }
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.7; }
say() { xdotool type --delay 30 -- "$1"; sleep 0.5; }
shoot() {
    # The window with its frame as an 8-bit palette PNG, so the guide stays small.
    import -frame -window "$1" "$work/shot.png"
    convert "$work/shot.png" -strip -colors 128 "PNG8:$2"
}
# The about window and the help window that a mode choice opens are put aside.
put_aside_about_and_help() {
    xdotool windowminimize "$(window "v 3.2")"
    xdotool windowminimize "$(window "руководство|user guide")"
}
# Exam mode.
exam_mode() {
    click "$1" 44 73
    put_aside_about_and_help
}
# A student's name and data line, confirmed.
student() {
    click "$1" 74 62 && say "$2"
    [ -n "${3:-}" ] && click "$1" 74 94 && say "$3"
    click "$1" 74 201
}

for language in rus eng; do
    if [ $language = rus ]; then
        guide=help/guide-ru name="Иванова Анна" exam="История"
        question="В каком году основан Санкт-Петербург?"
    else
        guide=help/guide-en name="Anna Ivanova" exam="History"
        question="In which year was Saint Petersburg founded?"
    fi
    folder=$work/$language
    mkdir -p "$folder"
    cp build/program/tavring "$folder/"
    cp -r help "$folder/"
    sh scripts/lay-out-program-folder.sh demo "$folder"
    sed -i "s/^re=rus/re=$language/" "$folder/test.ini"
    (cd "$folder" && exec ./tavring >/dev/null 2>&1) &
    program=$!
    start=$(window "v 3.3")

    # A student draws a ticket, answers it and closes the result sheet into the report.
    exam_mode "$start"
    student "$start" "$name" "10A"
    click "$start" 104 60
    shoot "$start" "$guide/start.png"
    click "$start" 274 60
    sleep 1
    ticket=$(xdotool getactivewindow)
    question_row=0
    for answer in 2 2 1 3 1; do
        # An answered question unlocks the next one, which the student opens.
        [ $question_row -gt 0 ] && click "$ticket" 463 $((104 + question_row * 32))
        click "$ticket" 100 $((275 + (answer - 1) * 18))
        question_row=$((question_row + 1))
    done
    click "$ticket" 486 452
    shoot "$ticket" "$guide/ticket.png"
    click "$ticket" 584 452
    evaluation=$(window "^Тест-Тавринг$")
    click "$evaluation" 23 484
    shoot "$evaluation" "$guide/evaluation.png"
    click "$evaluation" 264 484

    # The teacher, at the name step the evaluation window returned to: the settings behind
    # the (empty) password, then the exam editor.
    student "$start" "T"
    click "$start" 413 193
    settings=$(window "^Тест-Тавринг$")
    shoot "$settings" "$guide/settings.png"
    click "$settings" 256 320
    editor=$(window "^Тест-Тавринг$")
    click "$editor" 147 254
    say "$exam"
    click "$editor" 93 140
    sleep 1
    click "$editor" 312 42 && say "1"
    click "$editor" 483 42 && xdotool key Down Return && sleep 0.5
    click "$editor" 223 139 && say "$question"
    click "$editor" 183 294 && say "1.1703" && xdotool key Return && say "2.1812" \
        && xdotool key Return && say "3.1917"
    click "$editor" 223 420 && say "1.1703"
    shoot "$editor" "$guide/editor.png"
    kill $program
    wait $program || true

    # Test mode.
    (cd "$folder" && exec ./tavring >/dev/null 2>&1) &
    program=$!
    start=$(window "v 3.3")
    click "$start" 44 109
    put_aside_about_and_help
    test=$(window "^Тест-тавринг$")
    shoot "$test" "$guide/test.png"
    kill $program
    wait $program || true
done
ls -l help/guide-*/
