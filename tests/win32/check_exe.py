#!/usr/bin/env python3
"""Checks a built mole.exe: a 64-bit GUI program that needs no DLL beyond Windows' own and
carries the game's resources 101 to 106, a version block and exactly one manifest.

    check_exe.py path/to/mole.exe [--objdump x86_64-w64-mingw32-objdump]
"""
import argparse
import re
import struct
import subprocess
import sys

# Windows' own DLLs the program may import; msvcrt.dll is the C runtime Windows ships.
ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "winmm.dll", "msvcrt.dll"}

RT_CURSOR, RT_BITMAP, RT_ICON = 1, 2, 3
RT_GROUP_CURSOR, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 12, 14, 16, 24


class PeImage:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from(
            "<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        if magic != 0x20B:
            raise ValueError("not a PE32+ (64-bit) image")
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = optional + 112
        self.resource_rva, self.resource_size = struct.unpack_from("<II", data, directories + 16)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, vaddr, rawsize, rawptr = struct.unpack_from(
                "<8sIIII", data, table + 40 * i)
            self.sections.append((vaddr, max(vsize, rawsize), rawptr))

    def offset(self, rva):
        for vaddr, size, rawptr in self.sections:
            if vaddr <= rva < vaddr + size:
                return rawptr + rva - vaddr
        raise ValueError(f"RVA {rva:#x} lies in no section")

    def resources(self):
        """{type: {name: {language: bytes}}}; ids as ints, names as str."""
        if self.resource_rva == 0:
            return {}
        base = self.offset(self.resource_rva)

        def directory(off):
            named, ids = struct.unpack_from("<HH", self.data, base + off + 12)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", self.data, base + off + 16 + 8 * i)
                if key & 0x80000000:
                    at = base + (key & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    key = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield key, target

        def leaf(target):
            rva, size, _, _ = struct.unpack_from("<IIII", self.data, base + target)
            start = self.offset(rva)
            return self.data[start:start + size]

        tree = {}
        for rtype, t in directory(0):
            names = tree.setdefault(rtype, {})
            for rname, n in directory(t & 0x7FFFFFFF):
                languages = names.setdefault(rname, {})
                for language, l in directory(n & 0x7FFFFFFF):
                    languages[language] = leaf(l)
        return tree


def imported_dlls(objdump, exe):
    out = subprocess.run([objdump, "-p", exe], check=True, capture_output=True, text=True).stdout
    return sorted(set(re.findall(r"DLL Name:\s*(\S+)", out)))


def check(exe, objdump):
    problems = []
    dlls = imported_dlls(objdump, exe)
    print("imports:", ", ".join(dlls))
    foreign = [d for d in dlls if d.lower() not in ALLOWED_DLLS]
    if foreign:
        problems.append(f"imports DLLs that Windows does not ship: {', '.join(foreign)}")
    for required in ("user32.dll", "gdi32.dll", "winmm.dll"):
        if required not in (d.lower() for d in dlls):
            problems.append(f"does not import {required}")

    with open(exe, "rb") as f:
        image = PeImage(f.read())
    if image.machine != 0x8664:
        problems.append(f"machine {image.machine:#x}, expected x86-64")
    if image.subsystem != 2:
        problems.append(f"subsystem {image.subsystem}, expected Windows GUI (2)")

    tree = image.resources()

    def one(rtype, rname, label):
        entries = tree.get(rtype, {}).get(rname, {})
        if len(entries) != 1:
            problems.append(f"{label}: {len(entries)} entries, expected 1")
            return b""
        return next(iter(entries.values()))

    bitmap = one(RT_BITMAP, 101, "bitmap 101")
    if bitmap:
        size, width, height, _, bits = struct.unpack_from("<IiiHH", bitmap, 0)
        if (size, width, abs(height), bits) != (40, 1024, 64, 8):
            problems.append(f"bitmap 101 is {width}x{height}, {bits} bpp (header {size})")
    group = one(RT_GROUP_ICON, 102, "icon group 102")
    if group:
        count = struct.unpack_from("<H", group, 4)[0]
        for i in range(count):
            icon_id = struct.unpack_from("<H", group, 6 + 14 * i + 12)[0]
            if icon_id not in tree.get(RT_ICON, {}):
                problems.append(f"icon group 102 names icon {icon_id}, which is missing")
    for cursor in (103, 104):
        one(RT_GROUP_CURSOR, cursor, f"cursor {cursor}")
    for sound in (105, 106):
        wave = one("WAVE", sound, f"sound {sound}")
        if wave and (wave[:4] != b"RIFF" or wave[8:12] != b"WAVE"):
            problems.append(f"sound {sound} is not a RIFF WAVE")
    one(RT_VERSION, 1, "version block")

    manifests = [(name, lang) for name, langs in tree.get(RT_MANIFEST, {}).items()
                 for lang in langs]
    if len(manifests) != 1 or manifests[0][0] != 1:
        problems.append(f"manifests {manifests}, expected exactly one with id 1")
    else:
        text = one(RT_MANIFEST, 1, "manifest").decode("utf-8", "replace")
        for needle in ("PerMonitorV2", "true/pm", "Microsoft.Windows.Common-Controls"):
            if needle not in text:
                problems.append(f"manifest lacks {needle}")

    print("resources:", ", ".join(
        f"{t}: {sorted(map(str, names))}" for t, names in sorted(tree.items(), key=str)))
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    parser.add_argument("--objdump", default="x86_64-w64-mingw32-objdump")
    args = parser.parse_args()
    try:
        problems = check(args.exe, args.objdump)
    except (OSError, ValueError, struct.error, subprocess.CalledProcessError) as e:
        problems = [f"cannot read {args.exe}: {e}"]
    for p in problems:
        print("FAIL:", p, file=sys.stderr)
    print("mole.exe check:", "failed" if problems else "ok")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
