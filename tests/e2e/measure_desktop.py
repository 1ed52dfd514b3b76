#!/usr/bin/env python3
"""How much the desktop program costs while playing, on an Xvfb of the given size.

    measure_desktop.py PATH_TO_MOLE [WIDTHxHEIGHT] [SECONDS]

Prints the time from the game's window appearing to the emergency dialog appearing (both as
the X server maps them), the process's own CPU time over SECONDS of play as a share of one
core, and its memory. Needs Xvfb, xdotool and xev.
"""

import os
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop_e2e  # noqa: E402


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    ticks = os.sysconf("SC_CLK_TCK")
    return (int(fields[11]) + int(fields[12])) / ticks  # utime + stime, all threads


def memory(pid):
    values = {}
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            key, _, rest = line.partition(":")
            if key in ("VmRSS", "VmHWM"):
                values[key] = int(rest.split()[0]) // 1024
    return values


def main(argv):
    program = os.path.abspath(argv[1])
    size = argv[2] if len(argv) > 2 else "1920x1080"
    seconds = float(argv[3]) if len(argv) > 3 else 10.0
    desktop_e2e.WIDTH, desktop_e2e.HEIGHT = (int(v) for v in size.split("x"))
    desktop = desktop_e2e.Desktop("/tmp")
    try:
        # Every window mapped on the screen, with the moment it was reported.
        maps = []
        xev = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                               env=desktop.env, stdout=subprocess.PIPE, text=True)

        def watch():
            for line in xev.stdout:
                if line.startswith("MapNotify"):
                    maps.append(time.monotonic())

        threading.Thread(target=watch, daemon=True).start()
        time.sleep(0.5)
        started = time.monotonic()
        game = desktop_e2e.Game(desktop, program)
        intro = desktop.wait_window("緊急事態発生")
        time.sleep(0.2)
        xev.terminate()
        if len(maps) < 2:
            raise SystemExit("could not see the windows appear")
        print("window appears %.0f ms after start; emergency dialog %.0f ms after the window"
              % ((maps[0] - started) * 1000, (maps[1] - maps[0]) * 1000))
        desktop.press(intro, "Return")
        desktop.press(desktop.wait_window("ブリーフィング"), "Return")
        desktop.wait_gone("ブリーフィング")
        time.sleep(1.0)
        pid = game.process.pid
        before, t0 = cpu_seconds(pid), time.monotonic()
        time.sleep(seconds)
        used, elapsed = cpu_seconds(pid) - before, time.monotonic() - t0
        mem = memory(pid)
        print("playing at %s: %.2f s of CPU in %.1f s = %.2f%% of one core" %
              (size, used, elapsed, 100 * used / elapsed))
        print("memory: resident %d MiB, peak %d MiB" % (mem["VmRSS"], mem["VmHWM"]))
        game.kill()
    finally:
        desktop.close()


if __name__ == "__main__":
    main(sys.argv)
