#!/usr/bin/env python3
"""Plays the built game in its window under a window manager (openbox), where
the window has a frame that can be resized.

On a 1920 x 1080 screen, in a scratch folder with a test base: the name is
typed and confirmed on the full screen; F11 puts the game into its window;
the window is made wider than the stage's aspect, a game is begun and a
question answered right by mouse clicks where the window draws the stage;
the window is made much smaller and taller and the next question answered
the same way; F11 brings the running game back to the full screen, where the
money is taken; with the leaderboard up F11 goes to the window again, where
the leaderboard must be drawn centred on the stage, and its OK is clicked
there. Ctrl+Q closes the game. Then the files are checked as in the other
runs, and a second start must come up in the window (the choice is kept in
ZorbanOptions.ini).

In the window every click point is a stage point mapped onto the stage as
the window draws it: scaled by min(w / 800, h / 600) of the window's client
area and centred in it. Screenshots of every step go to the artefact folder.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from play import (ANSWER_CLICKS, ANSWER_LABELS, DIALOGS, GONE, LEVELS, NEW_GAME, PLAYER, SHOWN,  # noqa: E402
                  TOP5_OK, Screen, click_at, make_base, move_to, parse_base, start_window_manager,
                  start_x_server, wait_until, xdo)

WIDTH, HEIGHT = 1920, 1080
WIDE = (1400, 600)   # wider than the stage's aspect: bars at the sides
SMALL = (560, 700)   # much smaller, and taller: bars at the top and bottom


class Stage(Screen):
    """The stage where the game draws it: on the full screen, or in the
    window's client area at `geometry` (x, y, width, height)."""

    def __init__(self, shots, scratch):
        super().__init__(WIDTH, HEIGHT, shots, scratch)
        self.windowed = False

    def in_window(self, geometry):
        x, y, w, h = geometry
        self.scale = min(w / 800.0, h / 600.0)
        self.ox = x + (w - 800 * self.scale) / 2
        self.oy = y + (h - 600 * self.scale) / 2
        self.windowed = True

    def on_full_screen(self):
        self.scale = min(WIDTH / 800.0, HEIGHT / 600.0)
        self.ox = (WIDTH - 800 * self.scale) / 2
        self.oy = (HEIGHT - 600 * self.scale) / 2
        self.windowed = False

    def dialog_origin(self, dialog):
        if not self.windowed:
            return super().dialog_origin(dialog)
        # In the window the game is the bare stage: dialogs are centred on it.
        _, w, h = DIALOGS[dialog]
        return self.stage(int((800 - w) / 2), int((600 - h) / 2))


def game_windows():
    """(id, x, y, width, height) of every visible window named as the game."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Зорбан"],
                           capture_output=True, text=True).stdout.split()
    windows = []
    for wid in found:
        info = subprocess.run(["xwininfo", "-id", wid], capture_output=True, text=True).stdout
        fields = {}
        for line in info.splitlines():
            key, _, value = line.strip().partition(":")
            fields[key] = value.strip()
        if fields.get("Map State") != "IsViewable":
            continue
        windows.append((wid, int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
                        int(fields["Width"]), int(fields["Height"])))
    return windows


def framed_window():
    """The game's window when it plays in one (smaller than the screen)."""
    windows = game_windows()
    return windows[0] if len(windows) == 1 and windows[0][3:] != (WIDTH, HEIGHT) else None


def near(size, wanted):
    """A size the window took for `wanted`: the game works in its own scaled
    units, so a pixel or two may be lost to rounding."""
    return size is not None and all(abs(a - b) <= 2 for a, b in zip(size, wanted))


