"""Reading a 16-channel x 2,097,152-sample HDF5 file: ondarix.read against
h5py's read of the same dataset (f["samples"][:]), in alternating rounds.

Run: PYTHONPATH=build/python /usr/bin/python3 bench/hdf5_read_bench.py
Two files of float32 gauges (128 MiB each) are written once to $TMPDIR
(default /tmp): one by ondarix.write (chunked in blocks of whole rows), one by
h5py in our layout with its defaults (contiguous). Two more are chunked as
other programs chunk: gzip chunks of 8 MiB, and a 0.5 MB file of four 128 MiB gzip
chunks of zeros (larger than HDF5's 1 MiB chunk cache, each used to be
inflated again for every block read). Each is read once before timing, so both
sides read from the page cache. Prints the best of the rounds of each and their
ratio."""

import os
import pathlib
import time

import h5py
import numpy

import ondarix

CHANNELS, ROWS, RATE = 16, 2_097_152, 100.0


def values():
    t = numpy.arange(ROWS) / RATE
    return numpy.sin(t[:, None] + numpy.arange(CHANNELS)[None, :]).astype(numpy.float32)


def big_files():
    folder = pathlib.Path(os.environ.get("TMPDIR", "/tmp"))
    ours = folder / "ondarix_hdf5_bench_ondarix.h5"
    theirs = folder / "ondarix_hdf5_bench_h5py.h5"
    if not ours.exists() or not theirs.exists():
        samples = values()
        ondarix.write(ondarix.Measurement(samples, RATE, name="bench"), ours)
        with h5py.File(theirs, "w") as f:
            f.attrs["sample_rate"] = RATE
            f.create_dataset("samples", data=samples)
    return str(ours), str(theirs)


def chunked_files():
    folder = pathlib.Path(os.environ.get("TMPDIR", "/tmp"))
    eight = folder / "ondarix_hdf5_bench_8mib_chunks.h5"
    huge = folder / "ondarix_hdf5_bench_128mib_chunks.h5"
    if not eight.exists():
        with h5py.File(eight, "w") as f:
            f.attrs["sample_rate"] = RATE
            f.create_dataset("samples", data=values(), chunks=(131072, CHANNELS), compression="gzip")
    if not huge.exists():
        rows = 4 * 2_097_152
        with h5py.File(huge, "w") as f:
            f.attrs["sample_rate"] = RATE
            d = f.create_dataset("samples", shape=(rows, CHANNELS), dtype="f4",
                                 chunks=(rows // 4, CHANNELS), compression="gzip")
            block = numpy.zeros((rows // 4, CHANNELS), numpy.float32)
            for i in range(4):
                d[i * (rows // 4):(i + 1) * (rows // 4)] = block
    return str(eight), str(huge)


def timed(run):
    began = time.perf_counter()
    run()
    return time.perf_counter() - began


def h5py_read(path):
    with h5py.File(path, "r") as f:
        return f["samples"][:]


def compare(path, rounds):
    h5py_read(path)  # into the page cache, and both sides warmed up
    ondarix.read(path)
    ours, theirs = [], []
    for _ in range(rounds):
        ours.append(timed(lambda: ondarix.read(path)))
        theirs.append(timed(lambda: h5py_read(path)))
    shape = h5py.File(path, "r")["samples"].shape
    print(f"{os.path.basename(path)}: {os.path.getsize(path) / 2**20:.0f} MiB, {shape[0]} x {shape[1]}")
    print(f"  ondarix.read          : {min(ours) * 1000:8.1f} ms")
    print(f"  h5py f['samples'][:]  : {min(theirs) * 1000:8.1f} ms")
    print(f"  ratio                 : {min(ours) / min(theirs):8.2f}")


def main(rounds=5):
    for path in big_files() + chunked_files():
        compare(path, rounds)


if __name__ == "__main__":
    main()
