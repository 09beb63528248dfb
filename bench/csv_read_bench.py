"""Reading a 1,000,000-row x 16-column CSV written by pandas: ondarix.read
against pandas.read_csv (C engine) of the same file, in alternating rounds.

Run: PYTHONPATH=build/python /usr/bin/python3 bench/csv_read_bench.py
The file (a time column and 16 float32 gauges, about 180 MB) is written once
to $TMPDIR (default /tmp) and read once before timing, so both sides read
from the page cache. Prints the best of the rounds of each and their ratio."""

import os
import pathlib
import time

import numpy
import pandas

import ondarix

CHANNELS, ROWS, RATE = 16, 1_000_000, 100.0


def big_file():
    path = pathlib.Path(os.environ.get("TMPDIR", "/tmp")) / "ondarix_csv_bench_1Mx16.csv"
    if not path.exists():
        t = numpy.arange(ROWS) / RATE
        values = numpy.sin(t[:, None] + numpy.arange(CHANNELS)[None, :]).astype(numpy.float32)
        table = pandas.DataFrame(values, columns=[f"gauge{c + 1}" for c in range(CHANNELS)])
        table.insert(0, "time", t)
        table.to_csv(path, index=False)
    return str(path)


def timed(run):
    began = time.perf_counter()
    run()
    return time.perf_counter() - began


def main(rounds=3):
    path = big_file()
    pandas.read_csv(path)  # into the page cache, and both sides warmed up
    ondarix.read(path)
    ours, theirs = [], []
    for _ in range(rounds):
        ours.append(timed(lambda: ondarix.read(path)))
        theirs.append(timed(lambda: pandas.read_csv(path)))
    print(f"file: {os.path.getsize(path) / 2**20:.0f} MiB, {ROWS} x {CHANNELS} and time")
    print(f"ondarix.read     : {min(ours) * 1000:8.1f} ms")
    print(f"pandas.read_csv  : {min(theirs) * 1000:8.1f} ms")
    print(f"ratio            : {min(ours) / min(theirs):8.2f}")


if __name__ == "__main__":
    main()
