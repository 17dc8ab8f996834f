"""Times two commands in turn, A B A B ..., and prints the median of the A/B ratios.

Usage: ab_ratio.py RUNS NAME_A "COMMAND A" NAME_B "COMMAND B" ["SETUP"]
Pairing the runs keeps the ratio sound when the machine's speed drifts during the measurement.
SETUP, when given, runs through the shell before every timed command, untimed (for example to
empty the folder that both commands fill).
"""
import shlex
import statistics
import subprocess
import sys
import time


def timed(command, setup=None):
    if setup:
        subprocess.run(setup, shell=True, check=True)
    start = time.perf_counter()
    subprocess.run(shlex.split(command), check=True, stdout=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    runs, name_a, command_a, name_b, command_b = int(sys.argv[1]), *sys.argv[2:6]
    setup = sys.argv[6] if len(sys.argv) > 6 else None
    timed(command_a, setup), timed(command_b, setup)  # warm the file cache
    pairs = [(timed(command_a, setup), timed(command_b, setup)) for _ in range(runs)]
    a = statistics.median(p[0] for p in pairs)
    b = statistics.median(p[1] for p in pairs)
    ratio = statistics.median(p[0] / p[1] for p in pairs)
    print(f"{name_a}: {a * 1000:.0f} ms; {name_b}: {b * 1000:.0f} ms; ratio {ratio:.2f} (median of {runs} pairs)")


if __name__ == "__main__":
    main()
