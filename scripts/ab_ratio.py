"""Times two commands in turn, A B A B ..., and prints the median of the A/B ratios.

Usage: ab_ratio.py RUNS NAME_A "COMMAND A" NAME_B "COMMAND B" ["SETUP"] [--less NAME_C "COMMAND C"]
Pairing the runs keeps the ratio sound when the machine's speed drifts during the measurement.
Commands run through the shell, so they may chain (a && b) and pipe; SETUP, when given, runs
through the shell before every timed command, untimed (for example to
empty the folder that both commands fill). With --less, COMMAND C is timed beside each pair and
its time taken off A's (for example a process start that A pays and B does not).
"""
import statistics
import subprocess
import sys
import time


def timed(command, setup=None):
    if setup:
        subprocess.run(setup, shell=True, check=True)
    start = time.perf_counter()
    subprocess.run(command, shell=True, check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    args = sys.argv[1:]
    less = None
    if "--less" in args:
        at = args.index("--less")
        less, args = args[at + 1:at + 3], args[:at] + args[at + 3:]
    runs, name_a, command_a, name_b, command_b = int(args[0]), *args[1:5]
    setup = args[5] if len(args) > 5 else None
    timed(command_a, setup), timed(command_b, setup)  # warm the file cache
    triples = [(timed(command_a, setup), timed(command_b, setup), timed(less[1]) if less else 0.0)
               for _ in range(runs)]
    a = statistics.median(t[0] for t in triples)
    b = statistics.median(t[1] for t in triples)
    ratio = statistics.median((t[0] - t[2]) / t[1] for t in triples)
    if less:
        c = statistics.median(t[2] for t in triples)
        name_a = f"{name_a} less {less[0]} ({c * 1000:.0f} ms)"
    print(f"{name_a}: {a * 1000:.0f} ms; {name_b}: {b * 1000:.0f} ms; ratio {ratio:.2f} (median of {runs} pairs)")


if __name__ == "__main__":
    main()
