#!/usr/bin/env python3
"""Plays a whole game of the built game from the keyboard alone on a virtual
display: the name typed and confirmed with Enter, Ctrl+N, the answers by
letter, the leaderboard closed with Enter, Ctrl+Q. The files are checked as
for the mouse games. With --sound the run also checks that the game opens an
audio stream on the sound server it finds (a null sink serves in CI)."""
import argparse
import atexit
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from play import (ANSWER_LABELS, LEVELS, PLAYER, Screen, make_base, parse_base,  # noqa: E402
                  start_x_server, wait_until, xdo)

RIGHT_ANSWERS = 5  # past the first sum that a wrong answer keeps: 1000


def key(*names):
    for name in names:
        xdo("key", "--clearmodifiers", name)
        time.sleep(0.15)


def audio_streams():
    r = subprocess.run(["pactl", "list", "short", "sink-inputs"], capture_output=True, text=True)
    return r.stdout.strip().splitlines() if r.returncode == 0 else []


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def start_sound_server(folder):
    """A private PulseAudio with a null sink on a socket in `folder`: no sound
    card, no session bus, and it runs as root too (CI), since it never
    touches the system's own server or the user's settings."""
    socket = os.path.join(folder, "native")
    env = dict(os.environ, HOME=folder, XDG_RUNTIME_DIR=folder, XDG_CONFIG_HOME=folder)
    server = subprocess.Popen(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                               "--disable-shm=yes", "-L", "module-null-sink sink_name=zorban",
                               "-L", f"module-native-protocol-unix socket={socket} auth-anonymous=1"],
                              env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    atexit.register(stop, server)  # whatever way the run ends
    os.environ["PULSE_SERVER"] = "unix:" + socket
    wait_until(lambda: subprocess.run(["pactl", "info"], capture_output=True).returncode == 0,
               "the sound server", timeout=20, interval=0.1)
    return server


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--game", required=True)
    ap.add_argument("--size", default="800x600")
    ap.add_argument("--out", required=True)
    ap.add_argument("--sound", action="store_true", help="the game must open an audio stream")
    args = ap.parse_args()
    width, height = map(int, args.size.split("x"))
    shutil.rmtree(args.out, ignore_errors=True)
    os.makedirs(args.out)
    work = tempfile.mkdtemp(prefix="zorban-keys-")
    os.makedirs(os.path.join(work, "QA"))
    base_path = os.path.join(work, "QA", "Base.QA")
    original, levels_before = make_base()
    with open(base_path, "wb") as f:
        f.write(original)

    sound_server = None
    if args.sound:
        sound_server = start_sound_server(work)
    else:
        # No sound server at all, even where the machine has one.
        os.environ["PULSE_SERVER"] = "unix:" + os.path.join(work, "no-such-socket")
    server = start_x_server(width, height)
    wait_until(lambda: subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True).returncode == 0,
               "the X server", timeout=30, interval=0.1)
    screen = Screen(width, height, args.out, work)
    env = {k: v for k, v in os.environ.items() if k not in ("QT_QPA_PLATFORM", "QT_SCALE_FACTOR")}
    log = open(os.path.join(args.out, "game.log"), "w")
    game = subprocess.Popen([os.path.abspath(args.game)], cwd=work, env=env, stdout=log, stderr=subprocess.STDOUT)
    streams = []
    try:
        def question_on_screen():
            shares = screen.lit_shares(screen.shot("question", keep=False), ANSWER_LABELS)
            return shares if max(shares.values()) > 0.01 else None

        def answer(right):
            shares = wait_until(question_on_screen, "a question on the screen")
            place = max(shares, key=shares.get) if right else min(shares, key=shares.get)
            screen.keep(("right" if right else "wrong") + f"-{place}")
            key(place.lower())
            return place

        wait_until(lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Зорбан"],
                                          capture_output=True).returncode == 0, "the game's window")
        time.sleep(3)  # the splash goes by itself
        screen.shot("start")
        xdo("type", "--delay", "40", PLAYER)
        key("Return")
        ini = os.path.join(work, "Zorban.ini")
        wait_until(lambda: os.path.exists(ini) and PLAYER.encode("cp1251") in open(ini, "rb").read(),
                   "the name in the settings file")
        key("F1")
        screen.shot("keys")
        key("Escape")

        key("ctrl+n")
        for _ in range(RIGHT_ANSWERS):
            answer(True)
            if args.sound and not streams:
                streams = audio_streams()
        time.sleep(0.5)
        answer(False)
        wait_until(lambda: parse_base(open(base_path, "rb").read())[2] == 1, "the base rewritten after the game")
        screen.shot("leaderboard")
        key("Return")
        time.sleep(0.5)
        screen.shot("after-leaderboard")
        if args.sound and not streams:
            streams = audio_streams()
        key("ctrl+q")
        game.wait(timeout=20)
    finally:
        if game.poll() is None:
            screen.shot("failure")
            game.kill()
        log.close()
        server.terminate()
        if sound_server:
            stop(sound_server)
    assert game.returncode == 0, f"the game exited with {game.returncode}"
    if args.sound:
        assert streams, "the game opened no audio stream on the sound server"

    with open(os.path.join(work, "Zorban.ini"), "rb") as f:
        assert PLAYER in f.read().decode("cp1251").split("\r\n"), "settings file lacks the name"
    with open(base_path, "rb") as f:
        header, leaders, games, levels_after = parse_base(f.read())
    assert header == original.split(b"\r\n")[0], "line 1 must be kept byte for byte"
    assert games == 1, f"games played {games}"
    assert leaders[0][0] == PLAYER and leaders[0][1] == 5, f"the player's result must lead: {leaders}"
    for level in range(LEVELS):
        assert sorted(levels_before[level]) == sorted(levels_after[level]), f"level {level + 1} lost a question"
    print(f"e2e keyboard {args.size}: ok{' with sound' if args.sound else ''}; screenshots in {args.out}")
    shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    try:
        main()
    except AssertionError as e:
        print(f"e2e keyboard failed: {e}", file=sys.stderr)
        sys.exit(1)
