#!/usr/bin/env python3
"""Verification of a signed update set against `openssl dgst -sha256`.

A throw-away P-256 key pair and a set of a 20 MiB package (random bytes)
and a small update list are made at run time under --work (never
committed) and signed with `qdsign make`. Then `qdsign verify` (the
signature over the manifest, the manifest's form, the size and SHA-256 of
both files, all through the platform's libcrypto) runs interleaved with
`openssl dgst -sha256` of the package alone. The ratio is openssl's time /
ours: the goal is that ours takes at most 1.1 times as long, a ratio of at
least 1 / 1.1.
"""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402


def prepare(work, size):
    folder = os.path.join(work, 'set_%d' % size)
    key = os.path.join(work, 'key.pem')
    pub = os.path.join(work, 'pub.pem')
    if not os.path.exists(pub):
        subprocess.run(['openssl', 'ecparam', '-name', 'prime256v1', '-genkey', '-noout',
                        '-out', key], check=True)
        subprocess.run(['openssl', 'ec', '-in', key, '-pubout', '-out', pub], check=True,
                       stderr=subprocess.DEVNULL)
    os.makedirs(folder, exist_ok=True)
    package = os.path.join(folder, 'qd.zip')
    if not os.path.exists(package) or os.path.getsize(package) != size:
        with open(package, 'wb') as f:
            f.write(os.urandom(size))
        with open(os.path.join(folder, 'newupd.dat'), 'wb') as f:
            f.write(b'upd-2026-12-11\r\n#\r\n#\r\nusual#11.12.2026#bench\r\n')
    return folder, key, pub


def main():
    args = harness.parse_args(__doc__, lambda ap: ap.add_argument('--qdsign', required=True))
    harness.require('openssl', '/usr/bin/time')
    size = 64 * 1024 if args.smoke else 20 * 1024 * 1024
    folder, key, pub = prepare(args.work, size)
    subprocess.run([args.qdsign, 'make', '--serial', '1', '--key', key, folder], check=True,
                   stdout=subprocess.DEVNULL)
    package = os.path.join(folder, 'qd.zip')
    ours = harness.Command('qdsign verify', [args.qdsign, 'verify', '--pub', pub, folder])
    peer = harness.Command('openssl dgst -sha256', ['openssl', 'dgst', '-sha256', package])
    _, ratios = harness.compare('verification of a %d-byte package' % size, ours, [peer], args)
    ratio = ratios[peer.name]
    harness.goal(args, 'qdsign verify <= 1.1 x openssl dgst -sha256 (ratio %.2f >= %.2f)' %
                 (ratio, 1 / 1.1), ratio >= 1 / 1.1)


if __name__ == '__main__':
    main()
