#!/usr/bin/env python3
"""Extraction speed and memory of qdzip against unzip and bsdtar.

Two archives are made at run time under --work (never committed): one big
deflated entry (200 MiB), and 10,000 small files. Each is extracted by qdzip
(with flushing to disk, the archiver's default, and without it),
`unzip -o -qq` and `bsdtar -xf`, into a fresh folder each time, interleaved
by the shared harness. Ratios are peer time / qdzip time: above 1, qdzip is
faster.
"""

import os
import random
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402


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


def prepare(work, big_size, small_count):
    tag = '%d_%d' % (big_size, small_count)
    big_zip = os.path.join(work, 'big_%s.zip' % tag)
    small_zip = os.path.join(work, 'small_%s.zip' % tag)
    if not os.path.exists(big_zip):
        src = os.path.join(work, 'big_src')
        os.makedirs(src, exist_ok=True)
        make_big(os.path.join(src, 'big.txt'), big_size)
        subprocess.run(['zip', '-q', '-6', big_zip, 'big.txt'], cwd=src, check=True)
        shutil.rmtree(src)
    if not os.path.exists(small_zip):
        src = os.path.join(work, 'small_src')
        rnd = random.Random(11)
        for i in range(small_count):
            d = os.path.join(src, 'd%02d' % (i % 50))
            os.makedirs(d, exist_ok=True)
            with open(os.path.join(d, 'f%05d.txt' % i), 'wb') as f:
                f.write(bytes(rnd.choice(b'abcdefgh \n') for _ in range(rnd.randint(200, 4000))))
        subprocess.run(['zip', '-q', '-r', small_zip, '.'], cwd=src, check=True)
        shutil.rmtree(src)
    return big_zip, small_zip


def inflate_alone(archive):
    """Inflates the first entry's raw deflate data in memory with zlib and
    computes its CRC-32: the decoding work without any file output, the floor
    that an extractor cannot beat. Prints its own timing for the harness."""
    import time
    import zipfile
    import zlib
    with zipfile.ZipFile(archive) as z:
        info = z.infolist()[0]
    with open(archive, 'rb') as f:
        f.seek(info.header_offset + 26)
        n, m = int.from_bytes(f.read(2), 'little'), int.from_bytes(f.read(2), 'little')
        f.seek(info.header_offset + 30 + n + m)
        data = f.read(info.compress_size)
    start = time.perf_counter()
    d = zlib.decompressobj(-15)
    crc = 0
    for i in range(0, len(data), 1 << 20):
        crc = zlib.crc32(d.decompress(data[i:i + (1 << 20)]), crc)
    print('seconds=%f' % (time.perf_counter() - start))


def main():
    if len(sys.argv) == 3 and sys.argv[1] == '--inflate-alone':
        return inflate_alone(sys.argv[2])
    args = harness.parse_args(__doc__, lambda ap: ap.add_argument('--qdzip', required=True))
    harness.require('zip', 'unzip', 'bsdtar', '/usr/bin/time')
    qdzip = os.path.abspath(args.qdzip)
    big_size, small_count = ((1 << 20, 200) if args.smoke else (200 << 20, 10000))
    big_zip, small_zip = prepare(args.work, big_size, small_count)
    out = os.path.join(args.work, 'out')

    def fresh_out():
        shutil.rmtree(out, ignore_errors=True)
        os.makedirs(out)

    cases = (('one %d MiB deflated entry' % (big_size >> 20), big_zip, [], 'bsdtar -xf'),
             ('%d small files' % small_count, small_zip, ['-d'], 'unzip -o -qq'))
    for title, archive, opts, main_peer in cases:
        title += ' (%s, %.1f MiB)' % (os.path.basename(archive), os.path.getsize(archive) / 1048576)
        ours = harness.Command('qdzip (flush off)', [qdzip, 'x', '-n'] + opts + [archive, out],
                               fresh_out)
        peers = [harness.Command('qdzip (flush on)', [qdzip, 'x'] + opts + [archive, out], fresh_out),
                 harness.Command('unzip -o -qq', ['unzip', '-o', '-qq', archive, '-d', out],
                                 fresh_out),
                 harness.Command('bsdtar -xf', ['bsdtar', '-xf', archive, '-C', out], fresh_out)]
        if not opts:
            peers.append(harness.Command('zlib inflate alone (in memory)',
                                         [sys.executable, os.path.abspath(__file__),
                                          '--inflate-alone', archive]))
        results, ratios = harness.compare(title, ours, peers, args)
        peak = max(results[ours.name].peak_mib + results['qdzip (flush on)'].peak_mib)
        harness.goal(args, '%s / qdzip (flush off) >= 1' % main_peer, ratios[main_peer] >= 1)
        harness.goal(args, 'qdzip peak memory < 8 MiB (%.1f MiB)' % peak, peak < 8)
    shutil.rmtree(out, ignore_errors=True)


if __name__ == '__main__':
    main()
