#!/usr/bin/env python3
"""Writes the hand-made seed inputs of the shell fuzzer into a folder (tests/fuzz/corpus):

    seeds.py FOLDER

Each seed is spelt in the harness's own terms (screen, snapshot, events) and encoded the
way FuzzedDataProvider reads it: integers are taken from the end of the input, most
significant byte first, in as few bytes as their range needs.
"""
import os
import sys


class Input:
    def __init__(self):
        self.taken = []  # bytes in the order the provider consumes them

    def integer(self, value, low, high):
        span = high - low
        v = value - low
        assert 0 <= v <= span
        count = 0
        while count < 8 and (span >> (8 * count)) > 0:
            count += 1
        self.taken += [(v >> (8 * (count - 1 - i))) & 0xFF for i in range(count)]

    def u8(self, v):
        self.integer(v, 0, 255)

    def u32(self, v):
        self.integer(v, 0, 2**32 - 1)

    def header(self, w, h, seed, near_caps=False, colours=(0x3A6EA5, 0xC0C0C0), block=16):
        for side in (w, h):
            big = side > 300
            self.u8(0 if big else 200)
            self.integer(side, 1, 4096 if big else 300)
        self.u8(100)  # a snapshot of the screen's size
        self.integer(len(colours), 1, 4)
        for c in colours:
            self.u32(c)
        self.integer(block, 1, 64)
        self.u32(seed)
        self.u8(1 if near_caps else 0)

    def ticks(self, n):
        self.integer(0, 0, 9)
        self.integer(n, 1, 64)

    def near_mole(self, k, dx, dy):
        self.integer(3, 0, 9)
        self.integer(k, 0, 19)
        self.integer(dx, -128, 127)
        self.integer(dy, -128, 127)

    def anywhere(self, x, y):
        self.integer(5, 0, 9)
        self.integer(x, -2**31, 2**31 - 1)
        self.integer(y, -2**31, 2**31 - 1)

    def right_click(self):
        self.integer(6, 0, 9)

    def answer(self, which):
        self.integer(7, 0, 9)
        self.integer(("Yes", "No", "Ok", "Close").index(which), 0, 3)

    def close(self):
        self.integer(9, 0, 9)
        self.u8(0)

    def data(self):
        return bytes(reversed(self.taken))


def seeds():
    out = {}

    # Three hits from the end: play, strike every mole now and then, the closing runs.
    s = Input()
    s.header(300, 240, 7, near_caps=True)
    s.ticks(40)
    for _ in range(40):
        s.ticks(3)
        for k in range(20):
            s.near_mole(k, 40, 0)
    out["mission-to-the-end"] = s.data()

    # A pause answered No, clicks at the ends of the range, a pause answered Yes.
    s = Input()
    s.header(200, 150, 99)
    s.ticks(20)
    s.answer("No")
    s.right_click()
    s.ticks(30)
    for x, y in ((-2**31, -2**31), (2**31 - 1, 2**31 - 1), (-1, 75), (200, 149), (0, -64)):
        s.anywhere(x, y)
    s.right_click()
    s.ticks(5)
    out["nuke-no-then-yes"] = s.data()

    # The window closed while the intro is open.
    s = Input()
    s.header(300, 64, 3)
    s.answer("Close")
    s.ticks(2)
    out["close-during-intro"] = s.data()

    # Declined.
    s = Input()
    s.header(65, 65, 11, colours=(0x000000,))
    s.answer("No")
    s.ticks(3)
    out["decline"] = s.data()

    # A screen of one pixel, and one of a single row: no room for any mole.
    for name, (w, h) in (("one-pixel", (1, 1)), ("one-row", (300, 1))):
        s = Input()
        s.header(w, h, 5)
        s.ticks(64)
        s.near_mole(0, 0, 0)
        s.right_click()
        s.close()
        out["screen-" + name] = s.data()

    # A large screen, a few ticks and strikes.
    s = Input()
    s.header(4096, 2304, 12345, colours=(0x102030, 0x405060, 0x708090, 0xA0B0C0), block=64)
    s.ticks(30)
    for k in range(20):
        s.near_mole(k, 30, 5)
    s.ticks(10)
    out["screen-large"] = s.data()
    return out


def main(argv):
    if len(argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    os.makedirs(argv[1], exist_ok=True)
    for name, data in seeds().items():
        with open(os.path.join(argv[1], "seed-" + name), "wb") as f:
            f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
