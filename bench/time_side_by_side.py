#!/usr/bin/env python3
"""Times whole processes side by side, alternating them run by run, and
prints each one's median wall time and peak memory, and the ratios.

    time_side_by_side.py RUNS NAME=COMMAND... -- RATIO...

Each COMMAND is a shell-free argument list written as one string (split on
blanks); its standard output goes to /dev/null. A RATIO is "A/B", two of the
NAMEs. Runs alternate A, B, C, A, B, C, ... so that a change in the
machine's load falls on all of them alike.
"""
import os
import statistics
import subprocess
import sys
import time


def run_once(argv):
    """Wall seconds of one run, from spawn to reaped exit; exits on failure.
    posix_spawn keeps the harness's own cost out of what is measured."""
    start = time.perf_counter()
    pid = os.posix_spawnp(argv[0], argv, os.environ, file_actions=[
        (os.POSIX_SPAWN_OPEN, 1, os.devnull, os.O_WRONLY, 0)])
    _, status = os.waitpid(pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed ({status:#x}): {' '.join(argv)}")
    return wall


def peak_kib(argv):
    """Peak resident memory of one run, as GNU time measures it from a small
    parent (a child of this harness would start with the harness's pages)."""
    done = subprocess.run(["/usr/bin/time", "-f", "%M", *argv],
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                          text=True, check=True)
    return int(done.stderr.strip().splitlines()[-1])


def main(args):
    if "--" not in args or len(args) < 4:
        sys.exit(__doc__)
    split = args.index("--")
    runs = int(args[0])
    commands = dict(a.split("=", 1) for a in args[1:split])
    ratios = args[split + 1:]
    times = {name: [] for name in commands}
    for command in commands.values():  # warm the page cache
        run_once(command.split())
    for _ in range(runs):
        for name, command in commands.items():
            times[name].append(run_once(command.split()))
    for name, command in commands.items():
        median = statistics.median(times[name])
        print(f"  {name:<22} median {median * 1000:8.2f} ms   "
              f"peak {peak_kib(command.split()) / 1024:6.1f} MiB")
    medians = {name: statistics.median(t) for name, t in times.items()}
    for ratio in ratios:
        a, b = ratio.split("/")
        print(f"  ratio {ratio:<36} {medians[a] / medians[b]:5.2f}")


if __name__ == "__main__":
    main(sys.argv[1:])
