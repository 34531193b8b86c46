"""Plays the built game on a real (virtual) display with xdotool.

Runs inside an X server whose screen is as large as the test asks, bare or
under a window manager. In a scratch folder holding a test base and no
settings file it: confirms the new-game dialog with a typed name, starts a
game, uses fifty-fifty, phones a friend and asks the audience, answering
right after each, takes the money, closes the leaderboard, starts a second
game, answers wrong, closes the leaderboard and the window. Then it checks
what the game left on disk. A screenshot of every step goes to the artefact
folder.

Every click point is a stage point, mapped by the game's scale
s = min(W / 800, H / 600) onto the centred stage; a dialog lies centred on
the screen at its own size times s. A dialog counts as shown when the
screen region where it lies looks like its background picture (average
colours on a coarse grid, with a tolerance), so no position is taken on
trust and no exact pixel is compared.

Instead of closing the window, a run may start a third game, answer right and
end the session under the game: with SIGTERM, as a logout or shutdown would
(--end sigterm), or by stopping the X server (--end display).

With --exec it plays the installed game instead: it runs that command line
(the menu entry's Exec) with HOME set to --home, in whatever folder the
command prepares, confirms the name, starts one game, takes the money at the
first question, closes the leaderboard and the window. What is left on disk
is for the caller to check.

The right answer is found on the screen: in the test base the right answer
is a long word and the wrong ones a single letter, so the place with the
most lit text pixels holds it.
"""
import argparse
import os
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from basefile import LEVELS, make_base, parse_base

# Latin letters: xdotool cannot type Cyrillic reliably into an X server
# without a Cyrillic keymap.
PLAYER = "Tester"

