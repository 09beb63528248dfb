"""A record beyond 2 GiB: 50,000,000 rows x 16 channels of float32 (3.2 GB)
written by h5py, read, analysed at its end and converted by ondarix-batch and
read by ondarix.read, each ondarix-batch run within 1.2 times the samples'
bytes plus 200 MiB; under a smaller address space the read is refused with
the sizes named, not crashed.

Needs about 10 GB of disk (the record, its conversion and the conversion
back) and 4 GB of memory, and minutes: skipped unless ONDARIX_BIG_TESTS=1.
ONDARIX_BIG_ROWS sets the row count (a smaller one checks the test itself).
`pytest -s` shows how long each step took and each run's peak memory."""

import json
import os
import re
import resource
import pathlib
import subprocess
import sys
import time

import h5py
import numpy
import pytest

import ondarix

pytestmark = pytest.mark.skipif(os.environ.get("ONDARIX_BIG_TESTS") != "1",
                                reason="a 3.2 GB record: set ONDARIX_BIG_TESTS=1")

ROOT = pathlib.Path(__file__).resolve().parents[2]
ROWS = int(os.environ.get("ONDARIX_BIG_ROWS", "50000000"))
CHANNELS, RATE = 16, 100.0
PIECE = 1 << 20  # rows written or compared at a time: 64 MiB of float32
SAMPLE_BYTES = ROWS * CHANNELS * 4
PEAK_LIMIT = 1.2 * SAMPLE_BYTES + (200 << 20)
ADDRESS_LIMIT = 2 << 30
TAIL = 100_000  # the block analysed at the record's end


def values(first, count):
    """Rows first .. first + count - 1: a sine per channel of the row index
    around a level of its own, so that any row can be computed again."""
    j = numpy.arange(first, first + count, dtype=numpy.float64)[:, None]
    c = numpy.arange(CHANNELS)[None, :]
    frequency, amplitude, level = 0.5 + 0.03 * c, 1.0 + 0.1 * c, 0.25 * c - 1.0
    return (level + amplitude * numpy.sin(2 * numpy.pi * frequency * j / RATE + c)).astype(
        numpy.float32)


def timed(step, run):
    began = time.perf_counter()
    result = run()
    print(f"{step}: {time.perf_counter() - began:.1f} s")
    return result


# Runs the command given after the usage file and writes its exit code and
# peak resident bytes there. A child's peak counts the process it was started
# from until its exec, so ondarix-batch is started from this small process,
# not from pytest and its arrays; RUSAGE_CHILDREN then holds only this run.
WRAPPER = """import resource, subprocess, sys
code = subprocess.call(sys.argv[2:])
usage = resource.getrusage(resource.RUSAGE_CHILDREN)
open(sys.argv[1], "w").write("%d %d" % (code, usage.ru_maxrss * 1024))
"""


class Run:
    def __init__(self, code, out, err, peak):
        self.code, self.out, self.err, self.peak = code, out, err, peak


def run_batch(folder, step, *args, limit_address=False):
    """Runs ondarix-batch, printing how long it took and its peak resident
    memory."""
    exe = os.environ.get("ONDARIX_BATCH", str(ROOT / "build" / "batch" / "ondarix-batch"))

    def smaller_address_space():  # the wrapper's, and so its child's
        resource.setrlimit(resource.RLIMIT_AS, (ADDRESS_LIMIT, ADDRESS_LIMIT))

    usage = folder / "usage.txt"
    began = time.perf_counter()
    done = subprocess.run([sys.executable, "-c", WRAPPER, usage, exe, *map(str, args)],
                          capture_output=True, text=True,
                          preexec_fn=smaller_address_space if limit_address else None)
    seconds = time.perf_counter() - began
    assert done.returncode == 0, f"the wrapper of {step} failed: {done.stderr}"
    code, peak = map(int, usage.read_text().split())
    print(f"{step}: {seconds:.1f} s, peak {peak / 2**20:.0f} MiB, exit {code}")
    return Run(code, done.stdout, done.stderr, peak)


def checked(folder, step, *args):
    """A run that must succeed within the memory bound."""
    done = run_batch(folder, step, *args)
    assert done.code == 0, f"{step}: {done.err}"
    assert done.peak <= PEAK_LIMIT, (
        f"{step} peaked at {done.peak / 2**20:.0f} MiB, above {PEAK_LIMIT / 2**20:.0f} MiB")
    return done


