"""Reading a 16 x 2,097,152 .INT into numpy: ondarix.read against
numpy.fromfile of the same bytes.

Run: PYTHONPATH=build/python python3 bench/python_read_bench.py
The file (layout 5, 128 MiB of floats) is written once to $TMPDIR (default
/tmp) and read once before timing, so both sides read from the page cache.
Prints the best of several runs of each."""

import os
import pathlib
import time

import numpy

import ondarix

CHANNELS, ROWS = 16, 2_097_152


def big_file():
    path = pathlib.Path(os.environ.get("TMPDIR", "/tmp")) / "ondarix_py_bench_16x2M.INT"
    if not path.exists():
        t = numpy.arange(ROWS, dtype=numpy.float64)[:, None] * 1e-3
        values = numpy.sin(t + numpy.arange(CHANNELS)[None, :]).astype(numpy.float32)
        ondarix.write(ondarix.Measurement(values, 1000.0), str(path))
    return str(path)


def best(run, repeats):
    times = []
    for _ in range(repeats):
        began = time.perf_counter()
        run()
        times.append(time.perf_counter() - began)
    return min(times)


def main():
    path = big_file()
    size = os.path.getsize(path)
    numpy.fromfile(path, dtype=numpy.uint8)  # into the page cache
    ours = best(lambda: ondarix.read(path).samples, 5)
    plain = best(lambda: numpy.fromfile(path, dtype=numpy.uint8), 5)
    print(f"file: {size / 2**20:.0f} MiB, {CHANNELS} x {ROWS}")
    print(f"ondarix.read -> samples : {ours * 1000:8.1f} ms")
    print(f"numpy.fromfile (bytes)  : {plain * 1000:8.1f} ms")
    print(f"ratio read / fromfile   : {ours / plain:8.2f}")


if __name__ == "__main__":
    main()