def full_screen():
    windows = game_windows()
    return len(windows) == 1 and windows[0][1:] == (0, 0, WIDTH, HEIGHT)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--game", required=True)
    ap.add_argument("--wm", required=True, help="the window manager to run the game under")
    ap.add_argument("--out", required=True)
    args = ap.parse_args()
    shutil.rmtree(args.out, ignore_errors=True)
    os.makedirs(args.out)
    work = os.path.join(args.out, "work")
    os.makedirs(os.path.join(work, "QA"))
    base_path = os.path.join(work, "QA", "Base.QA")
    original, levels_before = make_base()
    with open(base_path, "wb") as f:
        f.write(original)
    # No sound server: the run needs none.
    os.environ["PULSE_SERVER"] = "unix:" + os.path.join(work, "no-such-socket")

    server = start_x_server(WIDTH, HEIGHT)
    wait_until(lambda: subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True).returncode == 0,
               "the X server", timeout=30, interval=0.1)
    manager = start_window_manager(args.wm)
    scratch = os.path.join(args.out, "looks")
    os.makedirs(scratch)
    screen = Stage(args.out, scratch)
    env = {k: v for k, v in os.environ.items() if k not in ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR")}
    log = open(os.path.join(args.out, "game.log"), "w")

    def start():
        return subprocess.Popen([os.path.abspath(args.game)], cwd=work, env=env, stdout=log,
                                stderr=subprocess.STDOUT)

    game = start()
    try:
        def dialog_shown(dialog):
            seen = []

            def look():
                seen.append(round(screen.dialog_likeness(screen.shot(dialog, keep=False), dialog), 3))
                return seen[-1] > SHOWN
            try:
                wait_until(look, f"the {dialog} dialog", interval=0.2)
            except AssertionError:
                raise AssertionError(f"the {dialog} dialog is not where it belongs (likeness {seen[-5:]})")
            screen.keep(dialog)

        def dialog_gone(dialog):
            wait_until(lambda: screen.dialog_likeness(screen.shot(dialog, keep=False), dialog) < GONE,
                       f"the {dialog} dialog to go", interval=0.2)

        def question_on_screen():
            move_to(*screen.stage(300, 200))  # the menu panel out of the way
            time.sleep(0.4)
            shares = screen.lit_shares(screen.shot("question", keep=False), ANSWER_LABELS)
            return shares if max(shares.values()) > 0.01 else None

        def answer_right(name):
            shares = wait_until(question_on_screen, "a question on the screen")
            place = max(shares, key=shares.get)
            screen.keep(f"{name}-question")
            click_at(*screen.stage(*ANSWER_CLICKS[place]))
            time.sleep(0.3)
            screen.shot(f"{name}-right-answer-{place}")

        def press_f11():
            xdo("key", "--clearmodifiers", "F11")

        def resize(size):
            wid = framed_window()[0]
            xdo("windowsize", wid, *size)
            wait_until(lambda: (lambda w: w and near(w[3:], size))(framed_window()), f"the window at {size}")
            time.sleep(0.5)  # drawn again at the new scale
            screen.in_window(framed_window()[1:])

        # 1. The name, on the full screen.
        dialog_shown("new-game")
        xdo("type", "--delay", "40", PLAYER)
        xdo("key", "Return")
        ini = os.path.join(work, "Zorban.ini")
        wait_until(lambda: os.path.exists(ini) and PLAYER.encode("cp1251") in open(ini, "rb").read(),
                   "the name in the settings file")

        # 2. F11: the window. Made wide, a game begun and answered by the mouse.
        press_f11()
        window = wait_until(framed_window, "the game's window")
        screen.in_window(window[1:])
        screen.shot("window-first")
        resize(WIDE)
        move_to(*screen.stage(798, 300))  # pulls the menu panel in
        time.sleep(0.5)
        click_at(*screen.stage(*NEW_GAME))
        answer_right("window-wide")

        # 3. Much smaller and taller: the next question.
        resize(SMALL)
        answer_right("window-small")

        # 4. F11 back to the full screen with the game running: take the money.
        wait_until(question_on_screen, "the third question")
        press_f11()
        wait_until(full_screen, "the full screen")
        screen.on_full_screen()
        wait_until(question_on_screen, "the third question on the full screen")
        screen.shot("full-screen-game")
        move_to(*screen.stage(798, 300))
        time.sleep(0.5)
        click_at(*screen.stage(*NEW_GAME))  # "Забрать деньги..."
        dialog_shown("leaderboard")

        # 5. F11 with the leaderboard up: drawn in the window, closed there.
        press_f11()
        window = wait_until(framed_window, "the game's window again")
        assert near(window[3:], SMALL), f"the window should come back at its last size {SMALL}, not {window[3:]}"
        screen.in_window(window[1:])
        dialog_shown("leaderboard")
        click_at(*screen.in_dialog("leaderboard", *TOP5_OK))
        dialog_gone("leaderboard")
        wait_until(lambda: parse_base(open(base_path, "rb").read())[2] == 1, "the base rewritten after the game")
        xdo("key", "--clearmodifiers", "ctrl+q")
        assert game.wait(timeout=20) == 0, f"the game exited with {game.returncode}"

        # 6. The choice is kept: the next start comes up in the window.
        with open(os.path.join(work, "ZorbanOptions.ini"), "rb") as f:
            assert b"Window=1\r\n" in f.read(), "the window is not kept as the choice"
        game = start()
        window = wait_until(framed_window, "the game's window at the next start")
        screen.in_window(window[1:])
        dialog_shown("new-game")
        xdo("key", "--clearmodifiers", "ctrl+q")
        assert game.wait(timeout=20) == 0, f"the game exited with {game.returncode}"
    finally:
        if game.poll() is None:
            screen.shot("failure")
            game.kill()
        log.close()
        manager.terminate()
        server.terminate()

    with open(ini, "rb") as f:
        assert PLAYER in f.read().decode("cp1251").split("\r\n"), "settings file lacks the name"
    with open(base_path, "rb") as f:
        header, leaders, games, levels_after = parse_base(f.read())
    assert header == original.split(b"\r\n")[0], "line 1 must be kept byte for byte"
    assert games == 1, f"games played {games}"
    # Two right answers, then the money taken: step 2.
    assert leaders[0][0] == PLAYER and leaders[0][1] == 2, f"the player's result must lead: {leaders}"
    for level in range(LEVELS):
        assert sorted(levels_before[level]) == sorted(levels_after[level]), f"level {level + 1} lost a question"
    print(f"e2e window: ok; leaderboard {leaders}; screenshots in {args.out}")
    shutil.rmtree(work, ignore_errors=True)
    shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    try:
        main()
    except AssertionError as e:
        print(f"e2e window failed: {e}", file=sys.stderr)
        sys.exit(1)
