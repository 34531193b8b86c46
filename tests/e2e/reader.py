#!/usr/bin/env python3
"""Follows a game of the built game from outside, as a screen reader does:
over the accessibility bus (AT-SPI), with the keyboard alone.

A private X server, a private session bus and the accessibility bus it
starts; the screen reader's switch on that bus is turned on, as a screen
reader turns it on, and the game must come onto the bus by itself. Then the
run finds the game's window, reads the new-game dialog and types a name into
it, starts a game, reads the question, the four answers, the host's words,
the countdown and the ladder by their roles and names, answers one question
right and one wrong from the keyboard, reads the leaderboard and closes it,
and closes the game. At every step it checks what a reader is told: where the
focus goes (a reader speaks the control that gains it) and that the event
carries the new question's text.

With --orca the screen reader itself runs on the same session (its speech
output off, what it would say written to its debug log), and the run checks
that it said the dialog, the name box, the greeting, every question with its
four answers, and the leaderboard with the host's verdict, in that order. Its
transcript goes to the artefact folder.

Needs the AT-SPI client library for Python (python3-gi, gir1.2-atspi-2.0),
at-spi2-core and a D-Bus daemon; --orca needs orca.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from basefile import make_base, parse_base  # noqa: E402
from play import PLAYER, start_x_server, wait_until  # noqa: E402

BUS_LAUNCHERS = ["/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher"]
# What the run listens to, as a screen reader does; a client's copy of a name or
# description is kept fresh by these events only.
SUMS = [100, 200, 300, 500, 1000, 2000]
RIGHT_ANSWERS = 5  # past the first sum that a wrong answer keeps: 1000
EVENTS = ["object:state-changed:focused", "object:property-change:accessible-name",
          "object:property-change:accessible-description", "window:activate"]


def start_session_bus(log):
    """A session bus of this run alone: no desktop's bus is touched."""
    read_fd, write_fd = os.pipe()
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--nopidfile", f"--print-address={write_fd}"],
                           pass_fds=(write_fd,), stdout=log, stderr=log)
    os.close(write_fd)
    with os.fdopen(read_fd) as pipe:
        address = pipe.readline().strip()
    if not address:
        bus.kill()
        raise AssertionError("the session bus did not start")
    os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
    return bus


def turn_screen_reader_on():
    """What a screen reader does when it starts: the switch on the bus."""
    return subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                           "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status",
                           "string:ScreenReaderEnabled", "variant:boolean:true"],
                          capture_output=True).returncode == 0


def orca_listens():
    """The screen reader has told the accessibility bus's registry which
    events it wants (its log is written in blocks, no sign of life)."""
    address = subprocess.run(["dbus-send", "--session", "--print-reply=literal", "--dest=org.a11y.Bus",
                              "/org/a11y/bus", "org.a11y.Bus.GetAddress"], capture_output=True, text=True).stdout.strip()
    registered = subprocess.run(["dbus-send", f"--bus={address}", "--print-reply", "--dest=org.a11y.atspi.Registry",
                                 "/org/a11y/atspi/registry", "org.a11y.atspi.Registry.GetRegisteredEvents"],
                                capture_output=True, text=True).stdout
    return "Document:LoadComplete" in registered  # an event this run itself never asks for


def start_orca(program, work, out):
    """The screen reader on this session, its speech output off: what it
    would say goes to its debug log."""
    transcript = os.path.join(out, "orca-debug.log")
    prefs = os.path.join(work, "orca")
    os.makedirs(prefs)
    orca = subprocess.Popen([program, "--debug-file", transcript, "-d", "speech", "-d", "braille", "-u", prefs],
                            stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)
    wait_until(lambda: orca.poll() is None and orca_listens(), "the screen reader", timeout=30, interval=0.2)
    time.sleep(1)  # from its registration to its first event handled
    return orca, transcript


def spoken_lines(transcript):
    """What the screen reader said, line by line, from its debug log."""
    said = []
    with open(transcript, encoding="utf-8", errors="replace") as f:
        for line in f:
            m = re.search(r"SPEECH OUTPUT: '(.*)'(?: voice=\S+)?\s*\{.*\}\s*$", line)
            if m:
                said.append(m.group(1))
    return said


def check_spoken(said, expected):
    """Each expectation (a name and the texts one utterance must hold) is met
    by an utterance after the one that met the previous expectation."""
    at = 0
    for what, texts, absent in expected:
        while at < len(said) and not (all(t in said[at] for t in texts) and not any(a in said[at] for a in absent)):
            at += 1
        assert at < len(said), f"the screen reader did not say {what} ({texts}); it said: {said}"
        at += 1


