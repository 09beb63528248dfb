"""HDF5 files as h5py writes them, read by ondarix.read and ondarix-batch,
and a measurement saved as HDF5 read by h5py as the same arrays and
attributes."""

import datetime

import h5py
import numpy
import pytest

import ondarix

from conftest import batch_reason

GAUGES = numpy.sin(numpy.arange(3000)[:, None] / 40.0 + numpy.arange(3)[None, :])


def test_our_layout_written_by_h5py_reads_as_its_arrays(tmp_path, batch):
    path = tmp_path / "run.h5"
    with h5py.File(path, "w") as f:
        f.attrs["name"] = "Flume run 7 – łódź"
        f.attrs["date"] = "2026-03-14T09:26:52"
        f.attrs["sample_rate"] = 40.0
        d = f.create_dataset("samples", data=GAUGES.astype(numpy.float32), chunks=(1000, 3))
        d.attrs["channel_names"] = ["wg1", "wg2", "wg3"]
        d.attrs["units"] = numpy.array([b"m", b"m", b"cm"], dtype="S2")  # fixed-length
        d.attrs["coefficients"] = [1.0, 0.5, 2.0]
    m = ondarix.read(path)
    assert m.name == "Flume run 7 – łódź"
    assert m.date == datetime.datetime(2026, 3, 14, 9, 26, 52)
    assert m.rate == 40.0
    assert [(c.name, c.unit, c.coefficient, c.constant) for c in m.channels] == [
        ("wg1", "m", 1.0, 0.0),
        ("wg2", "m", 0.5, 0.0),
        ("wg3", "cm", 2.0, 0.0),
    ]
    numpy.testing.assert_array_equal(m.real, GAUGES.astype(numpy.float32))
    info = batch("info", path).stdout
    assert "samples:     3000" in info and "sample rate: 40" in info


@pytest.mark.parametrize(
    "storage",
    [
        {},  # contiguous
        {"chunks": (333, 2)},  # chunks that cut through rows
        {"chunks": (1000, 3), "compression": "gzip", "shuffle": True},
    ],
    ids=["contiguous", "odd-chunks", "gzip"],
)
def test_every_storage_h5py_writes_reads_the_same(tmp_path, storage):
    path = tmp_path / "run.h5"
    with h5py.File(path, "w") as f:
        f.attrs["sample_rate"] = 10.0
        f.create_dataset("samples", data=GAUGES.astype(numpy.float32), **storage)
        # Chunks never written read as the fill value.
        sparse = f.create_dataset("sparse", shape=(3000, 2), dtype="f8", chunks=(500, 2))
        sparse[1000:1500] = GAUGES[1000:1500, :2]
    numpy.testing.assert_array_equal(ondarix.read(path).real, GAUGES.astype(numpy.float32))
    expected = numpy.zeros((3000, 2), numpy.float32)
    expected[1000:1500] = GAUGES[1000:1500, :2]
    numpy.testing.assert_array_equal(ondarix.read(path, dataset="sparse").real, expected)


def test_any_numeric_dataset_is_read_when_named(tmp_path, batch):
    path = tmp_path / "lab.hdf5"
    with h5py.File(path, "w") as f:
        f.create_dataset("acq/raw", data=(GAUGES * 1000).astype(numpy.int16))
        f["acq/raw"].attrs["fs"] = 250
        f.create_dataset("acq/trace", data=GAUGES[:, 0])
    with pytest.raises(OSError, match=r"/acq/raw, /acq/trace.*dataset="):
        ondarix.read(path)
    m = ondarix.read(path, dataset="/acq/raw")
    assert m.rate == 250
    numpy.testing.assert_array_equal(m.real, (GAUGES * 1000).astype(numpy.int16))
    with pytest.raises(OSError, match="rate="):
        ondarix.read(path, dataset="acq/trace")
    trace = ondarix.read(path, dataset="acq/trace", rate=50)
    numpy.testing.assert_array_equal(trace.real[:, 0], GAUGES[:, 0].astype(numpy.float32))
    refused = batch("info", path, ok=False)
    assert refused.returncode == 1 and "--dataset" in batch_reason(refused)
    shown = batch("info", path, "--dataset", "acq/trace", "--rate", "50").stdout
    assert "samples:     3000" in shown and "sample rate: 50" in shown


