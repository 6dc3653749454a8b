#!/usr/bin/python3
"""A student's road through a ticket as a screen reader meets it over the AT-SPI bus.

The program runs on the X server and accessibility bus the caller started. The road picks
the exam mode, types a name, opens ticket 1, answers two questions by keyboard and grades
the ticket, recording every focus event and every name or text change the program sends.
It checks the focus path and what is announced, and that no right answer ("Балтийское n")
reaches the bus except as an offered answer of the open question.
Usage: screen_reader_road.py <language: rus or eng>
"""
import subprocess
import sys

import pyatspi
from gi.repository import GLib

LANGUAGE = sys.argv[1]
ENGLISH = LANGUAGE == "eng"
RIGHT = "Балтийское"
failures = []
events = []


def fail(text):
    failures.append(text)
    print("FAIL:", text)


def said(accessible):
    try:
        return f"{accessible.getRoleName()} '{accessible.name}'"
    except Exception:  # an element gone by the time it is read
        return "(gone)"


def on_event(event):
    try:
        source = event.source
        name = source.name if source else ""
        role = source.getRoleName() if source else ""
        parent = source.parent if source else None
        parent_name = parent.name if parent else ""
    except Exception:
        return
    data = event.any_data if isinstance(event.any_data, str) else ""
    if event.type.startswith("object:state-changed:focused") and not event.detail1:
        return
    events.append((event.type, role, name, data, parent_name))


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "tavring":
            return app
    return None


def find(root, role, name=None, starts=None):
    def match(a):
        try:
            return a.getRoleName() == role and (name is None or a.name == name) and (
                starts is None or a.name.startswith(starts))
        except Exception:
            return False
    return pyatspi.findDescendant(root, match, breadth_first=True) if root else None


def frame(starts):
    app = application()
    if app is None:
        return None
    for window in app:
        if window is not None and window.name.startswith(starts):
            return window
    return None


def act(accessible, action):
    actions = accessible.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i) == action:
            actions.doAction(i)
            return
    fail(f"{said(accessible)} has no action {action}")


