#!/usr/bin/env python3
"""The desktop program touches nothing but its window: a whole session under strace -f.

    privacy.py PATH_TO_MOLE [--keep-trace FILE]

On an Xvfb of its own with a known picture on the root window, the game is started under
strace, the mission accepted, a few strikes made and the nuke chosen. Then:
- no file was opened for writing, created, renamed, removed or truncated, apart from the
  device and memory nodes listed in WRITABLE below, each with its reason;
- every socket is a local (AF_UNIX) one, and every connection goes to the X server or to a
  sound server; no network socket is even created;
- the root window is exactly as it was before the game started.
Exits 77 (skipped) when strace, Xvfb, xdotool or import is missing.
"""

import os
import re
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop_e2e as e2e  # noqa: E402
import xroot  # noqa: E402

SKIP = 77

# Paths a successful open may name with write access. Each is a place no file is written:
WRITABLE = [
    # The null device; libraries open it read-write to park file descriptors.
    (re.compile(r"^/dev/null$"), "the null device"),
    # ALSA's control and PCM devices, opened read-write by SDL's audio back end to play the
    # two sounds where there is a sound card and no sound server.
    (re.compile(r"^/dev/snd/"), "sound card devices (SDL audio through ALSA)"),
    (re.compile(r"^/dev/dsp\d*$"), "OSS sound device (SDL's fallback audio back end)"),
    # Shared memory that a sound client and its server exchange samples through; it lives in
    # memory and goes when the process ends.
    (re.compile(r"^/dev/shm/(pulse-shm-|sem\.)"), "sound server shared memory"),
]

# Directories (and the link between them) that the sound client library, libpulse under
# SDL, makes for its own bookkeeping when no sound server has made them yet: its per-user
# configuration folder (and ~/.config above it when there is none yet) and its runtime
# folder. No file is written into them.
SOUND_BOOKKEEPING = re.compile(
    r"(^|/)(\.config(/pulse(/[0-9a-f]+-runtime)?)?|pulse(-[A-Za-z0-9]+)?)$")

# The sound servers a client may connect to, by the socket path's last parts.
SOUND_SOCKETS = re.compile(r"/(pulse(-[A-Za-z0-9]+)?/native|pipewire-\d+|esound|audio\.sock)$")
X_SOCKETS = re.compile(r"^@?/tmp/\.X11-unix/X\d+$")

WRITE_FLAGS = ("O_WRONLY", "O_RDWR", "O_CREAT", "O_TRUNC", "O_APPEND")
TRACED = ("open,openat,openat2,creat,truncate,rename,renameat,renameat2,unlink,unlinkat,"
          "mkdir,mkdirat,link,linkat,symlink,symlinkat,socket,connect,bind")

# One traced call: "PID name(args) = result"; strace -f prefixes every line with the pid.
CALL = re.compile(r"^(\d+)\s+(\w+)\((.*)\)\s+=\s+(-?\d+|\?)(.*)$")


class Failure(Exception):
    pass