# With the screen reader running, each step waits this long after what the
# game said before the next key: long enough for it to speak, as a player
# waits to hear.
SETTLE = {"reader": 0.0}


def key(name):
    time.sleep(SETTLE["reader"])
    subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)


class Reader:
    """The screen reader's side: the game's objects and the events it hears."""

    def __init__(self, atspi, glib):
        self.Atspi, self.GLib = atspi, glib
        self.heard = []  # (event type, role, name, object), in order
        self.listener = atspi.EventListener.new(self._hear)
        for event in EVENTS:
            self.listener.register(event)
        self.app = None

    def _hear(self, event):
        try:
            source = event.source
            if source.get_application() != self.app and self.app is not None:
                return
            if event.type.startswith("object:state-changed") and not event.detail1:
                return
            self.heard.append((event.type, source.get_role_name(), source.get_name() or "", source))
        except Exception:  # an object gone meanwhile: nothing to hear
            pass

    def pump(self, seconds=0.0):
        end = time.time() + seconds
        context = self.GLib.MainContext.default()
        while True:
            while context.iteration(False):
                pass
            if time.time() >= end:
                return
            time.sleep(0.02)

    def wait(self, predicate, what, timeout=20):
        def look():
            self.pump()
            return predicate()
        return wait_until(look, what, timeout=timeout, interval=0.05)

    def find_app(self):
        desktop = self.Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_name() == "zorban":
                self.app = app
                return app
        return None

    def all(self, root=None):
        """Every object under `root` (the game's application)."""
        stack, found = [root or self.app], []
        while stack:
            node = stack.pop()
            found.append(node)
            for i in range(node.get_child_count() - 1, -1, -1):
                child = node.get_child_at_index(i)
                if child is not None:
                    stack.append(child)
        return found

    def find(self, role, name=None, description=None, root=None, showing=True):
        for node in self.all(root):
            if node.get_role_name() != role:
                continue
            if name is not None and node.get_name() != name:
                continue
            if description is not None and node.get_description() != description:
                continue
            if showing and not self.has(node, "SHOWING"):
                continue
            return node
        return None

    def has(self, node, state):
        return node.get_state_set().contains(getattr(self.Atspi.StateType, state))

    def focus_heard(self, predicate):
        """The last object that gained the focus and satisfies `predicate`."""
        for kind, role, name, source in reversed(self.heard):
            if kind == "object:state-changed:focused" and predicate(role, name, source):
                return source
        return None


def answer_buttons(reader):
    buttons = {}
    for letter in "ABCD":
        matches = [n for n in reader.all() if n.get_role_name() == "push button"
                   and (n.get_name() or "").startswith(letter + ": ") and reader.has(n, "SHOWING")]
        assert len(matches) == 1, f"one answer place {letter} for the reader, found {len(matches)}"
        buttons[letter] = matches[0].get_name()
    return buttons


def read_question(reader, level, expected):
    """Reads what a player needs at a question; returns the answer places.
    What the screen reader must say goes to `expected`."""
    question = reader.wait(lambda: (lambda q: q if q and q.get_name().startswith(f"Уровень {level},") else None)(
        reader.find("label", description="Вопрос")), f"the question of level {level} for the reader")
    text = question.get_name()
    answers = answer_buttons(reader)
    host = reader.find("label", description="Ведущий")
    assert host and host.get_name(), "the host's words are not read"
    # What the reader hears at once: the focus moves to the studio's voice,
    # which says the host's words, the question and all four answers.
    voice = reader.wait(lambda: reader.focus_heard(lambda role, name, src: text in name),
                        f"the focus carrying the question of level {level}")
    said = voice.get_name()
    assert host.get_name() in said, f"the host's words are not in what is said: {said!r}"
    for letter in "ABCD":
        assert answers[letter] in said, f"answer {letter} ({answers[letter]!r}) is not said: {said!r}"
    assert said.index(text) < said.index(answers["A"]), "the answers must come after the question"
    expected.append((f"question {level} with its answers", [text] + list(answers.values()), []))
    timers = [n.get_name() for n in reader.all() if (n.get_name() or "").startswith("Осталось секунд: ")]
    assert timers, "no countdown for the reader"
    seconds = timers[0].split(": ")[1]
    assert seconds.isdigit() and 40 <= int(seconds) <= 60, f"the countdown reads {timers[0]!r}"
    ladder = [n.get_name() for n in reader.all() if n.get_role_name() == "list item"
              and (n.get_name() or "").startswith("Вопрос ")]
    assert len(ladder) == 15, f"the ladder has {len(ladder)} steps for the reader"
    current = [step for step in ladder if step.endswith(", текущий вопрос")]
    assert current == [f"Вопрос {level}: {SUMS[level - 1]} рублей, текущий вопрос"], \
        f"the ladder's current step reads {current}"
    return answers


