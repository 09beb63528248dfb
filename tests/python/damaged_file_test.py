"""Files cut short, with data after their samples, or of no channel: refused
as ondarix-batch refuses them, or read with partial=True and a warning."""

import warnings

import numpy
import pytest

import ondarix
from conftest import batch_reason

ROWS = 100


@pytest.fixture
def cut(tmp_path):
    """An .INT of 100 rows of 2 channels cut inside its last row, and the rows."""
    values = numpy.arange(2 * ROWS, dtype=numpy.float64).reshape(ROWS, 2) / 8
    path = tmp_path / "cut.INT"
    ondarix.write(ondarix.Measurement(values, 50.0), str(path))
    path.write_bytes(path.read_bytes()[:-6])
    return str(path), values


def test_cut_file_is_refused_with_the_batch_reason_naming_its_rows(batch, cut):
    path, _ = cut
    reason = batch_reason(batch("info", path, ok=False))
    assert "only the first 99 of 100 rows are complete" in reason
    with pytest.raises(OSError) as raised:
        ondarix.read(path)
    assert str(raised.value) == reason


def test_partial_read_keeps_the_complete_rows_and_warns_as_batch_does(batch, cut):
    path, values = cut
    warned = batch("info", path, "--partial").stderr.strip()
    with pytest.warns(UserWarning) as caught:
        m = ondarix.read(path, partial=True)
    assert [str(w.message) for w in caught] == [warned[len("ondarix-batch: warning: ") :]]
    assert str(caught[0].message) == f"{path}: read 99 of 100 rows; the rest of the file is damaged"
    assert len(m) == ROWS - 1
    numpy.testing.assert_array_equal(m.real, values[: ROWS - 1].astype(numpy.float32))


def test_a_partial_read_is_never_silent(cut):
    path, _ = cut
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        with pytest.raises(UserWarning, match="read 99 of 100 rows"):
            ondarix.read(path, partial=True)


def test_a_whole_file_reads_without_a_warning_also_when_partial(tmp_path):
    path = tmp_path / "tail.TXT"
    path.write_bytes(b"0\t1\r\n0.02\t2\r\n0.04\t3\r\n\r\n  \r\n")
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        for partial in (False, True):
            m = ondarix.read(str(path), partial=partial)
            assert len(m) == 3 and m.real[2, 0] == 3.0


def test_bytes_after_the_samples_are_named_in_a_warning(tmp_path):
    path = tmp_path / "long.INT"
    ondarix.write(ondarix.Measurement(numpy.ones((10, 1)), 10.0), str(path))
    path.write_bytes(path.read_bytes() + bytes(1234))
    with pytest.warns(UserWarning, match="1234 bytes after the samples were ignored"):
        m = ondarix.read(str(path))
    assert len(m) == 10


def test_a_file_of_zeros_is_no_measurement(batch, tmp_path):
    path = tmp_path / "zeros.INT"
    path.write_bytes(bytes(20 * 1024))
    reason = batch_reason(batch("info", path, ok=False))
    assert reason.endswith("the file holds no channel")
    for partial in (False, True):
        with pytest.raises(OSError) as raised:
            ondarix.read(str(path), partial=partial)
        assert str(raised.value) == reason


def test_a_file_that_crashes_the_hdf5_library_is_an_oserror_and_python_goes_on(
    batch, sample, tmp_path
):
    # The bundled sample written as HDF5 with one byte of its attribute
    # metadata changed: libhdf5 1.10 dies of a segmentation fault reading it
    # (h5py too). Read in its own process, it is one error and no more.
    path = tmp_path / "crashing.h5"
    ondarix.write(ondarix.read(sample), str(path))
    damaged = bytearray(path.read_bytes())
    damaged[4271] = 202
    path.write_bytes(bytes(damaged))
    with pytest.raises(OSError, match="crashing.h5: "):
        ondarix.read(path)
    done = batch("info", path, ok=False)
    assert done.returncode == 1 and len(done.stderr.strip().splitlines()) == 1
    # The interpreter, and the module's HDF5 use, go on as before.
    assert ondarix.read(sample).rate > 0
    ondarix.write(ondarix.read(sample), str(tmp_path / "again.h5"))
    assert ondarix.read(tmp_path / "again.h5").samples.shape == ondarix.read(sample).samples.shape