def session(desktop, program, trace_path, home):
    # A home folder never used before, so that what the program and its libraries would do
    # on a first run shows, whatever earlier runs left behind.
    env = dict(desktop.env, HOME=home)
    game = subprocess.Popen(
        ["strace", "-f", "-qq", "-s", "256", "-e", "trace=" + TRACED, "-o", trace_path,
         program],
        env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    try:
        intro = desktop.wait_window("緊急事態発生", timeout=30)
        desktop.press(intro, "Return")  # はい
        briefing = desktop.wait_window("ブリーフィング")
        desktop.press(briefing, "Return")
        desktop.wait_gone("ブリーフィング")
        time.sleep(1.0)
        # Strikes all over the screen: swing sounds, perhaps a hit.
        for x, y in ((100, 100), (640, 400), (1200, 700), (300, 650), (900, 150)):
            desktop.run("xdotool", "mousemove", str(x), str(y), "click", "1")
            time.sleep(0.1)
        desktop.run("xdotool", "mousemove", "20", "20", "click", "3")
        nuke = desktop.wait_window("禁断の選択")
        desktop.press(nuke, "Return")  # はい
        ending = desktop.wait_window("悲劇的結末")
        desktop.press(ending, "Return")
        try:
            game.communicate(timeout=30)
        except subprocess.TimeoutExpired:
            raise Failure("the game did not exit after the nuke")
        if game.returncode != 0:
            raise Failure("exit status %d" % game.returncode)
    finally:
        if game.poll() is None:
            game.kill()
            game.communicate()


def path_of(args):
    m = re.search(r'"((?:[^"\\]|\\.)*)"', args)
    return m.group(1) if m else None


def check_trace(lines):
    """Returns the list of findings that break the rules, and a summary of what was seen."""
    bad, seen = [], {"opens for writing": [], "sockets": [], "connections": [],
                     "made by the sound library": []}
    for line in lines:
        m = CALL.match(line.strip())
        if not m:
            continue
        _pid, name, args, result, _rest = m.groups()
        ok = result != "?" and int(result) >= 0
        if name in ("open", "openat", "openat2", "creat"):
            writes = name == "creat" or any(flag in args for flag in WRITE_FLAGS)
            if not (ok and writes):
                continue  # reading, or an attempt that opened nothing
            path = path_of(args) or "?"
            reason = next((why for pattern, why in WRITABLE if pattern.search(path)), None)
            seen["opens for writing"].append("%s (%s)" % (path, reason or "NOT ALLOWED"))
            if reason is None:
                bad.append("opened for writing: " + line.strip())
        elif name in ("mkdir", "mkdirat", "symlink", "symlinkat"):
            if not ok:
                continue
            # symlink(target, linkpath): the new entry is the last path named.
            made = (re.findall(r'"((?:[^"\\]|\\.)*)"', args) or ["?"])[-1]
            if SOUND_BOOKKEEPING.search(made):
                seen["made by the sound library"].append(made)
            else:
                bad.append("changed the file system: " + line.strip())
        elif name in ("truncate", "rename", "renameat", "renameat2", "unlink", "unlinkat",
                      "link", "linkat"):
            if ok:
                bad.append("changed the file system: " + line.strip())
        elif name == "socket":
            family = args.split(",")[0].strip()
            seen["sockets"].append(family)
            if family not in ("AF_UNIX", "AF_LOCAL", "AF_NETLINK"):
                bad.append("network socket created: " + line.strip())
            elif family == "AF_NETLINK" and "NETLINK_ROUTE" not in args and \
                    "NETLINK_KOBJECT_UEVENT" not in args:
                bad.append("unexpected netlink socket: " + line.strip())
        elif name == "connect":
            if "sa_family=AF_UNIX" in args or "sa_family=AF_LOCAL" in args:
                path = path_of(args) or ""
                if X_SOCKETS.search(path):
                    kind = "X server"
                elif SOUND_SOCKETS.search(path):
                    kind = "sound server"
                else:
                    kind = None
                seen["connections"].append("%s %s%s" % (
                    path, kind or "NOT ALLOWED", "" if ok else " (refused)"))
                if kind is None and ok:
                    bad.append("connected to a local socket that is neither the X server nor "
                               "a sound server: " + line.strip())
            else:
                seen["connections"].append(args)
                bad.append("network connection: " + line.strip())
        elif name == "bind":
            if ok:
                bad.append("bound a socket: " + line.strip())
    return bad, seen


def check_the_checker():
    """Each kind of breach, in strace's own spelling, must be caught; the allowed calls not."""
    breaches = [
        '7 openat(AT_FDCWD, "/root/.cache/x", O_WRONLY|O_CREAT|O_TRUNC, 0666) = 4',
        '7 openat(AT_FDCWD, "/tmp/log", O_RDWR|O_APPEND) = 4',
        '7 creat("/tmp/y", 0644) = 4',
        '7 socket(AF_INET, SOCK_STREAM, IPPROTO_TCP) = 5',
        '7 socket(AF_INET6, SOCK_DGRAM, 0) = 5',
        '7 connect(5, {sa_family=AF_UNIX, sun_path="/run/user/0/bus"}, 110) = 0',
        '7 connect(5, {sa_family=AF_INET, sin_port=htons(53), sin_addr=inet_addr("1.1.1.1")}, '
        '16) = 0',
        '7 unlink("/root/notes.txt") = 0',
        '7 rename("/tmp/a", "/tmp/b") = 0',
        '7 mkdir("/root/.local/share/mole", 0700) = 0',
    ]
    allowed = [
        '7 openat(AT_FDCWD, "/usr/share/fonts/x.ttf", O_RDONLY|O_CLOEXEC) = 3',
        '7 openat(AT_FDCWD, "/root/.cache/x", O_WRONLY|O_CREAT, 0666) = -1 EACCES (Permission '
        'denied)',
        '7 openat(AT_FDCWD, "/dev/null", O_RDWR) = 9',
        '7 socket(AF_UNIX, SOCK_STREAM|SOCK_CLOEXEC, 0) = 3',
        '7 connect(3, {sa_family=AF_UNIX, sun_path=@"/tmp/.X11-unix/X5"}, 20) = 0',
        '7 connect(8, {sa_family=AF_UNIX, sun_path="/run/user/1000/pulse/native"}, 110) = 0',
        '7 mkdir("/home/u/.config/pulse", 0700) = 0',
    ]
    for line in breaches:
        if len(check_trace([line])[0]) != 1:
            raise Failure("the trace check misses: " + line)
    for line in allowed:
        if check_trace([line])[0]:
            raise Failure("the trace check wrongly rejects: " + line)


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    program = os.path.abspath(argv[1])
    keep = argv[argv.index("--keep-trace") + 1] if "--keep-trace" in argv else None
    for tool in ("strace", "Xvfb", "xdotool", "import"):
        if subprocess.run(["sh", "-c", "command -v " + tool], capture_output=True).returncode:
            print("skipped: %s is not installed" % tool)
            return SKIP
    try:
        check_the_checker()
    except Failure as failure:
        print("FAIL  %s" % failure)
        return 1
    known = e2e.pattern()
    with tempfile.TemporaryDirectory(prefix="mole-privacy-") as workdir:
        trace_path = keep or os.path.join(workdir, "trace")
        desktop = e2e.Desktop(workdir)
        try:
            xroot.set_root_picture(desktop.display, e2e.WIDTH, e2e.HEIGHT, known)
            before = desktop.screenshot()
            if before != known:
                raise Failure("the known picture did not reach the root window")
            home = os.path.join(workdir, "home")
            os.mkdir(home)
            session(desktop, program, trace_path, home)
            after = desktop.screenshot()
            if after != before:
                raise Failure("the root window changed: %d pixels differ" %
                              e2e.differing(before, after))
            with open(trace_path) as f:
                lines = f.readlines()
            bad, seen = check_trace(lines)
            for made in seen["made by the sound library"]:
                if made.startswith("/tmp/pulse-"):  # not ours to leave behind
                    try:
                        os.rmdir(made)
                    except OSError:
                        pass
            for what, items in seen.items():
                counted = {}
                for item in items:
                    counted[item] = counted.get(item, 0) + 1
                print("%s: %s" % (what, ", ".join(
                    "%s x%d" % (k, v) if v > 1 else k for k, v in sorted(counted.items()))
                    or "none"))
            if bad:
                raise Failure("\n  ".join(["%d breaches of privacy:" % len(bad)] + bad[:20]))
            print("ok    %d traced calls; the root window is unchanged" % len(lines))
        except (Failure, e2e.Failure) as failure:
            print("FAIL  %s" % failure)
            return 1
        finally:
            desktop.close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
