#!/usr/bin/env python3
"""Times commands in turn, round after round, so that a machine whose load changes slows them all
alike; prints each command's median wall time and its ratio to the first command's.
Usage: bench/side_by_side.py ROUNDS NAME=COMMAND...   (the first command is the reference)"""
import shlex
import statistics
import subprocess
import sys
import time

rounds = int(sys.argv[1])
commands = [arg.split("=", 1) for arg in sys.argv[2:]]
times = {name: [] for name, _ in commands}
for _ in range(rounds):
    for name, command in commands:
        start = time.perf_counter()
        subprocess.run(shlex.split(command), check=True, stdout=subprocess.DEVNULL)
        times[name].append(time.perf_counter() - start)
reference = statistics.median(times[commands[0][0]])
for name, _ in commands:
    median = statistics.median(times[name])
    print(f"{name:18s} median {median * 1000:7.1f} ms  min {min(times[name]) * 1000:7.1f} ms  {median / reference:4.2f} x {commands[0][0]}")
