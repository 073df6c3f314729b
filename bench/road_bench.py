#!/usr/bin/env python3
"""The whole update road of the headless program against the same road done by
standard tools, both from Python's http.server on loopback.

Ours: qdupdate with QD_UI=headless, from start to exit: the package and the
list fetched, the package unpacked, the database installed into the sandbox's
system folder and the list's first line written as the registry value. The
peer: curl for both files, `unzip -o`, `cp` of the database to a temporary
name and `mv` over the installed one, the list's first line written as a
file. The package is a deflated qd.zip holding a qd.upd of random bytes:
430,000 bytes (the publisher's size) and 20 MiB. Ratios are peer time / our
time: above 1, ours is faster; the goals are ours <= 0.5 x the peer's time for
the small package and <= 0.75 x for the large one, that is ratios >= 2 and
>= 1.33.
"""

import os
import random
import shutil
import subprocess
import sys
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.join(HERE, '..')
SERVERS = os.path.join(SOURCE, 'tests', 'support', 'servers')

PEER_ROAD = r'''set -e
cd "$1"
rm -f qd.zip
curl -sf -o qd.zip "$2/qd.zip"
curl -sf -o newupd.dat "$2/newupd.dat"
unzip -o -qq qd.zip
cp qd.upd "$3/qdztempl.dll.tmp"
mv "$3/qdztempl.dll.tmp" "$3/qdztempl.dll"
head -n 1 newupd.dat | tr -d '\r\n' >"$4"
'''


def make_site(www, size):
    os.makedirs(www, exist_ok=True)
    rnd = random.Random(size)
    with zipfile.ZipFile(os.path.join(www, 'qd.zip'), 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('qd.upd', rnd.randbytes(size))
    subprocess.run(['bash', os.path.join(SOURCE, 'scripts', 'make_sample_server.sh'),
                    os.path.join(www, 'sample')], check=True)
    shutil.move(os.path.join(www, 'sample', 'newupd.dat'), os.path.join(www, 'newupd.dat'))
    shutil.rmtree(os.path.join(www, 'sample'))


def make_root(root):
    shutil.rmtree(root, ignore_errors=True)
    subprocess.run(['bash', os.path.join(SOURCE, 'scripts', 'make_sample_root.sh'), root],
                   check=True)
    os.makedirs(os.path.join(root, 'work'))


def check_installed(root, www, label):
    with zipfile.ZipFile(os.path.join(www, 'qd.zip')) as z:
        expected = z.read('qd.upd')
    with open(os.path.join(root, 'Windows', 'System32', 'qdztempl.dll'), 'rb') as f:
        if f.read() != expected:
            sys.exit('bench: %s did not install the package\'s database' % label)


def main():
    args = harness.parse_args(__doc__, lambda ap: ap.add_argument('--qdupdate', required=True))
    harness.require('curl', 'unzip', 'python3', '/usr/bin/time')
    program = os.path.abspath(args.qdupdate)
    sizes = [('430,000 bytes', 430000, 2.0)]
    if not args.smoke:
        sizes.append(('20 MiB', 20 << 20, 1 / 0.75))
    for title, size, wanted in sizes:
        site = os.path.join(args.work, 'site_%d' % size)
        make_site(os.path.join(site, 'www'), size)
        port = int(subprocess.run(['bash', os.path.join(SERVERS, 'start.sh'), 'http10', site],
                                  check=True, stdout=subprocess.PIPE, text=True).stdout.split()[-1])
        try:
            url = 'http://127.0.0.1:%d' % port
            ours_root = os.path.join(args.work, 'ours_root')
            peer_root = os.path.join(args.work, 'peer_root')
            make_root(ours_root)
            make_root(peer_root)
            env = {'QD_ROOT': ours_root, 'QD_UPDATE_URL': url, 'QD_UI': 'headless',
                   'QD_UI_SCRIPT': 'click UpdateForm.Button2; click CopyForm.Button2; answer ok'}
            ours = harness.Command('qdupdate', ['env', '-C', os.path.join(ours_root, 'work'),
                                                program], env=env, discard_output=True)
            value = os.path.join(peer_root, 'Registry', 'HKEY_LOCAL_MACHINE', 'SOFTWARE',
                                 'Talvesk', 'CurrentUpdate')
            peer = harness.Command('curl+unzip+cp+mv',
                                   ['bash', '-c', PEER_ROAD, 'road', os.path.join(peer_root, 'work'),
                                    url, os.path.join(peer_root, 'Windows', 'System32'), value])
            _, ratios = harness.compare('update road, package of %s' % title, ours, [peer], args)
            check_installed(ours_root, os.path.join(site, 'www'), 'qdupdate')
            check_installed(peer_root, os.path.join(site, 'www'), 'the peer road')
            harness.goal(args, 'qdupdate <= %.2f x the peer\'s time' % (1 / wanted),
                         ratios['curl+unzip+cp+mv'] >= wanted)
        finally:
            subprocess.run(['bash', os.path.join(SERVERS, 'stop.sh'), site])


if __name__ == '__main__':
    main()
