"""Campaign throughput on a local Dask cluster: 2 workers against 1.

Run: PYTHONPATH=build/python python3 bench/python_campaign_bench.py [FILES]
Writes FILES (default 24) generated runs of 4 x 262,144 samples to a
temporary folder, then runs a Kalman decomposition of channel 0 into four
components (model 2) over the whole of every file on a LocalCluster of 1 and
of 2 single-threaded worker processes (best of 3 each, after a warm-up run).
The machine's other load shows in the result: run it on an idle machine."""

import sys
import tempfile
import time

import numpy

import ondarix


def make_files(folder, count):
    paths = []
    t = numpy.arange(262_144, dtype=numpy.float64)[:, None] / 50.0
    for i in range(count):
        values = numpy.sin(2 * numpy.pi * (0.3 + 0.01 * i) * t + numpy.arange(4)[None, :])
        path = f"{folder}/run{i:03d}.INT"
        ondarix.write(ondarix.Measurement(values.astype(numpy.float32), 50.0), path)
        paths.append(path)
    return paths


COMPONENTS = [{"frequency": f} for f in (0.3, 0.5, 0.7, 0.9)]


def run(paths, client):
    return ondarix.campaign(paths, "kalman", client=client, components=COMPONENTS, model=2)


def throughput(paths, workers):
    import distributed

    with distributed.LocalCluster(
        n_workers=workers, threads_per_worker=1, processes=True, dashboard_address=None
    ) as cluster, distributed.Client(cluster) as client:
        run(paths, client)  # warm-up: imports, page cache
        times = []
        for _ in range(3):
            began = time.perf_counter()
            frame = run(paths, client)
            times.append(time.perf_counter() - began)
        assert frame["error"].isna().all()
    return len(paths) / min(times)


def main():
    count = int(sys.argv[1]) if len(sys.argv) > 1 else 24
    with tempfile.TemporaryDirectory() as folder:
        paths = make_files(folder, count)
        one = throughput(paths, 1)
        two = throughput(paths, 2)
    print(f"{count} files of 4 x 262,144 samples, Kalman of channel 0 (4 components)")
    print(f"1 worker : {one:7.1f} files/s")
    print(f"2 workers: {two:7.1f} files/s")
    print(f"speed-up : {two / one:7.2f}")


if __name__ == "__main__":
    main()
