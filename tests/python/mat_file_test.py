"""MATLAB files as scipy.io writes and reads them: read by ondarix.read and
ondarix-batch, and a measurement saved as .mat read by scipy.io.loadmat."""

import h5py
import numpy
import pytest
import scipy.io

import ondarix

from conftest import batch_reason

RATE = 20.0
T = numpy.arange(300) / RATE
GAUGES = numpy.column_stack([numpy.sin(T), numpy.cos(3 * T), T]).astype(numpy.float64)


def cell(texts):
    """A cell array of strings, as savemat writes an object array."""
    return numpy.array(texts, dtype=object).reshape(1, -1)


@pytest.mark.parametrize("compressed", [False, True], ids=["plain", "compressed"])
def test_savemat_files_read_as_the_arrays_that_wrote_them(tmp_path, batch, compressed):
    path = tmp_path / "run.mat"
    scipy.io.savemat(
        path,
        {
            "data": GAUGES,
            "fs": RATE,
            "names": cell(["gauge1", "gauge2", "clock"]),
            "units": cell(["m", "m", "s"]),
            "name": "flume run 7",
            "date": "2026-03-14T09:26:52",
        },
        do_compression=compressed,
    )
    m = ondarix.read(path)
    assert (m.name, m.rate) == ("flume run 7", RATE)
    assert (m.date.year, m.date.hour, m.date.second) == (2026, 9, 52)
    assert [c.name for c in m.channels] == ["gauge1", "gauge2", "clock"]
    assert [c.unit for c in m.channels] == ["m", "m", "s"]
    numpy.testing.assert_array_equal(m.real, GAUGES.astype(numpy.float32))
    info = batch("info", path).stdout
    assert "samples:     300" in info and "sample rate: 20" in info


def test_a_file_without_rate_or_with_several_matrices_is_told_what_it_lacks(tmp_path, batch):
    path = tmp_path / "plain.mat"
    # Channels along the rows: time runs along the longer dimension.
    scipy.io.savemat(path, {"eta": GAUGES.T.astype(numpy.float32), "probe": GAUGES[:, :1]})
    with pytest.raises(OSError, match=r"\(eta, probe\).*\(variable=\)"):
        ondarix.read(path)
    refused = batch("info", path, ok=False)
    assert refused.returncode == 1 and "--variable NAME" in batch_reason(refused)
    with pytest.raises(OSError, match=r"\(rate=\)"):
        ondarix.read(path, variable="eta")
    m = ondarix.read(path, variable="eta", rate=50)
    assert (m.rate, len(m.channels)) == (50, 3)
    numpy.testing.assert_array_equal(m.real, GAUGES.astype(numpy.float32))
    assert "channels:    1" in batch("info", path, "--variable", "probe", "--rate", "5").stdout
    with pytest.raises(OSError, match="no variable 'nothing'"):
        ondarix.read(path, variable="nothing", rate=5)
    assert batch("info", path, "--variable", "", ok=False).returncode == 2


def test_saved_as_mat_a_measurement_reads_in_scipy_and_back(tmp_path, sample, batch):
    m = ondarix.read(sample)
    path = tmp_path / "sample.mat"
    ondarix.write(m, path)
    saved = scipy.io.loadmat(path)
    numpy.testing.assert_array_equal(saved["data"], m.real.astype(numpy.float64))
    assert saved["fs"][0, 0] == m.rate
    assert [n[0] for n in saved["names"][0]] == [c.name for c in m.channels]
    assert [u[0] for u in saved["units"][0]] == [c.unit for c in m.channels]
    assert saved["name"][0] == m.name
    assert saved["date"][0] == m.date.strftime("%Y-%m-%dT%H:%M:%S")
    back = ondarix.read(path)
    assert (back.name, back.date, back.rate) == (m.name, m.date, m.rate)
    assert back.channels == m.channels
    numpy.testing.assert_array_equal(back.real, m.real)
    # ondarix-batch converts from and to it.
    batch("convert", path, tmp_path / "again.INT")
    assert ondarix.read(tmp_path / "again.INT").channels == m.channels
    batch("convert", tmp_path / "again.INT", tmp_path / "again.mat")
    assert ondarix.read(tmp_path / "again.mat").channels == m.channels


def test_a_cut_file_is_refused_in_one_line(tmp_path, batch):
    path = tmp_path / "cut.mat"
    scipy.io.savemat(path, {"data": GAUGES, "fs": RATE})
    whole = path.read_bytes()
    path.write_bytes(whole[: len(whole) // 2])
    with pytest.raises(OSError, match="cut short"):
        ondarix.read(path)
    refused = batch("info", path, ok=False)
    assert refused.returncode == 1 and len(refused.stderr.strip().splitlines()) == 1


def test_text_beyond_ascii_crosses_both_ways(tmp_path):
    # scipy writes text as UTF-8, more bytes than characters.
    path = tmp_path / "polish.mat"
    scipy.io.savemat(path, {"x": GAUGES[:, :2], "fs": RATE, "name": "Próba żółw",
                            "names": cell(["głębokość", "ciśnienie"])})
    m = ondarix.read(path)
    assert (m.name, [c.name for c in m.channels]) == ("Próba żółw", ["głębokość", "ciśnienie"])
    ondarix.write(m, tmp_path / "again.mat")
    saved = scipy.io.loadmat(tmp_path / "again.mat")
    assert saved["name"][0] == "Próba żółw"
    assert [n[0] for n in saved["names"][0]] == ["głębokość", "ciśnienie"]


def write_v73(path, variables):
    """A MATLAB 7.3 file as MATLAB lays it out: HDF5 after a 512-byte user
    block that holds the MAT header, each array transposed (MATLAB keeps
    columns first) with its MATLAB_class."""
    # MATLAB's class names are null-terminated strings that fill their size.
    text = h5py.h5t.C_S1.copy()
    text.set_size(6)
    text.set_strpad(h5py.h5t.STR_NULLTERM)
    with h5py.File(path, "w", userblock_size=512) as f:
        for name, value in variables.items():
            data = f.create_dataset(name, data=numpy.atleast_2d(value).T)
            attribute = h5py.h5a.create(
                data.id, b"MATLAB_class", text, h5py.h5s.create(h5py.h5s.SCALAR)
            )
            attribute.write(numpy.array(b"double"), mtype=text)
    header = b"MATLAB 7.3 MAT-file, Platform: GLNXA64, HDF5 schema 1.00 ."
    with open(path, "r+b") as f:
        f.write(header.ljust(116, b" ") + bytes(8) + b"\x00\x02IM")


def test_a_v73_file_reads_and_cut_short_is_refused_in_one_line(tmp_path, batch):
    path = tmp_path / "v73.mat"
    write_v73(path, {"data": GAUGES, "fs": numpy.array(RATE)})
    m = ondarix.read(path)
    assert (m.rate, len(m.channels)) == (RATE, 3)
    numpy.testing.assert_array_equal(m.real, GAUGES.astype(numpy.float32))
    whole = path.read_bytes()
    path.write_bytes(whole[: len(whole) - 1000])
    with pytest.raises(OSError, match="v73.mat"):
        ondarix.read(path)
    refused = batch("info", path, ok=False)
    assert refused.returncode == 1 and len(refused.stderr.strip().splitlines()) == 1, refused.stderr
