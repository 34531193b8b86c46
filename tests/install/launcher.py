#!/usr/bin/env python3
"""The installed `zorban` command: what it makes of the player's folder.

Each case lays out an installed tree (the command in bin/, a stand-in game
that records where and how it was started, two bundled bases), prepares the
player's home, runs the command and checks the folder it left and whether the
game started there.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

BUNDLED = {"Base.QA": b"bundled base\r\n", "New.QA": b"base added by a later version\r\n"}

FAKE_GAME = """#!/bin/sh
{ pwd; printf '%s\\n' "$@"; } > "$RECORD"
exit 7
"""


def install_tree(root, launcher, game_rel, bases_rel):
    bindir = os.path.join(root, "bin")
    os.makedirs(bindir)
    shutil.copy(launcher, os.path.join(bindir, "zorban"))
    game = os.path.normpath(os.path.join(bindir, game_rel))
    os.makedirs(os.path.dirname(game))
    with open(game, "w") as f:
        f.write(FAKE_GAME)
    os.chmod(game, 0o755)
    bases = os.path.normpath(os.path.join(bindir, bases_rel))
    os.makedirs(bases)
    for name, data in BUNDLED.items():
        with open(os.path.join(bases, name), "wb") as f:
            f.write(data)
    # Started through a link, as from a second bin folder.
    os.symlink(os.path.join(bindir, "zorban"), os.path.join(root, "zorban-link"))


# name, environment (HOME is <tmp>/home dir unless given), what the player
# already has in the folder, the folder expected (None: the command must fail).
CASES = [
    ("first run, a data folder with spaces", {"XDG_DATA_HOME": "{tmp}/data home"}, {},
     "{tmp}/data home/zorban"),
    ("no XDG_DATA_HOME: under HOME, started through a link", {"XDG_DATA_HOME": None}, {},
     "{tmp}/home dir/.local/share/zorban"),
    ("a relative XDG_DATA_HOME is ignored", {"XDG_DATA_HOME": "relative"}, {},
     "{tmp}/home dir/.local/share/zorban"),
    ("the player's base is kept, a new bundled base is copied in", {"XDG_DATA_HOME": "{tmp}/data"},
     {"Base.QA": b"my leaderboard\r\n"}, "{tmp}/data/zorban"),
    ("a link of a base's name is the player's, even dangling", {"XDG_DATA_HOME": "{tmp}/data"},
     {"Base.QA": "->{tmp}/nowhere"}, "{tmp}/data/zorban"),
    ("no HOME and no XDG_DATA_HOME", {"XDG_DATA_HOME": None, "HOME": None}, {}, None),
    ("the folder cannot be made", {"XDG_DATA_HOME": "{tmp}/a file"}, {}, None),
]


def run_case(name, env_changes, existing, expected, args):
    tmp = tempfile.mkdtemp(prefix="zorban-launcher-")
    try:
        root = os.path.join(tmp, "usr")
        install_tree(root, args.launcher, args.game_rel, args.bases_rel)
        os.makedirs(os.path.join(tmp, "home dir"))
        with open(os.path.join(tmp, "a file"), "w") as f:
            f.write("not a folder")
        env = dict(os.environ, HOME=os.path.join(tmp, "home dir"), RECORD=os.path.join(tmp, "record"))
        for key, value in env_changes.items():
            if value is None:
                env.pop(key, None)
            else:
                env[key] = value.format(tmp=tmp)
        folder = expected.format(tmp=tmp) if expected else None
        if folder:
            os.makedirs(os.path.join(folder, "QA"), exist_ok=True)
            for base, content in existing.items():
                path = os.path.join(folder, "QA", base)
                if isinstance(content, str):
                    os.symlink(content[2:].format(tmp=tmp), path)
                else:
                    with open(path, "wb") as f:
                        f.write(content)
        command = os.path.join(root, "zorban-link" if "link" in name else "bin/zorban")
        r = subprocess.run([command, "one", "two words"], env=env, cwd=tmp, capture_output=True, text=True)
        record = os.path.join(tmp, "record")

        if folder is None:
            assert r.returncode == 1, f"exit {r.returncode}, expected 1"
            assert r.stderr.startswith("zorban: ") and len(r.stderr.strip()) > 20, f"message: {r.stderr!r}"
            assert not os.path.exists(record), "the game must not start"
            return
        assert r.returncode == 7, f"exit {r.returncode} (the game's is 7); stderr {r.stderr!r}"
        with open(record) as f:
            cwd, *passed = f.read().splitlines()
        assert os.path.realpath(cwd) == os.path.realpath(folder), f"the game ran in {cwd}"
        assert passed == ["one", "two words"], f"arguments {passed}"
        qa = os.path.join(folder, "QA")
        assert sorted(os.listdir(qa)) == sorted(BUNDLED), f"QA holds {os.listdir(qa)}"
        for base, data in BUNDLED.items():
            path = os.path.join(qa, base)
            if base in existing:
                if isinstance(existing[base], str):
                    assert os.path.islink(path) and not os.path.exists(path), f"{base} link replaced"
                else:
                    with open(path, "rb") as f:
                        assert f.read() == existing[base], f"{base} was overwritten"
            else:
                with open(path, "rb") as f:
                    assert f.read() == data, f"{base} copied wrong"
        assert r.stderr == "", f"unexpected message {r.stderr!r}"
    finally:
        shutil.rmtree(tmp, ignore_errors=True)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--launcher", required=True)
    ap.add_argument("--game-rel", required=True)
    ap.add_argument("--bases-rel", required=True)
    args = ap.parse_args()
    failed = 0
    for name, env_changes, existing, expected in CASES:
        try:
            run_case(name, env_changes, existing, expected, args)
            print(f"PASS  {name}")
        except AssertionError as e:
            failed += 1
            print(f"FAIL  {name}: {e}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
