"""The benchmark harness that every benchmark of the project runs on.

A comparison runs our command and each peer's in turn (A B C A B C ...),
after one warm-up round, for a number of rounds (at least 5 for a real
figure). Running them interleaved means a drift of the machine's speed
touches every command alike, and the median of the per-round ratios holds
even when single passes swing widely, as they do on a busy 2-core machine.

Each run is timed on the wall clock; a command that measures a part of its
own work prints a line "seconds=X" and that figure counts instead. Peak
memory is the kernel's own accounting of the command's maximum resident set,
as GNU time reads it through wait4: a child forked straight from this
interpreter would carry the interpreter's own peak into its figure.

Smoke mode (--smoke) is for the test command: tiny sizes, no warm-up, one
round, no goal judged. It shows that a benchmark still builds, runs and
prints its figures, and nothing about speed.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


class Command:
    """One contestant: a name, the argument vector, and an optional step
    that runs untimed before each run (emptying an output folder, say)."""

    def __init__(self, name, argv, before=None, env=None, discard_output=False):
        self.name = name
        self.argv = [str(a) for a in argv]
        self.before = before
        self.env = env
        # A command whose standard output is its bulk result (a body) writes
        # it to /dev/null instead of a file the harness would read.
        self.discard_output = discard_output


class Result:
    def __init__(self, name):
        self.name = name
        self.seconds = []
        self.peak_mib = []


def parse_args(description, extra=None):
    ap = argparse.ArgumentParser(description=description)
    ap.add_argument('--smoke', action='store_true',
                    help='tiny sizes, one round, no warm-up: only shows that it runs')
    ap.add_argument('--runs', type=int, default=5, help='timed rounds (at least 5)')
    ap.add_argument('--work', default=None, help='folder for generated data')
    if extra:
        extra(ap)
    args = ap.parse_args()
    if args.smoke:
        args.runs = 1
    elif args.runs < 5:
        ap.error('--runs must be at least 5: a figure is a median of at least 5 runs')
    if args.work is None:
        args.work = tempfile.mkdtemp(prefix='qd_bench_')
    args.work = os.path.abspath(args.work)
    os.makedirs(args.work, exist_ok=True)
    return args


def require(*tools):
    for tool in tools:
        if not shutil.which(tool):
            sys.exit('bench: %s is not installed (bash scripts/setup.sh test installs it)' % tool)


def run_once(cmd, scratch):
    if cmd.before:
        cmd.before()
    rss_file = os.path.join(scratch, 'rss')
    out_file = os.path.join(scratch, 'stdout')
    env = dict(os.environ)
    if cmd.env:
        env.update(cmd.env)
    start = time.perf_counter()
    with open(os.devnull if cmd.discard_output else out_file, 'wb') as out:
        proc = subprocess.run(['/usr/bin/time', '-f', '%M', '-o', rss_file] + cmd.argv,
                              stdout=out, stderr=subprocess.PIPE, env=env)
    elapsed = time.perf_counter() - start
    if proc.returncode != 0:
        sys.exit('bench: %s failed (exit %d): %s' % (
            ' '.join(cmd.argv), proc.returncode, proc.stderr.decode(errors='replace')[-2000:]))
    # Our programs may print their own timing of the measured part.
    with open(os.devnull if cmd.discard_output else out_file, 'rb') as out:
        for line in out.read()[-4096:].decode(errors='replace').splitlines():
            if line.startswith('seconds='):
                elapsed = float(line.split('=', 1)[1])
    with open(rss_file) as f:
        peak = int(f.read().split()[-1]) / 1024.0
    return elapsed, peak


def spread(values, fmt):
    return ('median ' + fmt + '  [min ' + fmt + ', max ' + fmt + ']') % (
        statistics.median(values), min(values), max(values))


def compare(title, ours, peers, args):
    """Runs ours and the peers interleaved and prints each one's median time
    and peak memory with their spread, then for each peer the median of the
    per-round ratios peer time / our time (above 1: ours is faster).
    Returns {name: Result} and {peer name: median ratio}."""
    everyone = [ours] + list(peers)
    results = {c.name: Result(c.name) for c in everyone}
    scratch = tempfile.mkdtemp(prefix='run_', dir=args.work)
    print('%s:' % title, flush=True)
    if not args.smoke:
        for c in everyone:
            run_once(c, scratch)
    for _ in range(args.runs):
        for c in everyone:
            t, peak = run_once(c, scratch)
            results[c.name].seconds.append(t)
            results[c.name].peak_mib.append(peak)
    width = max(len(c.name) for c in everyone)
    for c in everyone:
        r = results[c.name]
        print('  %-*s  time %s   peak %s' % (width, c.name, spread(r.seconds, '%.3f s'),
                                            spread(r.peak_mib, '%.1f MiB')))
    ratios = {}
    for p in peers:
        per_round = [pt / ot for pt, ot in zip(results[p.name].seconds, results[ours.name].seconds)]
        ratios[p.name] = statistics.median(per_round)
        print('  ratio %s / %s: %s over %d rounds' % (p.name, ours.name, spread(per_round, '%.2f'),
                                                      len(per_round)))
    shutil.rmtree(scratch, ignore_errors=True)
    sys.stdout.flush()
    return results, ratios


def goal(args, text, met):
    """Prints whether a goal was met; smoke runs judge nothing."""
    if args.smoke:
        print('  goal %s: not judged in smoke mode' % text)
    else:
        print('  goal %s: %s' % (text, 'met' if met else 'NOT met'))
