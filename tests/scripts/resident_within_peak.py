#!/usr/bin/python3
"""Runs a benchmark and checks that each resident-memory figure it prints lies within the peak the kernel saw."""
import re
import resource
import subprocess
import sys

run = subprocess.run(sys.argv[1:], capture_output=True, text=True)
sys.stdout.write(run.stdout)
sys.stderr.write(run.stderr)
# KiB; the kernel's count of resident pages lags a little, so a tenth over it is within.
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss * 11 // 10
figures = [int(n) for line in run.stdout.splitlines() if "target" not in line
           for n in re.findall(r"(\d+) KiB", line)]
bad = [f for f in figures if not 0 < f <= peak]
if run.returncode or not figures or bad:
    sys.exit(f"status {run.returncode}; figures {figures}, outside 1..{peak} KiB: {bad}")
