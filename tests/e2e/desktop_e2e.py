#!/usr/bin/env python3
"""The desktop program end to end on a real X server.

    desktop_e2e.py PATH_TO_MOLE
    desktop_e2e.py --command COMMAND...   (e.g. --command make run, from the repository)

Starts its own Xvfb, puts a known picture on the root window, runs the game and drives it
with xdotool the way a user would, checking screenshots taken with ImageMagick's import.
Exits 77 (skipped) when Xvfb, xdotool or import is missing.
"""

import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xroot  # noqa: E402

WIDTH, HEIGHT = 1280, 800
CELL = 64
SKIP = 77


class Failure(Exception):
    pass


def pattern():
    """A picture with no two neighbouring pixels alike, so any shift or wrong copy shows."""
    rgb = bytearray(WIDTH * HEIGHT * 3)
    for y in range(HEIGHT):
        row = bytearray(WIDTH * 3)
        row[0::3] = bytes((x * 7 + y * 3) & 255 for x in range(WIDTH))
        row[1::3] = bytes(((x // 5) ^ (y // 5)) & 255 for x in range(WIDTH))
        row[2::3] = bytes((y * 11 + x // 64) & 255 for x in range(WIDTH))
        rgb[y * WIDTH * 3:(y + 1) * WIDTH * 3] = row
    return bytes(rgb)


class Desktop:
    """An Xvfb of its own (display number chosen by the server) and the tools that drive it."""

    def __init__(self, workdir):
        self.workdir = workdir
        read_fd, write_fd = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "%dx%dx24" % (WIDTH, HEIGHT),
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        number = b""
        with os.fdopen(read_fd, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    raise Failure("Xvfb did not start")
                number += chunk
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ, DISPLAY=self.display, LANG="C.UTF-8", LC_ALL="C.UTF-8")
        # No sound device here; the game must stay silent without complaint.
        self.env.pop("PULSE_SERVER", None)
        self.shots = 0

    def close(self):
        self.server.terminate()
        self.server.wait(timeout=10)

    def run(self, *args, check=True):
        result = subprocess.run(list(args), env=self.env, capture_output=True, text=True,
                                timeout=30)
        if check and result.returncode != 0:
            raise Failure("%s failed: %s" % (" ".join(args), result.stderr.strip()))
        return result.stdout

    def screenshot(self):
        """The root window as bytes R, G, B per pixel."""
        self.shots += 1
        path = os.path.join(self.workdir, "shot%03d.ppm" % self.shots)
        self.run("import", "-window", "root", "-depth", "8", path)
        with open(path, "rb") as f:
            data = f.read()
        header = b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT)
        if not data.startswith(header):
            raise Failure("unexpected screenshot format: %r" % data[:20])
        return data[len(header):]

    def find_window(self, name):
        out = self.run("xdotool", "search", "--onlyvisible", "--name", "^%s$" % name, check=False)
        ids = out.split()
        return ids[0] if ids else None

    def wait_window(self, name, timeout=15.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            window = self.find_window(name)
            if window:
                return window
            time.sleep(0.05)
        raise Failure("no window named %s within %.0f s" % (name, timeout))

    def wait_gone(self, name, timeout=10.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if not self.find_window(name):
                return
            time.sleep(0.05)
        raise Failure("window %s still there after %.0f s" % (name, timeout))

    def geometry(self, window):
        out = self.run("xdotool", "getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def press(self, window, *keys):
        """Types keys into a message box (there is no window manager to focus it)."""
        self.run("xdotool", "windowfocus", "--sync", window)
        for key in keys:
            self.run("xdotool", "key", key)


def differing(a, b, outside=None):
    """Pixels where a and b differ, optionally ignoring the rectangle `outside` (x, y, w, h)."""
    count = 0
    for y in range(HEIGHT):
        start = y * WIDTH * 3
        if a[start:start + WIDTH * 3] == b[start:start + WIDTH * 3]:
            continue
        for cx in range(0, WIDTH, CELL):
            s, e = start + cx * 3, start + (cx + CELL) * 3
            if a[s:e] == b[s:e]:
                continue
            for x in range(cx, cx + CELL):
                if outside and outside[0] <= x < outside[0] + outside[2] and \
                        outside[1] <= y < outside[1] + outside[3]:
                    continue
                if a[start + x * 3:start + x * 3 + 3] != b[start + x * 3:start + x * 3 + 3]:
                    count += 1
    return count


def changed_cells(a, b):
    """The 64 x 64 grid squares in which a and b differ."""
    cells = set()
    for y in range(HEIGHT):
        start = y * WIDTH * 3
        ra, rb = a[start:start + WIDTH * 3], b[start:start + WIDTH * 3]
        if ra == rb:
            continue
        for cx in range(0, WIDTH, CELL):
            if ra[cx * 3:(cx + CELL) * 3] != rb[cx * 3:(cx + CELL) * 3]:
                cells.add((cx // CELL, y // CELL))
    return cells


class Game:
    def __init__(self, desktop, program):
        self.desktop = desktop
        self.process = subprocess.Popen([program], env=desktop.env, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, text=True)

    def wait_exit(self, timeout=15.0):
        try:
            out, err = self.process.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.communicate()
            raise Failure("the game did not exit within %.0f s" % timeout)
        return self.process.returncode, out, err

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.communicate()


def wait_for(predicate, what, timeout=10.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.1)
    raise Failure("%s within %.0f s" % (what, timeout))


def check_quiet(err):
    # Nothing on stderr: no sound device is silence, not a complaint.
    if err.strip():
        raise Failure("the game printed: %s" % err.strip())


def play_and_nuke(desktop, program, known):
    game = Game(desktop, program)
    try:
        intro = desktop.wait_window("緊急事態発生")
        box = desktop.geometry(intro)
        shot = desktop.screenshot()
        outside = differing(shot, known, outside=box)
        if outside:
            raise Failure("%d pixels outside the emergency dialog differ from the desktop" % outside)
        if differing(shot, known) == 0:
            raise Failure("the emergency dialog is not on the screen")

        desktop.press(intro, "Return")  # はい, the default button
        briefing = desktop.wait_window("ブリーフィング")
        desktop.press(briefing, "Return")
        desktop.wait_gone("ブリーフィング")

        # Holes and moles: the picture changes, in mole-sized places, and keeps changing.
        first = wait_for(lambda: (lambda s: s if differing(s, known) > 500 else None)(
            desktop.screenshot()), "no holes or moles appear")
        time.sleep(0.5)
        second = desktop.screenshot()
        if not changed_cells(first, second):
            raise Failure("the moles do not move")

        # The raised hammer over the window; the struck one while the button is down.
        raised, struck = (32, 32, 6, 16), (32, 32, 29, 3)
        desktop.run("xdotool", "mousemove", "600", "10")
        wait_for(lambda: xroot.cursor_shape(desktop.display) == raised, "no raised hammer")
        desktop.run("xdotool", "mousedown", "1")
        wait_for(lambda: xroot.cursor_shape(desktop.display) == struck, "no struck hammer")
        desktop.run("xdotool", "mouseup", "1")
        wait_for(lambda: xroot.cursor_shape(desktop.display) == raised,
                 "the raised hammer does not come back on release")

        # Right click, No: play resumes.
        desktop.run("xdotool", "mousemove", "20", "20", "click", "3")
        nuke = desktop.wait_window("禁断の選択")
        paused = desktop.screenshot()
        time.sleep(0.3)
        if differing(paused, desktop.screenshot()):
            raise Failure("the moles move while the nuke question is open")
        desktop.press(nuke, "Tab", "Return")  # いいえ
        desktop.wait_gone("禁断の選択")
        resumed = desktop.screenshot()
        wait_for(lambda: changed_cells(resumed, desktop.screenshot()), "play does not resume")
        if game.process.poll() is not None:
            raise Failure("the game ended after answering No")

        # Right click, Yes: the ending, then a clean exit.
        desktop.run("xdotool", "mousemove", "20", "20", "click", "3")
        nuke = desktop.wait_window("禁断の選択")
        desktop.press(nuke, "Return")  # はい
        ending = desktop.wait_window("悲劇的結末")
        desktop.press(ending, "Return")
        status, _, err = game.wait_exit()
        if status != 0:
            raise Failure("exit status %d after the nuke" % status)
        check_quiet(err)
        if differing(desktop.screenshot(), known):
            raise Failure("the root window changed")
    finally:
        game.kill()


def decline(desktop, program, known):
    game = Game(desktop, program)
    try:
        intro = desktop.wait_window("緊急事態発生")
        desktop.press(intro, "Tab", "Return")  # いいえ
        retreat = desktop.wait_window("戦術的撤退")
        box = desktop.geometry(retreat)
        if differing(desktop.screenshot(), known, outside=box):
            raise Failure("a hole or a mole showed after declining")
        desktop.press(retreat, "Return")
        status, _, err = game.wait_exit()
        if status != 0:
            raise Failure("exit status %d after declining" % status)
        check_quiet(err)
        if differing(desktop.screenshot(), known):
            raise Failure("the root window changed")
    finally:
        game.kill()


def terminate_during_dialog(desktop, program, known):
    game = Game(desktop, program)
    try:
        desktop.wait_window("緊急事態発生")
        game.process.terminate()
        status, _, err = game.wait_exit()
        if status != 0:
            raise Failure("exit status %d after SIGTERM with a dialog open" % status)
        check_quiet(err)
    finally:
        game.kill()


def run_command(desktop, command, known):
    """The README's run command starts the game on the display it is given."""
    runner = subprocess.Popen(command, env=desktop.env, stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, text=True)
    try:
        # The command may have to build the program first.
        intro = desktop.wait_window("緊急事態発生", timeout=1200)
        box = desktop.geometry(intro)
        if differing(desktop.screenshot(), known, outside=box):
            raise Failure("the screen outside the emergency dialog is not the desktop")
        pid = int(desktop.run("xdotool", "getwindowpid", intro).strip())
        os.kill(pid, 15)
        out, _ = runner.communicate(timeout=30)
        if runner.returncode != 0:
            raise Failure("the command ended with %d: %s" % (runner.returncode, out[-2000:]))
    finally:
        if runner.poll() is None:
            runner.kill()
            runner.communicate()


def main(argv):
    if len(argv) < 2 or (argv[1] == "--command" and len(argv) < 3):
        print("usage: desktop_e2e.py PATH_TO_MOLE | --command COMMAND...", file=sys.stderr)
        return 2
    if argv[1] == "--command":
        command = argv[2:]
        tests = (lambda desktop, _program, known: run_command(desktop, command, known),)
        program = None
    else:
        program = os.path.abspath(argv[1])
        tests = (play_and_nuke, decline, terminate_during_dialog)
    for tool in ("Xvfb", "xdotool", "import"):
        if subprocess.run(["sh", "-c", "command -v " + tool], capture_output=True).returncode:
            print("skipped: %s is not installed" % tool)
            return SKIP
    known = pattern()
    failures = 0
    with tempfile.TemporaryDirectory(prefix="mole-e2e-") as workdir:
        desktop = Desktop(workdir)
        try:
            xroot.set_root_picture(desktop.display, WIDTH, HEIGHT, known)
            if desktop.screenshot() != known:
                raise Failure("the known picture did not reach the root window")
            for test in tests:
                name = test.__name__ if program else "run command: " + " ".join(argv[2:])
                started = time.monotonic()
                try:
                    test(desktop, program, known)
                    print("ok    %s (%.1f s)" % (name, time.monotonic() - started))
                except Failure as failure:
                    failures += 1
                    print("FAIL  %s: %s" % (name, failure))
        finally:
            desktop.close()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
