"""Time of a test report of a series: 20 records of ten minutes, 4 gauges at
50 Hz, irregular waves with some noise, written as HTML and as PDF.

Run: PYTHONPATH=build/python ONDARIX_BATCH=build/batch/ondarix-batch \\
         python3 bench/report_bench.py [FILES]
Writes FILES (default 20) records to a temporary folder, then times
`ondarix-batch report` over all of them (waves and spectrum of every gauge;
best of 3 after a warm-up run) for each output type. The machine's other load
shows in the result: run it on an idle machine."""

import os
import subprocess
import sys
import tempfile
import time

import numpy

import ondarix

RATE = 50.0
ROWS = int(600 * RATE)
GAUGES = 4


def make_files(folder, count):
    rng = numpy.random.default_rng(7)
    t = numpy.arange(ROWS)[:, None] / RATE
    paths = []
    for i in range(count):
        # A few dozen components around 0.6 Hz: an irregular sea, a phase a gauge.
        f = rng.uniform(0.3, 1.2, 40)
        a = 0.02 * numpy.exp(-((f - 0.6) ** 2) / 0.05)
        phase = rng.uniform(0, 2 * numpy.pi, (40, GAUGES))
        values = sum(a[k] * numpy.sin(2 * numpy.pi * f[k] * t + phase[k]) for k in range(40))
        values = values + 0.001 * rng.standard_normal((ROWS, GAUGES))
        path = f"{folder}/run{i:02d}.INT"
        ondarix.write(ondarix.Measurement(values.astype(numpy.float32), RATE), path)
        paths.append(path)
    return paths


def best_of_three(args):
    subprocess.run(args, check=True, capture_output=True)  # warm-up: page cache
    times = []
    for _ in range(3):
        began = time.perf_counter()
        subprocess.run(args, check=True, capture_output=True)
        times.append(time.perf_counter() - began)
    return min(times)


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 20
    batch = os.environ.get("ONDARIX_BATCH", "build/batch/ondarix-batch")
    with tempfile.TemporaryDirectory() as folder:
        paths = make_files(folder, count)
        for out in ("report.html", "report.pdf"):
            target = f"{folder}/{out}"
            seconds = best_of_three([batch, "report", *paths, "-o", target])
            size = os.path.getsize(target) / 1e6
            print(f"{count} records of {GAUGES} x {ROWS} rows -> {out}: {seconds:.2f} s, "
                  f"{size:.1f} MB")


if __name__ == "__main__":
    main()
