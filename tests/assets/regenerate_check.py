#!/usr/bin/env python3
"""Regenerates every asset into a temporary folder and fails if any byte differs from the
committed files, so the generator and assets/ cannot drift apart."""

import os
import subprocess
import sys
import tempfile

root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                       os.path.join(os.path.dirname(__file__), '..', '..'))
committed = os.path.join(root, 'assets')
with tempfile.TemporaryDirectory() as out:
    subprocess.run([sys.executable, os.path.join(root, 'tools', 'assetgen', 'assetgen.py'), out],
                   check=True)
    made = sorted(os.listdir(out))
    failures = []
    for name in made:
        with open(os.path.join(out, name), 'rb') as f:
            fresh = f.read()
        path = os.path.join(committed, name)
        if not os.path.exists(path):
            failures.append('%s: generated but not committed' % name)
            continue
        with open(path, 'rb') as f:
            old = f.read()
        if fresh != old:
            at = next((i for i, (a, b) in enumerate(zip(fresh, old)) if a != b),
                      min(len(fresh), len(old)))
            failures.append('%s: differs from byte %d (%d bytes generated, %d committed)' %
                            (name, at, len(fresh), len(old)))
    for line in failures:
        print(line)
    if failures:
        print('run: python3 tools/assetgen/assetgen.py assets')
        sys.exit(1)
    print('%d assets regenerate byte for byte: %s' % (len(made), ', '.join(made)))
