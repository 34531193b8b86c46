"""The test base the end-to-end tests play on, and a reader for what the
game writes back: line 1, the leaderboard, the games count and the levels."""

SEP = b"\x13"
LEVELS = 15
PER_LEVEL = 12


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
