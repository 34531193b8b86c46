#!/usr/bin/env python3
"""Plays the built game on a real (virtual) display with xdotool.

Runs inside an X server whose screen is as large as the test asks. In a
scratch folder holding a test base and no settings file it: confirms the
new-game dialog with a typed name, starts a game, answers right, uses
fifty-fifty, answers right again, takes the money, closes the leaderboard,
starts a second game, answers wrong, closes the leaderboard and the window.
Then it checks what the game left on disk. A screenshot of every step goes
to the artefact folder.

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
import subprocess
import sys
import tempfile
import time

SEP = b"\x13"
LEVELS = 15
PER_LEVEL = 12
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


def flip(data: bytes) -> bytes:
    return bytes((287 - c) & 0xFF for c in data)


def text_field(s: str) -> bytes:
    return flip(s.encode("cp1251"))


def make_base() -> (bytes, list):
    """A new base: never played, so the first game shuffles it."""
    levels = []
    for level in range(1, LEVELS + 1):
        rows = []
        for i in range(1, PER_LEVEL + 1):
            rows.append((f"Уровень {level}, вопрос {i}?", "ЖЖЖЖЖЖЖЖЖЖЖЖЖЖ", "ж", "ш", "щ", 1, 1))
        levels.append(rows)
    lines = [text_field("Проверочная база") + SEP + b"\x01opaque-rest",
             SEP.join([text_field(""), text_field("0"), text_field("0")] * 5 + [text_field("0")]),
             SEP.join([text_field("1"), text_field("Редакция")]),
             SEP.join([text_field("1"), text_field("Проверка")]),
             SEP.join(str(len(rows)).encode() for rows in levels)]
    for rows in levels:
        for q in rows:
            lines.append(SEP.join([text_field(t) for t in q[:5]] + [text_field(str(q[5])), text_field(str(q[6]))]))
    return b"\r\n".join(lines) + b"\r\n", levels


def parse_base(data: bytes):
    lines = data.split(b"\r\n")
    assert lines[-1] == b"", "base must end with CR LF"
    lines = lines[:-1]
    leader_fields = [flip(f).decode("cp1251") for f in lines[1].split(SEP)]
    leaders = [(leader_fields[3 * i], int(leader_fields[3 * i + 1] or 0), int(leader_fields[3 * i + 2] or 0))
               for i in range(5)]
    games = int(leader_fields[15] or 0)
    counts = [int(x) for x in lines[4].split(SEP)]
    levels, at = [], 5
    for n in counts:
        rows = []
        for line in lines[at:at + n]:
            f = line.split(SEP)
            rows.append(tuple(flip(x).decode("cp1251") for x in f[:5]) + (int(flip(f[5])), int(flip(f[6]))))
        levels.append(rows)
        at += n
    assert at == len(lines), "no line may follow the last question"
    return lines[0], leaders, games, levels


class Screen:
    def __init__(self, width, height, shots):
        self.width, self.height, self.shots = width, height, shots
        self.scale = min(width / 800.0, height / 600.0)
        self.ox = (width - 800 * self.scale) / 2
        self.oy = (height - 600 * self.scale) / 2
        self.step = 0

    def stage(self, x, y):
        return int(round(self.ox + x * self.scale)), int(round(self.oy + y * self.scale))

    def shot(self, name):
        self.step += 1
        path = os.path.join(self.shots, f"{self.step:02d}-{name}.png")
        subprocess.run(["import", "-window", "root", path], check=True)
        return path

    def lit_share(self, png, rect):
        x, y, w, h = rect
        px, py = self.stage(x, y)
        pw, ph = int(w * self.scale), int(h * self.scale)
        out = subprocess.run(["convert", png, "-crop", f"{pw}x{ph}+{px}+{py}", "+repage", "-colorspace", "Gray",
                              "-threshold", "85%", "-format", "%[fx:mean]", "info:"],
                             check=True, capture_output=True, text=True).stdout
        return float(out.strip() or 0)


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


def visible_window(name, timeout=20):
    """Waits for a shown top-level window with this caption; returns its geometry."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"],
                           capture_output=True, text=True)
        ids = r.stdout.split()
        if ids:
            geo = xdo("getwindowgeometry", "--shell", ids[-1])
            vals = dict(line.split("=", 1) for line in geo.split())
            return int(vals["X"]), int(vals["Y"])
        time.sleep(0.05)
    raise AssertionError(f"window '{name}' did not show within {timeout} s")