def write_record(path):
    with h5py.File(path, "w") as f:
        f.attrs["sample_rate"] = RATE
        d = f.create_dataset("samples", shape=(ROWS, CHANNELS), dtype="f4",
                             chunks=(65536, CHANNELS))
        for first in range(0, ROWS, PIECE):
            d[first:first + PIECE] = values(first, min(PIECE, ROWS - first))


@pytest.fixture(scope="module")
def big(tmp_path_factory):
    folder = tmp_path_factory.mktemp("big")
    path = folder / "big.h5"
    timed(f"h5py writes {ROWS} x {CHANNELS} float32", lambda: write_record(path))
    return path


def same_samples(a, b):
    """Compares two HDF5 files' /samples a piece at a time."""
    with h5py.File(a, "r") as fa, h5py.File(b, "r") as fb:
        x, y = fa["samples"], fb["samples"]
        assert x.shape == y.shape == (ROWS, CHANNELS)
        for first in range(0, ROWS, PIECE):
            numpy.testing.assert_array_equal(x[first:first + PIECE], y[first:first + PIECE],
                                             err_msg=f"rows from {first}")


def test_info_names_every_row(big):
    done = checked(big.parent, "info", "info", big)
    assert re.search(rf"^samples:\s+{ROWS}$", done.out, re.M), done.out
    assert re.search(rf"^channels:\s+{CHANNELS}$", done.out, re.M), done.out


def test_statistics_and_spectrum_of_the_last_rows(big):
    first = ROWS - TAIL
    block = values(first, TAIL)[:, 15].astype(numpy.float64)
    where = ["--channel", "15", "--from", first, "--to", ROWS]
    stats = json.loads(checked(big.parent, "stats of the last rows", "stats", big, *where,
                               "--json").out)
    signal = stats["signal"]
    assert signal["min"] == block.min() and signal["max"] == block.max()
    assert signal["mean"] == pytest.approx(block.mean(), rel=1e-6, abs=1e-6)
    assert signal["deviation"] == pytest.approx(block.std(), rel=1e-5)
    spectrum = json.loads(checked(big.parent, "spectrum of the last rows", "spectrum", big,
                                  *where, "--json").out)
    assert spectrum["Hm0"] == pytest.approx(4 * block.std(), rel=0.01)


def test_conversion_there_and_back_keeps_every_sample(big):
    out, back = big.parent / "out.h5", big.parent / "back.h5"
    try:
        checked(big.parent, "convert to out.h5", "convert", big, out)
        timed("h5py compares out.h5 with big.h5", lambda: same_samples(big, out))
        checked(big.parent, "convert out.h5 to back.h5", "convert", out, back)
        timed("h5py compares back.h5 with big.h5", lambda: same_samples(big, back))
    finally:
        out.unlink(missing_ok=True), back.unlink(missing_ok=True)


def test_python_reads_the_last_row_exactly(big):
    with h5py.File(big, "r") as f:
        last = f["samples"][-1]
    numpy.testing.assert_array_equal(last, values(ROWS - 1, 1)[0])
    m = timed("ondarix.read", lambda: ondarix.read(big))
    samples = m.samples
    assert samples.dtype == numpy.float32
    assert samples.shape == (ROWS, CHANNELS)
    numpy.testing.assert_array_equal(samples[-1], last)


def test_a_record_beyond_the_memory_at_hand_is_refused_with_both_sizes(big):
    if SAMPLE_BYTES <= ADDRESS_LIMIT:
        pytest.skip(f"{SAMPLE_BYTES} bytes of samples fit in {ADDRESS_LIMIT}")
    done = run_batch(big.parent, "stats within 2 GiB of address space", "stats", big,
                     "--channel", "0", "--from", "0", "--to", "1000", limit_address=True)
    assert done.code == 1, done.err  # a crash gives a negative code
    line = done.err.strip().splitlines()[0]
    assert line.startswith("ondarix-batch: "), line
    # The wording is the program's; it names what the record needs and what is available.
    assert re.search(r"need", line, re.I) and re.search(r"avail", line, re.I), line
    assert len(re.findall(r"\d+(?:\.\d+)?\s*(?:[KMGT]i?B|bytes)", line)) >= 2, line