def key(window_title, *keys):
    """Keys typed into the shown window of that title, as the student types them."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{window_title}$"],
                           check=False, capture_output=True, text=True).stdout.split()
    if not found:
        fail(f"no window {window_title} to type into")
        return
    subprocess.run(["xdotool", "windowactivate", "--sync", found[-1]], check=False, capture_output=True)
    subprocess.run(["xdotool", "key", "--window", found[-1], "--delay", "100", *keys], check=False)


def leaks_in_tree(window):
    """Every element of the window whose name or text holds a right answer, but the offered
    answers of the open question."""
    found = []

    def walk(a, depth=0):
        if a is None or depth > 30:
            return
        try:
            texts = [a.name or "", a.description or ""]
            try:
                texts.append(a.queryText().getText(0, -1))
            except NotImplementedError:
                pass
            if any(RIGHT in t for t in texts):
                parent = a.parent
                if not (a.getRoleName() in ("list item", "table cell") and parent is not None
                        and parent.getRoleName() == "list" and parent.name.startswith(QUESTION)):
                    found.append(f"{said(a)} under {said(parent)}")
            for child in a:
                walk(child, depth + 1)
        except Exception:
            return
    walk(window)
    return found


QUESTION = "Question" if ENGLISH else "Вопрос"
state = {}


def retry(function, reason):
    """Asks to be called again while the program catches up; a failure after some tries."""
    tries = state.setdefault("tries of " + function, 0) + 1
    state["tries of " + function] = tries
    if tries < 15:
        return True
    fail(reason)
    return finish()


def step(function):
    """A step of the road: a fault in it ends the road as a failure."""
    def run():
        try:
            return function()
        except Exception as error:  # pyatspi raises on elements that are not there
            fail(f"{function.__name__}: {error!r}")
            return finish()
    return run


@step
def step_start():
    start = frame("Start" if ENGLISH else "Вход в программу")
    if start is None:
        return False  # not up yet: try again
    mode = find(start, "radio button", "Exam" if ENGLISH else "Тавринг\\Тест")
    if mode is None:
        fail("no exam mode button")
        return finish()
    act(mode, "Toggle" if "Toggle" in [mode.queryAction().getName(i) for i in range(mode.queryAction().nActions)] else "Press")
    GLib.timeout_add(800, step_name)
    return False


@step
def step_name():
    start = frame("Start" if ENGLISH else "Вход в программу")
    name = pyatspi.findDescendant(start, lambda a: a.getRoleName() == "text" and a.getState().contains(pyatspi.STATE_FOCUSED))
    if name is None:
        return retry("name", "the name box has not the focus after the exam mode")
    state["name box"] = name.name
    name.queryEditableText().setTextContents("Ivanov")
    act(find(start, "push button", "OK"), "Press")
    GLib.timeout_add(800, step_ticket_number)
    return False


@step
def step_ticket_number():
    start = frame("Start" if ENGLISH else "Вход в программу")
    manual = find(start, "check box", starts="Entering in manual" if ENGLISH else "Ввод в ручную")
    if manual is None:
        return retry("manual", "no manual ticket number box")
    act(manual, "Toggle")
    GLib.timeout_add(500, step_open)
    return False


@step
def step_open():
    start = frame("Start" if ENGLISH else "Вход в программу")
    number = pyatspi.findDescendant(start, lambda a: a.getRoleName() == "text" and a.getState().contains(pyatspi.STATE_SHOWING)
                                    and a.getState().contains(pyatspi.STATE_EDITABLE) and a.getState().contains(pyatspi.STATE_FOCUSED))
    if number is None:
        return retry("number", "the ticket number box has not the focus")
    number.queryEditableText().setTextContents("1")
    state["before ticket"] = len(events)
    act(find(start, "push button", "To Open a ticket" if ENGLISH else "Открыть билет"), "Press")
    GLib.timeout_add(1500, step_question_one)
    return False


@step
def step_question_one():
    ticket = frame("Ticket" if ENGLISH else "Билет")
    if ticket is None:
        return retry("ticket", "the ticket window is not offered by its name")
    state["ticket leaks 1"] = leaks_in_tree(ticket)
    state["after open"] = len(events)
    # Space chooses the highlighted answer, the first one: a wrong answer.
    key("Тест-тавринг", "space")
    GLib.timeout_add(1200, step_question_two)
    return False


@step
def step_question_two():
    # Space on the focused button of question 2 opens it.
    key("Тест-тавринг", "space")
    GLib.timeout_add(1200, step_answer_two)
    return False


@step
def step_answer_two():
    key("Тест-тавринг", "space")
    GLib.timeout_add(1200, step_grade)
    return False


@step
def step_grade():
    ticket = frame("Ticket" if ENGLISH else "Билет")
    state["ticket leaks 2"] = leaks_in_tree(ticket)
    state["after question 2"] = len(events)
    act(find(ticket, "push button", starts="Evaluation" if ENGLISH else "Оценка"), "Press")
    GLib.timeout_add(1200, finish)
    return False


def finish():
    pyatspi.Registry.stop()
    return False


def check():
    focus = [(role, name) for (kind, role, name, data, parent) in events if kind.startswith("focus")]
    print("Focus path:")
    for role, name in focus:
        print(f"  {role}: {name}")
    import os
    if os.environ.get("ROAD_DEBUG"):
        for e in events:
            print("   ", e)
    expected = [
        ("text", state.get("name box", "")),
        ("list", f"{QUESTION} 1 of 5" if ENGLISH else "Вопрос 1 из 5"),
        ("radio button", "Question 2, not answered" if ENGLISH else "Вопрос 2, не отвечен"),
        ("list", f"{QUESTION} 2 of 5" if ENGLISH else "Вопрос 2 из 5"),
        ("radio button", "Question 3, not answered" if ENGLISH else "Вопрос 3, не отвечен"),
        ("label", "Not deliver" if ENGLISH else "Не зачет"),
    ]
    position = 0
    for role, name in focus:
        if position < len(expected) and role == expected[position][0] and name.startswith(expected[position][1]):
            position += 1
    if position < len(expected):
        fail(f"the focus never reached {expected[position]} in order")
    for (kind, role, name, data, parent) in events:
        if RIGHT in name or RIGHT in data:
            if not (role in ("list item", "table cell") and parent.startswith(QUESTION)):
                fail(f"a right answer reached the bus: {kind} {role} '{name}' '{data}' under '{parent}'")
    for leak in state.get("ticket leaks 1", []) + state.get("ticket leaks 2", []):
        fail(f"a right answer is in the tree: {leak}")


for kind in ("focus:", "object:state-changed:focused", "object:property-change:accessible-name",
             "object:property-change:accessible-description", "object:text-changed", "object:children-changed",
             "object:selection-changed", "object:active-descendant-changed", "window:activate"):
    pyatspi.Registry.registerEventListener(on_event, kind)


def begin():
    if application() is None or frame("Start" if ENGLISH else "Вход в программу") is None:
        state["tries"] = state.get("tries", 0) + 1
        if state["tries"] > 100:
            fail("the program never appeared on the accessibility bus")
            return finish()
        return True
    step_start()
    return False


GLib.timeout_add(200, begin)
GLib.timeout_add(60000, finish)
pyatspi.Registry.start()
check()
print("PASS" if not failures else f"{len(failures)} failures")
sys.exit(1 if failures else 0)
