#!/usr/bin/env python3
"""Compiles assets/resources.rc with windres and checks the resources it holds: ids 101 to 106,
each of the type the Windows front end loads it as, with the committed files' bytes."""

import os
import struct
import subprocess
import sys

RT_CURSOR, RT_BITMAP, RT_ICON, RT_GROUP_CURSOR, RT_GROUP_ICON = 1, 2, 3, 12, 14


def read_id(data, at):
    """A resource type or name: 0xFFFF and a number, or a NUL-terminated UTF-16 string."""
    first, = struct.unpack_from('<H', data, at)
    if first == 0xFFFF:
        return struct.unpack_from('<H', data, at + 2)[0], at + 4
    end = at
    while struct.unpack_from('<H', data, end)[0]:
        end += 2
    return data[at:end].decode('utf-16-le'), end + 2


def resources(data):
    out = {}
    at = 0
    while at < len(data):
        size, header = struct.unpack_from('<II', data, at)
        kind, p = read_id(data, at + 8)
        name, p = read_id(data, p)
        body = data[at + header:at + header + size]
        if size:
            out[(kind, name)] = body
        at += header + size
        at += (-at) % 4
    return out


def main():
    windres, rc, res = sys.argv[1:4]
    subprocess.run([windres, rc, '-O', 'res', '-o', res], check=True)
    with open(res, 'rb') as f:
        found = resources(f.read())
    folder = os.path.dirname(rc)
    read = lambda name: open(os.path.join(folder, name), 'rb').read()
    expected = {
        (RT_BITMAP, 101): read('sprites.bmp')[14:],  # stored without its file header
        ('WAVE', 105): read('swing.wav'),
        ('WAVE', 106): read('hit.wav'),
    }
    failures = []
    for key, body in expected.items():
        if found.get(key) != body:
            failures.append('resource %r missing or not the committed file' % (key,))
    for kind, ident in [(RT_GROUP_ICON, 102), (RT_GROUP_CURSOR, 103), (RT_GROUP_CURSOR, 104)]:
        if (kind, ident) not in found:
            failures.append('resource %d of type %d missing' % (ident, kind))
    icons = sum(1 for (kind, _) in found if kind == RT_ICON)
    cursors = sum(1 for (kind, _) in found if kind == RT_CURSOR)
    if icons != 2 or cursors != 2:
        failures.append('%d icon images and %d cursor images, expected 2 and 2' % (icons, cursors))
    if (RT_GROUP_ICON, 102) in found:
        count, = struct.unpack_from('<H', found[(RT_GROUP_ICON, 102)], 4)
        if count != 2:
            failures.append('icon group 102 holds %d images, expected 2' % count)
    for line in failures:
        print(line)
    if failures:
        sys.exit(1)
    print('resources: ' + ', '.join('%s %s' % key for key in sorted(found, key=str)))


if __name__ == '__main__':
    main()