def window_gone(name, timeout=20):
    deadline = time.time() + timeout
    while time.time() < deadline:
        r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}$"],
                           capture_output=True, text=True)
        if not r.stdout.split():
            return
        time.sleep(0.05)
    raise AssertionError(f"window '{name}' still shown after {timeout} s")


def wait_until(predicate, what, timeout=20, interval=0.05):
    deadline = time.time() + timeout
    while time.time() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(interval)
    raise AssertionError(f"timed out waiting for {what}")


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
    screen = Screen(width, height, out)
    env = {k: v for k, v in os.environ.items()
           if k not in ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR", "XDG_DATA_HOME", "XDG_CONFIG_HOME")}
    env["HOME"] = home
    log = open(os.path.join(out, "game.log"), "w")
    game = subprocess.Popen(shlex.split(command), cwd=home, env=env, stdout=log, stderr=subprocess.STDOUT)
    try:
        def answers_shown():
            move_to(*screen.stage(300, 200))
            time.sleep(0.4)
            png = screen.shot("question")
            return max(screen.lit_share(png, r) for r in ANSWER_LABELS.values()) > 0.01

        def press_new_game():
            move_to(*screen.stage(798, 300))  # the pointer at the right edge pulls the menu panel in
            time.sleep(0.5)
            click_at(*screen.stage(*NEW_GAME))

        nx, ny = visible_window("Замена имени")
        visible_window("About")
        window_gone("About")
        click_at(nx + int(NAME_BOX[0] * screen.scale), ny + int(NAME_BOX[1] * screen.scale))
        xdo("type", "--delay", "40", PLAYER)
        click_at(nx + int(NAME_OK[0] * screen.scale), ny + int(NAME_OK[1] * screen.scale))
        window_gone("Замена имени")

        press_new_game()
        wait_until(answers_shown, "the first question")
        press_new_game()  # now "Забрать деньги..."
        tx, ty = visible_window("Top 5")
        screen.shot("leaderboard")
        click_at(tx + int(TOP5_OK[0] * screen.scale), ty + int(TOP5_OK[1] * screen.scale))
        window_gone("Top 5")
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
    assert game.returncode == 0, f"the game exited with {game.returncode}"
    print(f"e2e installed {width}x{height}: one game played; screenshots in {out}")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--game")
    ap.add_argument("--exec", dest="command", help="play the installed game started by this command line")
    ap.add_argument("--home", help="HOME for --exec")
    ap.add_argument("--size", default="800x600")
    ap.add_argument("--out", required=True)
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
    screen = Screen(width, height, args.out)
    env = dict(os.environ)
    env.pop("QT_QPA_PLATFORM", None)
    env.pop("QT_SCALE_FACTOR", None)
    log = open(os.path.join(args.out, "game.log"), "w")
    game = subprocess.Popen([os.path.abspath(args.game)], cwd=work, env=env, stdout=log, stderr=subprocess.STDOUT)
    try:
        def panel_in():
            # The pointer at the right edge pulls the menu panel in.
            move_to(*screen.stage(798, 300))
            time.sleep(0.5)

        def panel_out():
            move_to(*screen.stage(300, 200))
            time.sleep(0.4)

        def read_places():
            panel_out()
            png = screen.shot("question")
            return png, {p: screen.lit_share(png, r) for p, r in ANSWER_LABELS.items()}

        def question_on_screen():
            _, shares = read_places()
            return shares if max(shares.values()) > 0.01 else None

        def answer(right):
            shares = wait_until(question_on_screen, "a question on the screen")
            shown = {p: s for p, s in shares.items() if s > 0.0005}
            place = max(shown, key=shown.get) if right else min(shown, key=shown.get)
            click_at(*screen.stage(*ANSWER_CLICKS[place]))
            time.sleep(0.3)
            screen.shot(("right" if right else "wrong") + f"-answer-{place}")
            return place

        # 1. The new-game dialog: type a name and confirm, once the about
        # box's two-second splash over it has gone.
        nx, ny = visible_window("Замена имени")
        screen.shot("start")
        visible_window("About")
        window_gone("About")
        click_at(nx + int(NAME_BOX[0] * screen.scale), ny + int(NAME_BOX[1] * screen.scale))
        xdo("type", "--delay", "40", PLAYER)
        screen.shot("name-typed")
        click_at(nx + int(NAME_OK[0] * screen.scale), ny + int(NAME_OK[1] * screen.scale))
        window_gone("Замена имени")
        ini = os.path.join(work, "Zorban.ini")
        wait_until(lambda: os.path.exists(ini) and PLAYER.encode("cp1251") in open(ini, "rb").read(),
                   "the name in the settings file")
        screen.shot("greeting")

        # 2. First game: right, fifty-fifty and right, then take the money.
        panel_in()
        click_at(*screen.stage(*NEW_GAME))
        answer(True)
        wait_until(question_on_screen, "the second question")
        panel_in()
        click_at(*screen.stage(*FIFTY))
        time.sleep(0.3)
        screen.shot("fifty-fifty")
        _, shares = read_places()
        hidden = [p for p, s in shares.items() if s <= 0.0005]
        assert len(hidden) == 2, f"fifty-fifty should hide two answers, shares {shares}"
        answer(True)
        wait_until(question_on_screen, "the third question")
        panel_in()
        click_at(*screen.stage(*NEW_GAME))  # now "Забрать деньги..."
        tx, ty = visible_window("Top 5")
        screen.shot("leaderboard-1")
        click_at(tx + int(TOP5_OK[0] * screen.scale), ty + int(TOP5_OK[1] * screen.scale))
        window_gone("Top 5")
        # The base is rewritten right after the leaderboard comes up.
        after_first = wait_until(lambda: (lambda b: b if b[2] == 1 else None)(parse_base(open(base_path, "rb").read())),
                                 "the base rewritten after the first game")

        # 3. Second game: a wrong answer ends it.
        panel_in()
        click_at(*screen.stage(*NEW_GAME))
        answer(False)
        tx, ty = visible_window("Top 5")
        screen.shot("leaderboard-2")
        click_at(tx + int(TOP5_OK[0] * screen.scale), ty + int(TOP5_OK[1] * screen.scale))
        window_gone("Top 5")

        # 4. Close the window with "X".
        panel_in()
        screen.shot("before-close")
        click_at(*screen.stage(*CLOSE))
        game.wait(timeout=20)
    finally:
        if game.poll() is None:
            screen.shot("failure")
            game.kill()
        log.close()
        server.terminate()

    # What the game left on disk.
    with open(os.path.join(work, "Zorban.ini"), "rb") as f:
        settings = f.read().decode("cp1251")
    assert PLAYER in settings.split("\r\n"), f"settings file lacks the name: {settings!r}"
    with open(base_path, "rb") as f:
        header, leaders, games, levels_after = parse_base(f.read())
    assert header == original.split(b"\r\n")[0], "line 1 must be kept byte for byte"
    assert games == 2, f"games played {games}"
    names = [l[0] for l in leaders]
    assert names.count(PLAYER) == 1, f"one result of the player ranks (the other scored 0): {leaders}"
    for a, b in zip(leaders, leaders[1:]):
        assert a[1] > b[1] or (a[1] == b[1] and a[2] <= b[2]) or not b[0], f"leaderboard not ranked: {leaders}"
    # The first game shuffled every level; after it, every question is still
    # there once. The second game drew one question of level 1 from the first
    # ten and moved it to the back, and nothing else moved.
    first_levels = after_first[3]
    for level in range(LEVELS):
        assert sorted(levels_before[level]) == sorted(first_levels[level]) == sorted(levels_after[level]), \
            f"level {level + 1} lost or doubled a question"
    asked = {1: 1}
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
