#!/usr/bin/env python3
"""Extraction speed and memory of qdzip against unzip and bsdtar.

Two archives are made at run time under --work (never committed): one entry
of 200 MiB deflated, and 10,000 small files. Each is extracted by
qdzip (with flushing to disk, the archiver's default, and without it),
`unzip -o -qq` and `bsdtar -xf`, into a fresh folder each time; the best of
--runs wall-clock times counts. The ratios are peer time / qdzip time, so a
ratio above 1 means qdzip is faster. Peak memory is the child's maximum
resident set size.
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import time
import zipfile
import zlib


def make_big(path, size):
    # Text-like data that deflates to about a third: words drawn from a small
    # vocabulary, with numbers.
    rnd = random.Random(7)
    words = [''.join(rnd.choice('abcdefghijklmnopqrstuvwxyz') for _ in range(rnd.randint(2, 9)))
             for _ in range(5000)]
    with open(path, 'w') as f:
        written = 0
        while written < size:
            line = ' '.join(rnd.choice(words) for _ in range(12)) + ' %d\n' % rnd.randint(0, 10**9)
            f.write(line)
            written += len(line)


def prepare(work):
    os.makedirs(work, exist_ok=True)
    big_zip = os.path.join(work, 'big.zip')
    small_zip = os.path.join(work, 'small.zip')
    if not os.path.exists(big_zip):
        src = os.path.join(work, 'big_src')
        os.makedirs(src, exist_ok=True)
        make_big(os.path.join(src, 'big.txt'), 200 << 20)
        subprocess.run(['zip', '-q', '-6', big_zip, 'big.txt'], cwd=src, check=True)
        shutil.rmtree(src)
    if not os.path.exists(small_zip):
        src = os.path.join(work, 'small_src')
        rnd = random.Random(11)
        for i in range(10000):
            d = os.path.join(src, 'd%02d' % (i % 50))
            os.makedirs(d, exist_ok=True)
            with open(os.path.join(d, 'f%05d.txt' % i), 'wb') as f:
                f.write(bytes(rnd.choice(b'abcdefgh \n') for _ in range(rnd.randint(200, 4000))))
        subprocess.run(['zip', '-q', '-r', small_zip, '.'], cwd=src, check=True)
        shutil.rmtree(src)
    return big_zip, small_zip


def run_once(argv, out, rss_file):
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(out)
    subprocess.run(['sync'])
    # GNU time reports the program's own peak: a child forked straight from
    # this interpreter would carry the interpreter's peak into its figure.
    start = time.perf_counter()
    proc = subprocess.run(['/usr/bin/time', '-f', '%M', '-o', rss_file] + argv,
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - start
    if proc.returncode != 0:
        sys.exit('%s failed (%d): %s' % (' '.join(argv), proc.returncode,
                                         proc.stderr.decode(errors='replace')))
    with open(rss_file) as f:
        return elapsed, int(f.read().split()[-1]) / 1024.0


def measure(name, argv, out, runs):
    best, peak = None, 0.0
    for _ in range(runs):
        t, rss = run_once(argv, out, out + '.rss')
        best = t if best is None else min(best, t)
        peak = max(peak, rss)
    shutil.rmtree(out, ignore_errors=True)
    print('  %-22s %8.3f s   peak %6.1f MiB' % (name, best, peak))
    return best, peak


def zlib_alone(archive, runs):
    """Inflates the first entry's raw deflate data in memory with zlib and
    computes its CRC-32: the decoding work without any file output."""
    with zipfile.ZipFile(archive) as z:
        info = z.infolist()[0]
    with open(archive, 'rb') as f:
        f.seek(info.header_offset + 26)
        n, m = int.from_bytes(f.read(2), 'little'), int.from_bytes(f.read(2), 'little')
        f.seek(info.header_offset + 30 + n + m)
        data = f.read(info.compress_size)
    best = None
    for _ in range(runs):
        start = time.perf_counter()
        d = zlib.decompressobj(-15)
        crc = 0
        for i in range(0, len(data), 1 << 20):
            out = d.decompress(data[i:i + (1 << 20)])
            crc = zlib.crc32(out, crc)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    print('  %-22s %8.3f s   (in memory, no output file)' % ('zlib inflate alone', best))
    return best


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument('--qdzip', required=True)
    ap.add_argument('--work', default='/tmp/qd_zip_bench')
    ap.add_argument('--runs', type=int, default=3)
    args = ap.parse_args()
    args.work = os.path.abspath(args.work)
    args.qdzip = os.path.abspath(args.qdzip)
    for tool in ('zip', 'unzip', 'bsdtar', '/usr/bin/time'):
        if not shutil.which(tool):
            sys.exit('%s is not installed (Debian: zip, unzip, libarchive-tools, time)' % tool)
    big_zip, small_zip = prepare(args.work)
    out = os.path.join(args.work, 'out')
    goals = []
    for title, archive, flat in (('one 200 MiB deflated entry', big_zip, True),
                                 ('10,000 small files', small_zip, False)):
        print('%s (%s, %.1f MiB):' % (title, os.path.basename(archive),
                                       os.path.getsize(archive) / 1048576))
        d = [] if flat else ['-d']
        flush, flush_rss = measure('qdzip (flush on)', [args.qdzip, 'x'] + d + [archive, out], out,
                                   args.runs)
        nof, nof_rss = measure('qdzip (flush off)', [args.qdzip, 'x', '-n'] + d + [archive, out],
                               out, args.runs)
        if flat:
            alone = zlib_alone(archive, args.runs)
        unz, _ = measure('unzip -o -qq', ['unzip', '-o', '-qq', archive, '-d', out], out, args.runs)
        bsd, _ = measure('bsdtar -xf', ['bsdtar', '-xf', archive, '-C', out], out, args.runs)
        for label, t in (('flush on', flush), ('flush off', nof)):
            print('  ratio (%s): unzip/qdzip %.2f   bsdtar/qdzip %.2f' % (label, unz / t, bsd / t))
        if flat:
            print('  ratio (flush off): zlib alone/qdzip %.2f' % (alone / nof))
        peer = bsd if flat else unz
        goals.append((title, 'bsdtar' if flat else 'unzip', peer / nof, max(flush_rss, nof_rss)))
    print('goals (flush off): speed ratio >= 1 against the named peer, peak memory < 8 MiB')
    for title, peer, ratio, rss in goals:
        print('  %-28s %s/qdzip %.2f %s   peak %.1f MiB %s' % (
            title, peer, ratio, 'met' if ratio >= 1 else 'NOT met', rss,
            'met' if rss < 8 else 'NOT met'))


if __name__ == '__main__':
    main()