def use_fifty_fifty(reader, answers, right, expected):
    """F2: the host's words and the two answers left are said at once."""
    key("F2")
    said = reader.wait(lambda: reader.focus_heard(lambda role, name, src: '"50 на 50"' in name),
                       "fifty-fifty said").get_name()
    left = [letter for letter in "ABCD" if answers[letter] in said]
    assert len(left) == 2 and right in left, f"after fifty-fifty the reader hears {said!r}"
    expected.append(("fifty-fifty with the two answers left", [answers[letter] for letter in left], []))


def phone_a_friend(reader, expected):
    """F3, a number and Enter: the dialog gets the focus, the friend's line is
    said, and the host repeats it when the dialog has closed."""
    key("F3")
    phone = reader.wait(lambda: reader.focus_heard(lambda role, name, src: role == "dialog" and name == "Звонок другу"),
                        "the focus in the phone dialog")
    expected.append(("the phone dialog", ["Звонок другу", "Итак, кому будем звонить?"], []))
    for digit in "1234567":
        subprocess.run(["xdotool", "key", digit], check=True)
    key("Return")
    line = "вы позвонили своему другу по номеру 1234567"
    reader.wait(lambda: reader.focus_heard(lambda role, name, src: line in name and src.get_parent() == phone),
                "the friend's line said in the phone dialog")
    expected.append(("the friend's line", [line], []))
    heard = len(reader.heard)
    reader.wait(lambda: not reader.has(phone, "SHOWING"), "the phone dialog closing by itself")
    reader.wait(lambda: any(kind == "object:state-changed:focused" and line in name
                            for kind, role, name, _ in reader.heard[heard:]), "the host repeating the friend's line")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--game", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--size", default="800x600")
    ap.add_argument("--orca", help="run this screen reader too and check what it says")
    args = ap.parse_args()
    shutil.rmtree(args.out, ignore_errors=True)
    os.makedirs(args.out)
    work = tempfile.mkdtemp(prefix="zorban-reader-")
    os.makedirs(os.path.join(work, "QA"))
    base_path = os.path.join(work, "QA", "Base.QA")
    original, _ = make_base()
    with open(base_path, "wb") as f:
        f.write(original)
    log = open(os.path.join(args.out, "game.log"), "w")
    for name in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON",
                 "QT_ACCESSIBILITY", "NO_AT_BRIDGE"):
        os.environ.pop(name, None)
    os.environ["XDG_RUNTIME_DIR"] = work
    os.environ["HOME"] = work
    os.environ["PULSE_SERVER"] = "unix:" + os.path.join(work, "no-such-socket")  # silent
    started = []
    game = None
    orca = transcript = None
    expected = []  # what the screen reader must say, in order
    try:
        started.append(start_x_server(*map(int, args.size.split("x"))))
        wait_until(lambda: subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True).returncode == 0,
                   "the X server", timeout=30, interval=0.1)
        started.append(start_session_bus(log))
        launcher = next((p for p in BUS_LAUNCHERS if os.path.exists(p)), None)
        assert launcher, "at-spi-bus-launcher is missing (at-spi2-core)"
        started.append(subprocess.Popen([launcher, "--launch-immediately"], stdout=log, stderr=log))
        wait_until(turn_screen_reader_on, "the accessibility bus", timeout=20, interval=0.1)

        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi, GLib
        reader = Reader(Atspi, GLib)
        if args.orca:
            orca, transcript = start_orca(args.orca, work, args.out)
            started.append(orca)
            SETTLE["reader"] = 1.5

        env = {k: v for k, v in os.environ.items() if k not in ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR")}
        game = subprocess.Popen([os.path.abspath(args.game)], cwd=work, env=env, stdout=log, stderr=subprocess.STDOUT)

        # The game on the bus, its window a frame with the game's title.
        reader.wait(reader.find_app, "the game on the accessibility bus", timeout=30)
        frame = reader.wait(lambda: reader.find("frame", "Зорбан! Vantor"), "the game's window as a frame")
        assert reader.has(frame, "ACTIVE"), "the game's window is not the active one"

        # The new-game dialog: a dialog by role and title, the focus in the
        # name box, which reads as editable text and reads back what is typed.
        dialog = reader.wait(lambda: reader.find("dialog", "Замена имени"), "the new-game dialog")
        name_box = reader.wait(lambda: reader.focus_heard(lambda role, name, src: name == "Имя игрока"),
                               "the focus in the name box")
        assert name_box.get_role_name() == "text", f"the name box reads as {name_box.get_role_name()!r}"
        assert reader.has(name_box, "EDITABLE"), "the name box reads as not editable"
        assert reader.find("label", "Представтесь, и мы сможем начать игру!", root=dialog), "the prompt is not read"
        expected.append(("the new-game dialog", ["Замена имени", "Представтесь, и мы сможем начать игру!"], []))
        expected.append(("the name box, editable", ["Имя игрока"], ["read only"]))
        time.sleep(SETTLE["reader"])
        subprocess.run(["xdotool", "type", "--delay", "40", PLAYER], check=True)
        reader.wait(lambda: Atspi.Text.get_text(name_box, 0, -1) == PLAYER,
                    "the typed name read back from the name box")
        key("Return")
        # The dialog goes, the focus comes back to the main window with the
        # host's greeting.
        reader.wait(lambda: reader.focus_heard(lambda role, name, src: f"Приветствую вас, {PLAYER}" in name),
                    "the greeting spoken as the focus returns")
        assert not reader.has(dialog, "SHOWING"), "the new-game dialog still shows"
        expected.append(("the greeting", [f"Приветствую вас, {PLAYER}"], []))

        key("ctrl+n")
        answers = read_question(reader, 1, expected)
        for level in range(2, RIGHT_ANSWERS + 2):
            right = next(letter for letter, name in answers.items() if name.endswith("ЖЖЖЖ"))
            if level == 2:
                use_fifty_fifty(reader, answers, right, expected)
            if level == 3:
                phone_a_friend(reader, expected)
            key(right.lower())
            answers = read_question(reader, level, expected)
            said = reader.focus_heard(lambda role, name, src: f"Уровень {level}," in name).get_name()
            assert f"{SUMS[level - 2]} рублей" in said, f"the host does not tell the sum won: {said!r}"
            ladder = {n.get_name() for n in reader.all() if n.get_role_name() == "list item"}
            assert f"Вопрос {level - 1}: {SUMS[level - 2]} рублей, пройден" in ladder, \
                "the ladder does not read the step passed"
        wrong = next(letter for letter, name in answers.items() if not name.endswith("ЖЖЖЖ"))
        key(wrong.lower())

        # The leaderboard: a dialog, the focus on its button, the table read.
        top5 = reader.wait(lambda: reader.find("dialog", "Top 5"), "the leaderboard")
        ok = reader.wait(lambda: reader.focus_heard(lambda role, name, src: role == "push button" and name == "Ok"
                                                    and src.get_parent() and src.get_parent().get_name() == "Top 5"),
                         "the focus on the leaderboard's button")
        table = ok.get_description()
        # The host's verdict lies behind the table: the table says it first.
        assert f"1. {PLAYER}, 1000 рублей, " in table and "не верный ответ" in table \
            and table.index("не верный ответ") < table.index(f"1. {PLAYER}"), f"the leaderboard reads {table!r}"
        expected.append(("the leaderboard with the verdict", ["не верный ответ", f"1. {PLAYER}, 1000 рублей"], []))
        wait_until(lambda: parse_base(open(base_path, "rb").read())[2] == 1, "the base rewritten after the game")
        heard_before = len(reader.heard)
        key("Return")
        verdict = reader.wait(lambda: any(kind == "object:state-changed:focused" and "не верный ответ" in name
                                          for kind, role, name, _ in reader.heard[heard_before:]),
                              "the host's verdict spoken as the leaderboard closes")
        assert verdict and not reader.has(top5, "SHOWING"), "the leaderboard still shows"

        key("ctrl+q")
        game.wait(timeout=20)
        assert game.returncode == 0, f"the game exited with {game.returncode}"
        if orca:
            # Stopped, the screen reader writes out the rest of its log.
            orca.terminate()
            orca.wait(timeout=20)
            said = spoken_lines(transcript)
            with open(os.path.join(args.out, "orca-speech.txt"), "w", encoding="utf-8") as f:
                f.write("\n".join(said) + "\n")
            check_spoken(said, expected)
    finally:
        if game is not None and game.poll() is None:
            subprocess.run(["import", "-window", "root", os.path.join(args.out, "failure.png")])
            game.kill()
            game.wait()
        for process in reversed(started):
            process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
        log.close()
    print(f"e2e reader: the game followed over the accessibility bus{' and by the screen reader' if orca else ''};"
          f" log in {args.out}")
    shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    try:
        main()
    except AssertionError as e:
        print(f"e2e reader failed: {e}", file=sys.stderr)
        sys.exit(1)
