# The installed program, driven from outside as a person drives it: `cmake --install` into a
# temporary prefix, then the real tavring under the window manager that run_desktop.sh started.
# It checks that the window manager's close request and Alt+F4 leave the start, ticket and
# evaluation windows shown with the program alive, walks one student's road by the keyboard
# alone to the saved report, and ends the program with its own "Выход".
#
# Sourced by run_desktop.sh, which sets DISPLAY, $work (a scratch folder) and $shots, and calls
#   installed_program_road <cmake> <build dir> <scale factor> <student name>
# It returns non-zero after printing "FAIL: <step>: <what went wrong>".

# The window titles the program gives its windows.
readonly START_TITLE="Тест-Тавринг v 3.3"
readonly ABOUT_TITLE="Тест-Тавринг v 3.2"
readonly TICKET_TITLE="Тест-тавринг"
readonly EVALUATION_TITLE="Тест-Тавринг"
readonly HELP_TITLE="Тест-Тавринг: руководство"
readonly FAREWELL_TITLE="plt.txt - Тест-Тавринг"

program=
program_pid=
step=
shot_prefix=
shot_number=0

fail() {
    echo "FAIL: installed program, ${step}: $*"
    screenshot "failed"
    echo "-- program output:"
    cat "$work/program.log" 2>/dev/null
    return 1
}

screenshot() {
    shot_number=$((shot_number + 1))
    import -window root "$(printf '%s/%s-%02d-%s.png' "$shots" "$shot_prefix" "$shot_number" "$1")" 2>/dev/null
}

alive() {
    kill -0 "$program_pid" 2>/dev/null
}

# The program's own visible windows, one id a line.
program_windows() {
    xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null
}

is_dialog() {
    xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG
}

# The visible window of the program with exactly this title that is not a message box, nor
# the window given second.
window_titled() {
    local id
    for id in $(program_windows); do
        [ "$id" = "${2:-}" ] && continue
        if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && ! is_dialog "$id"; then
            echo "$id"
            return 0
        fi
    done
    return 1
}

message_box() {
    local id
    for id in $(program_windows); do
        is_dialog "$id" && { echo "$id"; return 0; }
    done
    return 1
}

viewable() {
    xwininfo -id "$1" 2>/dev/null | grep -q "IsViewable"
}

# Runs the command until it succeeds, for at most the seconds given.
wait_until() {
    local seconds=$1
    shift
    local tries=$((seconds * 10))
    while [ "$tries" -gt 0 ]; do
        "$@" && return 0
        alive || return 1
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}

# Prints the id of the window once it is shown and framed; the second argument is a window of
# the same title that does not count.
wait_window() {
    local title=$1 other=${2:-} id=
    wait_until 10 window_titled "$title" "$other" >/dev/null || return 1
    id=$(window_titled "$title" "$other")
    sleep 0.5
    echo "$id"
}

# Keys go to the window that has the focus, through the X server as typed keys do.
keys_to() {
    local window=$1
    shift
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || return 1
    sleep 0.2
    local key
    for key in "$@"; do
        xdotool key --clearmodifiers "$key"
        sleep 0.25
    done
}

# The window manager's close request and Alt+F4 leave the window shown and the program running.
check_close_requests() {
    local window=$1 name=$2
    step="close request on the ${name} window"
    wmctrl -i -c "$window"
    sleep 0.6
    alive || { fail "the program ended"; return 1; }
    viewable "$window" || { fail "the window was closed"; return 1; }
    step="Alt+F4 on the ${name} window"
    keys_to "$window" alt+F4
    sleep 0.6
    alive || { fail "the program ended"; return 1; }
    viewable "$window" || { fail "the window was closed"; return 1; }
    screenshot "${name}-after-close-requests"
}

# Installs the build into a fresh prefix; the prefix is the program folder with the demo exam.
install_program() {
    local cmake=$1 build=$2 prefix=$3
    step="cmake --install into $prefix"
    if ! "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
        cat "$work/install.log"
        fail "the installation failed"
        return 1
    fi
    program="$prefix/tavring"
    [ -x "$program" ] || { fail "no executable $program"; return 1; }
    [ -f "$prefix/test.ini" ] && [ -d "$prefix/b/geography" ] \
        || { fail "the program folder has no test.ini or demo exam"; return 1; }
}

