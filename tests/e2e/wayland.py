#!/usr/bin/env python3
"""Plays the game under a Wayland compositor (weston, headless, pixman
renderer), driven from inside the game's own process by zorban_drive.

Starts weston on a private runtime folder and socket with a screen as large
as the test asks, prepares a scratch folder with the test base and no
settings file, and runs the driver there on Qt's Wayland platform. The
driver takes the compositor's screenshots (kept in the artefact folder) and
checks each; this script then checks what the game left on disk.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

from basefile import make_base, parse_base

PLAYER = "Тестер"


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--drive", required=True)
    ap.add_argument("--weston", default="weston")
    ap.add_argument("--screenshooter", default="weston-screenshooter")
    ap.add_argument("--size", default="1920x1080")
    ap.add_argument("--out", required=True)
    args = ap.parse_args()
    width, height = map(int, args.size.split("x"))

    shutil.rmtree(args.out, ignore_errors=True)
    os.makedirs(args.out)
    work = tempfile.mkdtemp(prefix="zorban-e2e-wayland-")
    runtime = os.path.join(work, "runtime")
    os.makedirs(runtime, mode=0o700)
    game_dir = os.path.join(work, "game")
    os.makedirs(os.path.join(game_dir, "QA"))
    base_path = os.path.join(game_dir, "QA", "Base.QA")
    original, levels_before = make_base()
    with open(base_path, "wb") as f:
        f.write(original)

    socket = f"zorban-e2e-{os.getpid() % 100}"
    env = dict(os.environ)
    for var in ("DISPLAY", "QT_SCALE_FACTOR", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(var, None)
    env["XDG_RUNTIME_DIR"] = runtime
    weston_log = open(os.path.join(args.out, "weston.log"), "w")
    # --debug offers the screenshot protocol to every client.
    compositor = subprocess.Popen([args.weston, "--backend=headless-backend.so", "--use-pixman", "--debug",
                                   f"--width={width}", f"--height={height}", f"--socket={socket}",
                                   "--idle-time=0"],
                                  env=env, stdout=weston_log, stderr=subprocess.STDOUT)
    game_log = open(os.path.join(args.out, "game.log"), "w")
    try:
        deadline = time.time() + 30
        while not os.path.exists(os.path.join(runtime, socket)):
            if compositor.poll() is not None or time.time() > deadline:
                raise AssertionError("weston did not start (see weston.log)")
            time.sleep(0.1)
        # The shell's own clients come up after the socket; give them a moment.
        time.sleep(1.0)
        env["WAYLAND_DISPLAY"] = socket
        env["QT_QPA_PLATFORM"] = "wayland"
        # The headless compositor's seat has no keyboard, and Qt's own
        # text-input support crashes on a text box click without one; the
        # driver types straight into the focused box instead.
        env["QT_IM_MODULE"] = "none"
        drive = subprocess.run([os.path.abspath(args.drive), "--out", os.path.abspath(args.out),
                                "--screenshooter", args.screenshooter],
                               cwd=game_dir, env=env, stdout=game_log, stderr=subprocess.STDOUT, timeout=240)
    finally:
        game_log.close()
        compositor.terminate()
        try:
            compositor.wait(timeout=10)
        except subprocess.TimeoutExpired:
            compositor.kill()
        weston_log.close()
    with open(os.path.join(args.out, "game.log")) as f:
        log = f.read()
    sys.stdout.write(log)
    assert drive.returncode == 0, f"the driven game failed (exit {drive.returncode})"

    # What the game left on disk: the name, two games, the player's first
    # result (three questions won, 300 roubles) on the leaderboard.
    with open(os.path.join(game_dir, "Zorban.ini"), "rb") as f:
        settings = f.read().decode("cp1251")
    assert PLAYER in settings.split("\r\n"), f"settings file lacks the name: {settings!r}"
    with open(base_path, "rb") as f:
        header, leaders, games, levels_after = parse_base(f.read())
    assert header == original.split(b"\r\n")[0], "line 1 must be kept byte for byte"
    assert games == 2, f"games played {games}"
    assert (PLAYER, 3) in [(l[0], l[1]) for l in leaders], f"the player's 300 roubles are not ranked: {leaders}"
    for before, after in zip(levels_before, levels_after):
        assert sorted(before) == sorted(after), "a level lost or doubled a question"
    print(f"e2e wayland {args.size}: ok; leaderboard {leaders}; screenshots in {args.out}")
    shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    try:
        main()
    except AssertionError as e:
        print(f"e2e failed: {e}", file=sys.stderr)
        sys.exit(1)
