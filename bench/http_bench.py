#!/usr/bin/env python3
"""GetString of a big body (200 MiB) through qdget against curl, from nginx on
loopback, counted and chunked, and through squid with Basic authentication
against curl through the same squid. qdget keeps the whole body in memory, as
the updater does, then writes it to /dev/null. Two curl peers: one streams
the body to /dev/null, one keeps the whole body as qdget must, in a file on
tmpfs (/dev/shm, memory as well). Ratios are curl time / qdget time: above 1,
qdget is faster. Goals: qdget at least as fast as the peer that keeps the
body (ratio >= 1.0) and within 0.9 of the one that drops it, counted and
chunked; a peak of at most the body + 8 MiB."""

import os
import random
import shutil
import tempfile
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

SERVERS = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'support',
                       'servers')


def start(kind, folder, *extra):
    out = subprocess.run(['bash', os.path.join(SERVERS, 'start.sh'), kind, folder] + list(extra),
                         check=True, stdout=subprocess.PIPE, text=True).stdout
    return int(out.split()[-1])


def stop(folder):
    subprocess.run(['bash', os.path.join(SERVERS, 'stop.sh'), folder])


def make_body(path, size):
    # Random bytes: nothing on the way can shortcut them.
    rnd = random.Random(5)
    with open(path, 'wb') as f:
        left = size
        while left > 0:
            n = min(left, 1 << 20)
            f.write(rnd.randbytes(n))
            left -= n


def main():
    args = harness.parse_args(__doc__, lambda ap: ap.add_argument('--qdget', required=True))
    harness.require('nginx', 'squid', 'htpasswd', 'curl', '/usr/bin/time')
    qdget = os.path.abspath(args.qdget)
    size = (1 << 20) if args.smoke else (200 << 20)
    nginx_dir = os.path.join(args.work, 'nginx')
    squid_dir = os.path.join(args.work, 'squid')
    port = start('nginx', nginx_dir)
    proxy_port = None
    shm = tempfile.mkdtemp(prefix='qd_http_bench_', dir='/dev/shm')
    shm_file = os.path.join(shm, 'body.bin')
    try:
        make_body(os.path.join(nginx_dir, 'www', 'body.bin'), size)
        proxy_port = start('squid', squid_dir, 'bench', 'bench:pass')
        proxy = '127.0.0.1:%d' % proxy_port
        mib = size / 1048576.0
        cases = (('counted', '/body.bin', [], []),
                 ('chunked', '/chunked/body.bin', [], []),
                 ('through squid', '/body.bin', ['-x', proxy, '-U', 'bench:bench:pass'],
                  ['-x', 'http://' + proxy, '-U', 'bench:bench:pass']))
        for title, path, qd_opts, curl_opts in cases:
            url = 'http://127.0.0.1:%d%s' % (port, path)
            ours = harness.Command('qdget', [qdget] + qd_opts + [url], discard_output=True)
            curl = harness.Command('curl -o /dev/null',
                                   ['curl', '-sf', '-o', '/dev/null'] + curl_opts + [url])
            kept = harness.Command('curl -o tmpfs',
                                   ['curl', '-sf', '-o', shm_file] + curl_opts + [url],
                                   before=lambda: os.path.exists(shm_file) and os.remove(shm_file))
            results, ratios = harness.compare('%s, %.0f MiB' % (title, mib), ours, [curl, kept],
                                              args)
            peak = max(results['qdget'].peak_mib)
            if title != 'through squid':
                harness.goal(args, 'curl -o tmpfs / qdget >= 1.0', ratios['curl -o tmpfs'] >= 1.0)
                harness.goal(args, 'curl -o /dev/null / qdget >= 0.9',
                             ratios['curl -o /dev/null'] >= 0.9)
            harness.goal(args, 'qdget peak %.1f MiB <= body + 8 MiB' % peak, peak <= mib + 8)
    finally:
        shutil.rmtree(shm, ignore_errors=True)
        if proxy_port:
            stop(squid_dir)
        stop(nginx_dir)


if __name__ == '__main__':
    main()