# Documents the desktop is asked to open are written down instead of opened, so that no viewer
# of this machine starts and the test can see that the program shows its own.
install_document_opener() {
    mkdir -p "$work/bin"
    cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
echo "\$*" >>"$work/opened.log"
EOF
    chmod +x "$work/bin/xdg-open"
    : >"$work/opened.log"
}

start_program() {
    local scale=$1
    step="start of $program at scale factor $scale"
    PATH="$work/bin:$PATH" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$program" >"$work/program.log" 2>&1 &
    program_pid=$!
}

# Ends the program if it still runs: the test's own clean-up after a failure.
stop_program() {
    if [ -n "$program_pid" ] && alive; then
        kill "$program_pid" 2>/dev/null
        wait "$program_pid" 2>/dev/null
    fi
    program_pid=
}

# The record of the student in the report, which the program writes in Windows-1251: the name
# line, the ticket, the marks of the five questions and the verdict (its lines end in CR CR LF).
report_has() {
    local report="$(dirname "$program")/s/oth.txt" name=$1 record
    [ -f "$report" ] || return 1
    record=$(iconv -f WINDOWS-1251 -t UTF-8 "$report" | tr -d "\r" \
        | awk -v name="Ф.И.О ,  Данные  $name" '$0 == name { found = 1 } found { print } /^=+$/ { found = 0 }')
    grep -q "^Билет № b[1-3]$" <<<"$record" && grep -q "Пятый вопрос, оценка  [25]" <<<"$record" \
        && grep -qE "^(Зачет|Не зачет)$" <<<"$record"
}

# Answers the five questions of a demo ticket: Enter, Space and the arrows in the answers,
# Space on the button of the question unlocked next. A message that the ticket is done (shown
# when the ticket has more questions than are asked) is closed with Enter.
answer_ticket() {
    local ticket=$1 box
    step="answers by the keyboard"
    keys_to "$ticket" Return space Down space space Down Down Return space space space Up Return
    if wait_until 2 message_box >/dev/null; then
        box=$(message_box)
        screenshot "ticket-finished-message"
        keys_to "$box" Return
        wait_until 5 eval '! message_box >/dev/null' || { fail "the message did not close on Enter"; return 1; }
    fi
}

# The start window: close requests, then exam mode and the student's name.
start_window_steps() {
    local name=$1
    step="start window"
    start=$(wait_window "$START_TITLE") || { fail "no start window"; return 1; }
    screenshot "start"
    # The program starts without the results module and the libraries only it needs.
    grep -Eq "libQt6Charts|libxlsxwriter|libtavring_results" "/proc/$program_pid/maps" \
        && { fail "the results module's libraries are loaded at start"; return 1; }
    check_close_requests "$start" start || return 1

    step="exam mode"
    keys_to "$start" space
    wait_window "$ABOUT_TITLE" >/dev/null || { fail "no about window after choosing exam mode"; return 1; }
    step="the guide in the program's help window"
    wait_window "$HELP_TITLE" >/dev/null || { fail "no help window after choosing exam mode"; return 1; }
    [ -s "$work/opened.log" ] && { fail "the desktop was asked to open $(cat "$work/opened.log")"; return 1; }
    # The guide leaves the keyboard with the start window, where the name is typed.
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$start" ] \
        || { fail "the start window lost the keyboard to $(xdotool getactivewindow getwindowname 2>/dev/null)"; return 1; }
    screenshot "help"
    step="student name"
    xdotool windowactivate --sync "$start" >/dev/null 2>&1
    sleep 0.5
    # xdotool types a Cyrillic letter by mapping it to a spare key first, and the first key
    # after such a change can be lost while the server passes the new map on: one letter typed
    # and taken back settles the map before the name is typed.
    xdotool type --delay 60 "П"
    xdotool key --delay 60 BackSpace
    sleep 0.2
    xdotool type --delay 60 "$name"
    screenshot "name"
}