# Stage coordinates of the controls the test uses (the 800 x 600 layout).
PANEL_SHOWN_LEFT = 545
ANSWER_LABELS = {  # place: (left, top, width, height) of LabelAnswerX
    "A": (88, 462, 289, 51), "B": (456, 462, 289, 51),
    "C": (88, 515, 289, 51), "D": (456, 515, 289, 51),
}
# Click points inside LabelClkX, all left of the menu panel's resting edge so
# that pointing at them never pulls the panel over the answers.
ANSWER_CLICKS = {"A": (216, 487), "B": (490, 487), "C": (216, 540), "D": (490, 540)}
NEW_GAME = (PANEL_SHOWN_LEFT + 24 + 104, 49 + 14)
FIFTY = (PANEL_SHOWN_LEFT + 40 + 28, 144 + 16)
CLOSE = (PANEL_SHOWN_LEFT + 220 + 12, 3 + 12)
NAME_BOX = (125 + 100, 82 + 10)      # in the new-game dialog
NAME_OK = (351 + 25, 137 + 17)
TOP5_OK = (196 + 25, 192 + 17)       # in the leaderboard dialog
PHONE = (PANEL_SHOWN_LEFT + 104 + 28, 144 + 16)
AUDIENCE = (PANEL_SHOWN_LEFT + 168 + 28, 144 + 16)
# Phone keypad: caps 51 x 35 in columns 10, 64, 118 and rows 42, 79, 116,
# 153; "*" (call) is the first cap of the last row.
PHONE_KEYS = {str(k): (10 + 54 * ((k - 1) % 3) + 25, 42 + 37 * ((k - 1) // 3) + 17) for k in range(1, 10)}
PHONE_CALL = (10 + 25, 153 + 17)

ART = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "art", "images")
# Each dialog: its background picture and its size on the 800 x 600 stage.
DIALOGS = {
    "new-game": ("TFormNewNameGamer/ImageForm.jpg", 459, 183),
    "leaderboard": ("TFormTop5/Image1.jpg", 442, 235),
    "phone": ("TFormPromptTelephone/ImageForm.jpg", 576, 228),
    "audience": ("TFormPromptMan/ImageForm.jpg", 205, 280),
}
# Likeness of a screen region to a dialog's picture: above SHOWN the dialog
# is there (its controls and texts over it), below GONE the stage shows
# through.
SHOWN = 0.4
GONE = 0.3


class Screen:
    def __init__(self, width, height, shots, scratch):
        self.width, self.height, self.shots, self.scratch = width, height, shots, scratch
        self.references = {}
        self.scale = min(width / 800.0, height / 600.0)
        self.ox = (width - 800 * self.scale) / 2
        self.oy = (height - 600 * self.scale) / 2
        self.step = 0

    def stage(self, x, y):
        return int(round(self.ox + x * self.scale)), int(round(self.oy + y * self.scale))

    def shot(self, name, keep=True):
        """A screenshot; one not kept is overwritten by the next look."""
        path = os.path.join(self.shots, f"{self.step + 1:02d}-{name}.png") if keep \
            else os.path.join(self.scratch, "look.png")
        subprocess.run(["import", "-window", "root", path], check=True)
        if keep:
            self.step += 1
        return path

    def keep(self, name):
        """Keeps the last look under this name."""
        self.step += 1
        shutil.copyfile(os.path.join(self.scratch, "look.png"), os.path.join(self.shots, f"{self.step:02d}-{name}.png"))

    def dialog_origin(self, dialog):
        """The screen position of a dialog's top left corner: centred on the
        screen in the game's own (scaled) units."""
        _, w, h = DIALOGS[dialog]
        logical_w, logical_h = self.width / self.scale, self.height / self.scale
        return (int(round(self.scale * int((logical_w - w) / 2))),
                int(round(self.scale * int((logical_h - h) / 2))))

    def in_dialog(self, dialog, x, y):
        ox, oy = self.dialog_origin(dialog)
        return int(round(ox + x * self.scale)), int(round(oy + y * self.scale))

    def dialog_likeness(self, png, dialog):
        """Normalised cross-correlation (-1..1, averaged over the colour
        channels) of the screen region where the dialog lies with its
        background picture, both on a coarse grid."""
        picture, w, h = DIALOGS[dialog]
        ox, oy = self.dialog_origin(dialog)
        pw, ph = int(w * self.scale), int(h * self.scale)
        if dialog not in self.references:
            self.references[dialog] = grid_pixels([os.path.join(ART, picture)])
        region = grid_pixels([png, "-crop", f"{pw}x{ph}+{ox}+{oy}", "+repage"])
        return sum(correlation(region[c::3], self.references[dialog][c::3]) for c in range(3)) / 3


    def lit_shares(self, png, rects):
        """The share of lit (text) pixels in each stage rectangle, from one
        thresholded grey copy of the screenshot."""
        gray = subprocess.run(["convert", png, "-colorspace", "Gray", "-threshold", "85%", "-depth", "8", "gray:-"],
                              check=True, capture_output=True).stdout
        shares = {}
        for key, (x, y, w, h) in rects.items():
            px, py = self.stage(x, y)
            pw, ph = int(w * self.scale), int(h * self.scale)
            lit = sum(gray[row * self.width + px:row * self.width + px + pw].count(255) for row in range(py, py + ph))
            shares[key] = lit / float(pw * ph)
        return shares


LIKENESS_GRID = (64, 48)


def grid_pixels(source):
    """The RGB bytes of a picture (ImageMagick source and operators) shrunk to
    the likeness grid."""
    w, h = LIKENESS_GRID
    return subprocess.run(["convert", *source, "-resize", f"{w}x{h}!", "-depth", "8", "rgb:-"],
                          check=True, capture_output=True).stdout


def correlation(a, b):
    n = len(a)
    ma, mb = sum(a) / n, sum(b) / n
    cov = sum((x - ma) * (y - mb) for x, y in zip(a, b))
    va = sum((x - ma) ** 2 for x in a)
    vb = sum((y - mb) ** 2 for y in b)
    return cov / (va * vb) ** 0.5 if va and vb else 0.0


def xdo(*args):
    return subprocess.run(["xdotool", *map(str, args)], check=True, capture_output=True, text=True).stdout


def move_to(x, y):
    # Not "--sync": on a bare X server it sometimes gives up although the
    # pointer moved; a short pause lets the game see the motion instead.
    xdo("mousemove", x, y)
    time.sleep(0.05)


def click_at(x, y):
    move_to(x, y)
    xdo("click", "1")


def wait_until(predicate, what, timeout=20, interval=0.05):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    raise AssertionError(f"timed out waiting for {what}")


def start_window_manager(program):
    """Starts a window manager and waits until it has taken the screen."""
    manager = subprocess.Popen([program], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_until(lambda: manager.poll() is None and "window id" in subprocess.run(
        ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], capture_output=True, text=True).stdout,
        "the window manager", timeout=30, interval=0.1)
    return manager


def start_x_server(width, height):
    """Starts a private Xvfb on a display number it picks itself (so parallel
    runs never collide) and points DISPLAY at it."""
    read_fd, write_fd = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24",
                               "-nolisten", "tcp", "-noreset"], pass_fds=(write_fd,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    number = b""
    with os.fdopen(read_fd, "rb") as pipe:
        while not number.endswith(b"\n"):
            chunk = pipe.read(1)
            if not chunk:
                break
            number += chunk
    if not number.strip():
        server.kill()
        raise AssertionError("Xvfb did not start")
    os.environ["DISPLAY"] = ":" + number.decode().strip()
    os.environ.pop("XAUTHORITY", None)
    return server


def play_installed(command, home, width, height, out):
    """One game of the installed game, started as the menu starts it."""
    server = start_x_server(width, height)
    wait_until(lambda: subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True).returncode == 0,
               "the X server", timeout=30, interval=0.1)
    scratch = tempfile.mkdtemp(prefix="zorban-looks-")
    screen = Screen(width, height, out, scratch)
    env = {k: v for k, v in os.environ.items()
           if k not in ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "XDG_DATA_HOME", "XDG_CONFIG_HOME")}
    env["HOME"] = home
    log = open(os.path.join(out, "game.log"), "w")
    game = subprocess.Popen(shlex.split(command), cwd=home, env=env, stdout=log, stderr=subprocess.STDOUT)
    try:
        def answers_shown():
            move_to(*screen.stage(300, 200))
            time.sleep(0.4)
            png = screen.shot("question", keep=False)
            return max(screen.lit_shares(png, ANSWER_LABELS).values()) > 0.01

        def press_new_game():
            move_to(*screen.stage(798, 300))  # the pointer at the right edge pulls the menu panel in
            time.sleep(0.5)
            click_at(*screen.stage(*NEW_GAME))

        def dialog_shown(dialog):
            wait_until(lambda: screen.dialog_likeness(screen.shot(dialog, keep=False), dialog) > SHOWN,
                       f"the {dialog} dialog", interval=0.2)

        # The dialogs are panels on the game's one window, centred on it.
        dialog_shown("new-game")
        nx, ny = screen.dialog_origin("new-game")
        time.sleep(0.5)
        click_at(nx + int(NAME_BOX[0] * screen.scale), ny + int(NAME_BOX[1] * screen.scale))
        xdo("type", "--delay", "40", PLAYER)
        click_at(nx + int(NAME_OK[0] * screen.scale), ny + int(NAME_OK[1] * screen.scale))
        ini = os.path.join(home, ".local", "share", "zorban", "Zorban.ini")
        wait_until(lambda: os.path.exists(ini) and PLAYER.encode("cp1251") in open(ini, "rb").read(),
                   "the name in the settings file")

        press_new_game()
        wait_until(answers_shown, "the first question")
        press_new_game()  # now "Забрать деньги..."
        dialog_shown("leaderboard")
        tx, ty = screen.dialog_origin("leaderboard")
        screen.shot("leaderboard")
        click_at(tx + int(TOP5_OK[0] * screen.scale), ty + int(TOP5_OK[1] * screen.scale))
        time.sleep(0.3)
        move_to(*screen.stage(798, 300))
        time.sleep(0.5)
        screen.shot("before-close")
        click_at(*screen.stage(*CLOSE))
        game.wait(timeout=20)
    finally:
        if game.poll() is None:
            screen.shot("failure")
            game.kill()
        log.close()
        server.terminate()
        shutil.rmtree(scratch, ignore_errors=True)
    assert game.returncode == 0, f"the game exited with {game.returncode}"
    print(f"e2e installed {width}x{height}: one game played; screenshots in {out}")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--game")
    ap.add_argument("--exec", dest="command", help="play the installed game started by this command line")
    ap.add_argument("--home", help="HOME for --exec")
    ap.add_argument("--size", default="800x600")
    ap.add_argument("--out", required=True)
    ap.add_argument("--end", choices=["close", "sigterm", "display"], default="close")
    ap.add_argument("--wm", help="a window manager to run the game under")
    args = ap.parse_args()
    width, height = map(int, args.size.split("x"))
    if bool(args.game) == bool(args.command) or (args.command and not args.home):
        ap.error("give --game, or --exec with --home")
    if args.command:
        shutil.rmtree(args.out, ignore_errors=True)
        os.makedirs(args.out)
        play_installed(args.command, os.path.abspath(args.home), width, height, args.out)
        return

    shutil.rmtree(args.out, ignore_errors=True)
    os.makedirs(args.out)
    work = tempfile.mkdtemp(prefix="zorban-e2e-")
    os.makedirs(os.path.join(work, "QA"))
    base_path = os.path.join(work, "QA", "Base.QA")
    original, levels_before = make_base()
    with open(base_path, "wb") as f:
        f.write(original)

    server = start_x_server(width, height)
    # The X server must answer before the game starts.
    wait_until(lambda: subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True).returncode == 0,
               "the X server", timeout=30, interval=0.1)
    manager = start_window_manager(args.wm) if args.wm else None
    scratch = os.path.join(work, "looks")  # beside the game's QA folder, never read by it
    os.makedirs(scratch)
    screen = Screen(width, height, args.out, scratch)
    env = dict(os.environ)
    env.pop("QT_QPA_PLATFORM", None)
    env.pop("QT_SCALE_FACTOR", None)
    log = open(os.path.join(args.out, "game.log"), "w")
    game = subprocess.Popen([os.path.abspath(args.game)], cwd=work, env=env, stdout=log, stderr=subprocess.STDOUT)
    try:
        pointer = {"at": None}

        def panel_in():
            # The pointer at the right edge pulls the menu panel in.
            move_to(*screen.stage(798, 300))
            pointer["at"] = "in"
            time.sleep(0.5)

        def panel_out():
            if pointer["at"] == "out":
                return  # the panel has gone already
            move_to(*screen.stage(300, 200))
            pointer["at"] = "out"
            time.sleep(0.4)

        def read_places():
            panel_out()
            png = screen.shot("question")
            return png, screen.lit_shares(png, ANSWER_LABELS)

        def question_on_screen():
            _, shares = read_places()
            return shares if max(shares.values()) > 0.01 else None

        def answer(right):
            shares = wait_until(question_on_screen, "a question on the screen")
            shown = {p: s for p, s in shares.items() if s > 0.0005}
            place = max(shown, key=shown.get) if right else min(shown, key=shown.get)
            click_at(*screen.stage(*ANSWER_CLICKS[place]))
            pointer["at"] = "out"  # left of the panel's resting edge: it stays out
            time.sleep(0.3)
            screen.shot(("right" if right else "wrong") + f"-answer-{place}")
            return place

        def dialog_shown(dialog):
            """Waits until the dialog is on the screen where it belongs."""
            seen = []

            def look():
                png = screen.shot(dialog, keep=False)
                seen.append(round(screen.dialog_likeness(png, dialog), 3))
                return seen[-1] > SHOWN
            try:
                wait_until(look, f"the {dialog} dialog", interval=0.2)
            except AssertionError:
                raise AssertionError(f"the {dialog} dialog is not on the screen at its place "
                                     f"(likeness to its picture: {seen[-5:]})")
            screen.keep(dialog)
            print(f"{dialog} dialog shown: likeness {seen[-1]}")

        def dialog_gone(dialog):
            seen = []

            def look():
                png = screen.shot(dialog + "-gone", keep=False)
                seen.append(round(screen.dialog_likeness(png, dialog), 3))
                return seen[-1] < GONE
            try:
                wait_until(look, f"the {dialog} dialog to go", interval=0.2)
            except AssertionError:
                raise AssertionError(f"the {dialog} dialog is still on the screen (likeness {seen[-5:]})")
            print(f"{dialog} dialog gone: likeness {seen[-1]}")

        def click_in(dialog, point):
            click_at(*screen.in_dialog(dialog, *point))
            pointer["at"] = dialog

        # 1. The new-game dialog: type a name and confirm, once the about
        # box's two-second splash over it has gone.
        dialog_shown("new-game")
        click_in("new-game", NAME_BOX)
        xdo("type", "--delay", "40", PLAYER)
        screen.shot("name-typed")
        click_in("new-game", NAME_OK)
        dialog_gone("new-game")
        ini = os.path.join(work, "Zorban.ini")
        wait_until(lambda: os.path.exists(ini) and PLAYER.encode("cp1251") in open(ini, "rb").read(),
                   "the name in the settings file")
        screen.shot("greeting")

        # 2. First game: fifty-fifty, phone a friend, ask the audience, each
        # followed by the right answer; then take the money.
        panel_in()
        click_at(*screen.stage(*NEW_GAME))
        wait_until(question_on_screen, "the first question")
        panel_in()
        click_at(*screen.stage(*FIFTY))
        time.sleep(0.3)
        _, shares = read_places()
        hidden = [p for p, s in shares.items() if s <= 0.0005]
        assert len(hidden) == 2, f"fifty-fifty should hide two answers, shares {shares}"
        answer(True)

        wait_until(question_on_screen, "the second question")
        panel_in()
        click_at(*screen.stage(*PHONE))
        dialog_shown("phone")
        for digit in "12345":
            click_in("phone", PHONE_KEYS[digit])
        click_in("phone", PHONE_CALL)
        time.sleep(0.3)
        screen.shot("phone-call")
        dialog_gone("phone")  # it closes by itself three seconds after the call
        answer(True)

        wait_until(question_on_screen, "the third question")
        panel_in()
        click_at(*screen.stage(*AUDIENCE))
        dialog_shown("audience")
        dialog_gone("audience")  # it closes by itself once the bars have grown
        screen.shot("audience-said")
        answer(True)

        wait_until(question_on_screen, "the fourth question")
        panel_in()
        click_at(*screen.stage(*NEW_GAME))  # now "Забрать деньги..."
        dialog_shown("leaderboard")
        click_in("leaderboard", TOP5_OK)
        dialog_gone("leaderboard")
        # The base is rewritten right after the leaderboard comes up.
        after_first = wait_until(lambda: (lambda b: b if b[2] == 1 else None)(parse_base(open(base_path, "rb").read())),
                                 "the base rewritten after the first game")

        # 3. Second game: a wrong answer ends it.
        panel_in()
        click_at(*screen.stage(*NEW_GAME))
        answer(False)
        dialog_shown("leaderboard")
        click_in("leaderboard", TOP5_OK)
        dialog_gone("leaderboard")
        after_second = wait_until(
            lambda: (lambda b: b if b[2] == 2 else None)(parse_base(open(base_path, "rb").read())),
            "the base rewritten after the second game")

        if args.end == "close":
            # 4. Close the window with "X".
            panel_in()
            screen.shot("before-close")
            click_at(*screen.stage(*CLOSE))
            game.wait(timeout=20)
        else:
            # 4. A third game, one right answer, then the session ends: the
            # game must be finished and saved with nobody to answer a dialog.
            panel_in()
            click_at(*screen.stage(*NEW_GAME))
            answer(True)
            wait_until(question_on_screen, "the second question of the third game")
            screen.shot("before-" + args.end)
            if args.end == "sigterm":
                game.send_signal(signal.SIGTERM)
                assert game.wait(timeout=20) == 0, f"the game ended with {game.returncode}"
            else:
                # The display goes away; the platform then ends the game with code 1.
                server.terminate()
                server.wait(timeout=20)
                assert game.wait(timeout=20) == 1, f"the game ended with {game.returncode}"
    finally:
        if game.poll() is None:
            if server.poll() is None:
                screen.shot("failure")
            game.kill()
        log.close()
        if manager:
            manager.terminate()
        server.terminate()

    # What the game left on disk.
    with open(os.path.join(work, "Zorban.ini"), "rb") as f:
        settings = f.read().decode("cp1251")
    assert PLAYER in settings.split("\r\n"), f"settings file lacks the name: {settings!r}"
    with open(base_path, "rb") as f:
        header, leaders, games, levels_after = parse_base(f.read())
    assert header == original.split(b"\r\n")[0], "line 1 must be kept byte for byte"
    ended_outside = args.end != "close"
    games_expected = 3 if ended_outside else 2
    assert games == games_expected, f"games played {games}, expected {games_expected}"
    results = [l for l in leaders if l[0] == PLAYER]
    if args.end == "close":
        assert len(results) == 1, f"one result of the player ranks (the other scored 0): {leaders}"
    else:
        # The game ended from outside won step 1 and is on the board too.
        assert len(results) == 2 and results[1][1] == 1, f"the stopped game's result is not ranked: {leaders}"
    for a, b in zip(leaders, leaders[1:]):
        assert a[1] > b[1] or (a[1] == b[1] and a[2] <= b[2]) or not b[0], f"leaderboard not ranked: {leaders}"
    # The first game shuffled every level; after it, every question is still
    # there once. Each later game drew one question of each level it reached
    # (the second game level 1, the third levels 1 and 2) from the first ten
    # and moved it to the back, and nothing else moved.
    first_levels = after_first[3]
    for level in range(LEVELS):
        assert sorted(levels_before[level]) == sorted(first_levels[level]) == sorted(levels_after[level]), \
            f"level {level + 1} lost or doubled a question"
    asked = {1: 1}
    if ended_outside:
        first_levels = after_second[3]
        asked = {1: 1, 2: 1}
    for level in range(LEVELS):
        before, after = first_levels[level], levels_after[level]
        n = asked.get(level + 1, 0)
        moved = after[len(after) - n:] if n else []
        rest = [q for q in before if q not in moved]
        assert after[:len(after) - n] == rest, f"level {level + 1}: only the asked questions may move"
        assert all(before.index(q) < 10 + i for i, q in enumerate(moved)), \
            f"level {level + 1}: a question beyond the first ten was drawn"
    print(f"e2e {args.size}: ok; leaderboard {leaders}; screenshots in {args.out}")
    shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    try:
        main()
    except AssertionError as e:
        print(f"e2e failed: {e}", file=sys.stderr)
        sys.exit(1)
