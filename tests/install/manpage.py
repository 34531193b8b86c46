#!/usr/bin/env python3
"""qabase(1) documents what the tool itself says it does: every command of
`qabase --help` with each of its options, and every exit code. The page is
read as man shows it (plain text), and man must have nothing to warn about.
"""
import os
import re
import subprocess
import sys


def rendered(page):
    env = dict(os.environ, MANWIDTH="200", LC_ALL="C.UTF-8")
    r = subprocess.run(["man", "--warnings", "-E", "UTF-8", "-l", page], env=env, capture_output=True, text=True)
    assert r.returncode == 0, f"man cannot show {page}: {r.stderr}"
    assert r.stderr.strip() == "", f"man warns about {page}: {r.stderr}"
    return re.sub(r".\x08", "", r.stdout).replace("\u2010", "-")


def section(text, name):
    m = re.search(rf"^{name}\n(.*?)(?=^[A-Z][A-Z ]+\n|\Z)", text, re.S | re.M)
    assert m, f"the page has no {name} section"
    return m.group(1)


def main(qabase, page):
    help_text = subprocess.run([qabase, "--help"], capture_output=True, text=True, check=True).stdout
    commands = re.findall(r"^  ([a-z]+) (.*?)\s{2,}", help_text, re.M)
    assert len(commands) >= 7, f"no command list in qabase --help: {help_text}"
    codes = re.findall(r"(\d) [a-z]", help_text.split("Exit codes:")[1])
    text = rendered(page)
    documented, options, exits = section(text, "COMMANDS"), section(text, "OPTIONS"), section(text, "EXIT STATUS")
    faults = []
    for name, usage in commands:
        if not re.search(rf"^\s+{name} ", documented, re.M):
            faults.append(f"command {name} is not described")
        for option in re.findall(r"(?<![\w-])(-{1,2}[a-z]+)", usage):
            if not re.search(rf"(?<![\w-]){option}(?![\w-])", options):
                faults.append(f"option {option} of {name} is not described")
    for code in codes:
        if not re.search(rf"^\s+{code}\s", exits, re.M):
            faults.append(f"exit code {code} is not described")
    for fault in faults:
        print(f"qabase(1): {fault}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