# "OK", "Выбрать билет" and, once the draw enables it, "Открыть билет": Enter on each.
open_ticket_steps() {
    step="draw and open a ticket"
    keys_to "$start" Return Return
    sleep 1.5
    keys_to "$start" Return
    ticket=$(wait_window "$TICKET_TITLE") || { fail "no ticket window"; return 1; }
    viewable "$start" && { fail "the start window stayed shown under the ticket"; return 1; }
    # The picture window beside the ticket has the evaluation window's title.
    picture=$(window_titled "$EVALUATION_TITLE")
    screenshot "ticket"
    check_close_requests "$ticket" ticket
}

# The answers, Enter on "Оценка", Tab and Enter on "Закрыть"; the evaluation window follows.
ticket_steps() {
    answer_ticket "$ticket" || return 1
    screenshot "answered"
    step="grade"
    keys_to "$ticket" Return
    sleep 0.5
    message_box >/dev/null && { fail "a message instead of the grade"; return 1; }
    screenshot "graded"
    step="close the ticket"
    keys_to "$ticket" Tab Return
    wait_until 5 eval '! viewable "$ticket"' || { fail "the ticket window stayed"; return 1; }
    evaluation=$(wait_window "$EVALUATION_TITLE" "$picture") || { fail "no evaluation window"; return 1; }
    screenshot "evaluation"
    check_close_requests "$evaluation" evaluation
}

# "Сохранить в отчет" ticked and "Закрыть": the record is in the report and the start window
# waits for the next student.
evaluation_steps() {
    local name=$1
    step="save in the report"
    # The focus starts on "Сохранить в отчет" while it is not ticked.
    keys_to "$evaluation" space
    screenshot "save-ticked"
    keys_to "$evaluation" Tab Return
    wait_until 5 eval '! viewable "$evaluation"' || { fail "the evaluation window stayed"; return 1; }
    message_box >/dev/null && { fail "a message box after saving"; return 1; }
    report_has "$name" || { fail "s/oth.txt has no record of $name"; return 1; }
    step="next student"
    wait_until 5 viewable "$start" || { fail "the start window did not come back"; return 1; }
    alive || { fail "the program ended"; return 1; }
    screenshot "next-student"
}

ended() {
    ! kill -0 "$program_pid" 2>/dev/null
}

# The name field has the focus; Tab goes on through the data fields, "OK", the link
# "Вернуться к выбору" and "Помощь" to "Выход". The program shows plt.txt in its viewer, ends
# when the viewer is closed, and leaves nothing running.
exit_steps() {
    step="exit by \"Выход\""
    keys_to "$start" Tab Tab Tab Tab Tab Tab Tab Return
    local farewell
    farewell=$(wait_window "$FAREWELL_TITLE") || { fail "plt.txt was not shown at the end"; return 1; }
    screenshot "farewell"
    keys_to "$farewell" Escape
    wait_until 5 ended
    ended || { fail "the program still runs after \"Выход\""; return 1; }
    wait "$program_pid"
    local code=$?
    program_pid=
    [ "$code" -eq 0 ] || { fail "the program ended with exit code $code"; return 1; }
    step="nothing left running"
    local left exe
    left=$(for exe in /proc/[0-9]*/exe; do
        [ "$(readlink "$exe" 2>/dev/null)" = "$program" ] && echo "${exe%/exe}"
    done)
    [ -z "$left" ] || { fail "still running: $left"; return 1; }
}

installed_program_road() {
    local cmake=$1 build=$2 scale=$3 name=$4
    local prefix="$work/installed-x$scale" start= ticket= picture= evaluation=
    shot_prefix="installed-x$scale"
    shot_number=0
    echo "-- the installed program at scale factor $scale"
    install_program "$cmake" "$build" "$prefix" || return 1
    install_document_opener
    start_program "$scale"
    start_window_steps "$name" && open_ticket_steps && ticket_steps && evaluation_steps "$name" \
        && exit_steps || return 1
    echo "-- passed: start, ticket and evaluation windows kept on close requests; $name saved in s/oth.txt"
}
