#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Run by hand, not by CTest (some minutes): damage after a clean close, the file's times put
# back. FLIPS single-bit flips anywhere in morvak.db and ZEROS zeroed pages, each on a fresh copy
# of a dictionary of 5 020 records (an import and 20 puts); then every reader (get, lookup, list,
# count, export, reverse) and a writer (put), each with a time limit, then repair. Counts hangs,
# partial reads reported as success, and acknowledged records missing after the repair.
# Usage: SEED=11 tests/stress/damage-attack.py build/src/cli/dict/vantro-dict [FLIPS [ZEROS]]
import os, random, shutil, subprocess, sys, tempfile

TOOL = os.path.abspath(sys.argv[1])
FLIPS = int(sys.argv[2]) if len(sys.argv) > 2 else 300
ZEROS = int(sys.argv[3]) if len(sys.argv) > 3 else 50
TIMEOUT = 20
rng = random.Random(int(os.environ.get('SEED', '11')))

def run(d, *args):
    try:
        p = subprocess.run([TOOL, *args], cwd=d, capture_output=True, timeout=TIMEOUT)
        return p.returncode, p.stdout, p.stderr
    except subprocess.TimeoutExpired:
        return None, b'', b''

def dump(path):
    out = subprocess.run(['db5.3_dump', '-p', path], capture_output=True).stdout.split(b'\n')
    i = out.index(b'HEADER=END') + 1
    rows = []
    while out[i] != b'DATA=END':
        rows.append((out[i][1:], out[i + 1][1:])); i += 2
    return dict(rows)

base = tempfile.mkdtemp(prefix='attack-base-')
with open(os.path.join(base, 'in.tsv'), 'w') as f:
    for i in range(5000):
        f.write('word%05d\tartha%d\n' % (i, i))
assert run(base, 'import', 'in.tsv')[0] == 0
for i in range(20):
    assert run(base, 'put', 'late%02d' % i, 'paScAt')[0] == 0
model = dump(os.path.join(base, 'morvak.db'))
size = os.path.getsize(os.path.join(base, 'morvak.db'))
pages = size // 4096
print('base: %d records, %d pages' % (len(model), pages), flush=True)

stats = dict(trials=0, hangs=0, partial=0, lost=0, trials_losing=0, writer_failed=0,
             repair_failed=0, readers_failed=0)
expected_list = b''.join(k + b'\t' + v + b'\n' for k, v in sorted(model.items()))

def damage(path, kind):
    st = os.stat(path)
    with open(path, 'r+b') as f:
        if kind == 'flip':
            at = rng.randrange(size)
            f.seek(at); b = f.read(1); f.seek(at); f.write(bytes([b[0] ^ (1 << rng.randrange(8))]))
        else:
            at = rng.randrange(1, pages) * 4096
            f.seek(at); f.write(b'\0' * 4096)
    os.utime(path, ns=(st.st_atime_ns, st.st_mtime_ns))
    return at

for kind, count in (('flip', FLIPS), ('zero', ZEROS)):
    for t in range(count):
        d = tempfile.mkdtemp(prefix='attack-')
        for name in ('morvak.db', 'morvak.db-journal', 'morvak.db.bak'):
            shutil.copy2(os.path.join(base, name), d)
        at = damage(os.path.join(d, 'morvak.db'), kind)
        stats['trials'] += 1
        w = 'word%05d' % rng.randrange(5000)
        checks = [
            (('get', w), lambda o: o.startswith(w.encode() + b'\t' + model[w.encode()])),
            (('lookup', w), lambda o: o.startswith(w.encode() + b'\t')),
            (('list',), lambda o: o == expected_list),
            (('count',), lambda o: o.strip() == str(len(model)).encode()),
            (('export', 'out.tsv'), lambda o: True),
            (('reverse', 'artha4321'), lambda o: o.startswith(b'word04321')),
        ]
        for args, good in checks:
            code, out, err = run(d, *args)
            if code is None:
                stats['hangs'] += 1; print('HANG', kind, at, args, flush=True)
            elif code == 0:
                ok = good(out)
                if args[0] == 'export':
                    with open(os.path.join(d, 'out.tsv'), 'rb') as f:
                        ok = len(f.read().splitlines()) == len(model)
                if not ok:
                    stats['partial'] += 1; print('PARTIAL', kind, at, args, out[:80], flush=True)
            else:
                stats['readers_failed'] += 1
        expected = dict(model)
        code, out, err = run(d, 'put', 'zzwriter', 'lekhakaH')
        if code is None:
            stats['hangs'] += 1; print('HANG put', kind, at, flush=True)
        elif code == 0:
            expected[b'zzwriter'] = b'lekhakaH'
        else:
            stats['writer_failed'] += 1
        code, out, err = run(d, 'repair')
        if code is None:
            stats['hangs'] += 1; print('HANG repair', kind, at, flush=True)
        elif code != 0:
            stats['repair_failed'] += 1; print('REPAIR FAILED', kind, at, err[:200], flush=True)
        got = dump(os.path.join(d, 'morvak.db'))
        lost = sum(1 for k, v in expected.items() if got.get(k) != v)
        if lost:
            stats['lost'] += lost; stats['trials_losing'] += 1
            print('LOST', lost, kind, at, err[-300:], flush=True)
        shutil.rmtree(d)
print(stats)
shutil.rmtree(base)
