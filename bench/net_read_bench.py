#!/usr/bin/env python3
"""ReadIntoStream of a 1 GiB body from a local sender against the plain loop
of 32 KiB receive calls into memory, with and without a work-event handler,
interleaved through the shared harness. Ratios are plain time / ours: 1 means
the connection reads as fast as the bare socket."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402


def main():
    args = harness.parse_args(__doc__, lambda ap: ap.add_argument('--program', required=True))
    size_mib = '8' if args.smoke else '1024'
    prog = os.path.abspath(args.program)
    ours = harness.Command('ReadIntoStream', [prog, 'stream', size_mib])
    peers = [harness.Command('plain recv loop', [prog, 'plain', size_mib]),
             harness.Command('ReadIntoStream + OnWork', [prog, 'stream-events', size_mib])]
    _, ratios = harness.compare('read %s MiB over loopback' % size_mib, ours, peers, args)
    harness.goal(args, 'plain / ReadIntoStream >= 0.90', ratios['plain recv loop'] >= 0.90)
    harness.compare('work reports of such a read, no handler', harness.Command(
        'work events alone', [prog, 'events', size_mib]), [], args)


if __name__ == '__main__':
    main()