def test_saved_as_hdf5_a_measurement_reads_in_h5py_as_itself(tmp_path, sample, batch):
    m = ondarix.read(sample)
    path = tmp_path / "sample.h5"
    ondarix.write(m, path)
    with h5py.File(path, "r") as f:
        assert f.attrs["name"] == m.name
        assert f.attrs["sample_rate"] == m.rate
        if m.date is not None:
            assert datetime.datetime.fromisoformat(f.attrs["date"]) == m.date
        samples = f["samples"]
        assert samples.dtype == numpy.float32 and samples.chunks[1] == len(m.channels)
        numpy.testing.assert_array_equal(samples[:], m.real)
        assert list(samples.attrs["channel_names"]) == [c.name for c in m.channels]
        assert list(samples.attrs["units"]) == [c.unit for c in m.channels]
        numpy.testing.assert_array_equal(
            samples.attrs["coefficients"], [c.coefficient for c in m.channels]
        )
        numpy.testing.assert_array_equal(samples.attrs["constants"], [c.constant for c in m.channels])
    back = ondarix.read(path)
    assert (back.name, back.date, back.rate, back.channels) == (m.name, m.date, m.rate, m.channels)
    # ondarix-batch converts from and to it, and refuses a damaged one in one line.
    batch("convert", path, tmp_path / "again.INT")
    assert ondarix.read(tmp_path / "again.INT").channels == m.channels
    cut = tmp_path / "cut.h5"
    cut.write_bytes(path.read_bytes()[:5000])
    refused = batch("info", cut, ok=False)
    assert refused.returncode == 1 and len(refused.stderr.splitlines()) == 1
    with pytest.raises(OSError, match="damaged or cut short"):
        ondarix.read(cut)


def test_data_in_another_file_is_refused_from_python_and_the_command_line(tmp_path, batch):
    # A secret beside the file, as /etc/passwd would be: its bytes must never
    # become samples, whichever way the file points at it.
    secret = tmp_path / "secret.bin"
    secret.write_bytes(b"root:x:0:0:root:/root:/bin/bash\n" * 64)
    other = tmp_path / "other.h5"
    with h5py.File(other, "w") as f:
        f.create_dataset("samples", data=GAUGES.astype(numpy.float32))
    path = tmp_path / "pointing.h5"
    with h5py.File(path, "w") as f:
        f.attrs["sample_rate"] = 40.0
        f.create_dataset("samples", shape=(128, 4), dtype="f4", external=[(str(secret), 0, 2048)])
        f["linked"] = h5py.ExternalLink(str(other), "/samples")
        layout = h5py.VirtualLayout(shape=GAUGES.shape, dtype="f4")
        layout[:] = h5py.VirtualSource(str(other), "samples", shape=GAUGES.shape)
        f.create_virtual_dataset("mapped", layout)
    tail = "; a measurement is read only from the file named, never from another"
    for dataset, reason in [
        (None, f"dataset /samples is kept in external storage in {secret}"),
        ("linked", f"dataset /linked is an external link to {other}:/samples"),
        ("mapped", f"dataset /mapped is a virtual dataset of {other}"),
    ]:
        with pytest.raises(OSError, match=reason.replace("/", ".") + tail):
            ondarix.read(path, dataset=dataset)
        args = ["convert", path, tmp_path / "out.csv"] + (["--dataset", dataset] if dataset else [])
        done = batch(*args, ok=False)
        assert done.returncode == 1
        assert batch_reason(done).endswith(reason + tail)
        assert not (tmp_path / "out.csv").exists()
