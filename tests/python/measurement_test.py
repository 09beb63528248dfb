"""Measurements in Python: files read and written as ondarix-batch convert
does, the numpy views of the core's block, and the errors."""

import gc

import numpy
import pytest

import ondarix
from conftest import batch_reason


@pytest.mark.parametrize("extension", ["TXT", "M11", "INT"])
def test_write_gives_the_bytes_of_batch_convert(batch, sample, tmp_path, extension):
    batch("convert", sample, tmp_path / f"batch.{extension}")
    ondarix.write(ondarix.read(sample), str(tmp_path / f"python.{extension}"))
    assert (tmp_path / f"python.{extension}").read_bytes() == (
        tmp_path / f"batch.{extension}"
    ).read_bytes()


def test_read_gives_the_block_batch_prints(batch, sample):
    m = ondarix.read(sample)
    # `block` prints "%5e\t%5e\t%5e" (x, re, im) per row of the block.
    printed = batch("block", sample, "--channel", 2, "--from", 0, "--to", 50).stdout.split()
    values = numpy.array(printed, dtype=float).reshape(-1, 3)
    # A real record is its float32 samples, one column per channel, shared
    # with `real` and not copied.
    assert m.samples.shape == (4096, 4) and m.samples.dtype == numpy.float32
    assert numpy.shares_memory(m.samples, m.real) and m.samples.flags.f_contiguous
    numpy.testing.assert_allclose(values[:, 1], m.real[: len(values), 2], rtol=1e-5, atol=1e-12)
    assert m.rate == 50.0
    assert [c.name for c in m.channels][0] == "Flap displacement"
    assert m.date is not None and m.date.year >= 1980


def test_measurement_from_arrays_reads_back(tmp_path):
    values = numpy.array([[1.5, -2.0], [0.25, 3.0], [4.0, 0.5]], dtype=numpy.float64)
    m = ondarix.Measurement(values, 20.0, name="Made", channels=[("A", "cm"), ("B", "m", 2.0, 1.0)])
    ondarix.write(m, str(tmp_path / "made.INT"))
    back = ondarix.read(str(tmp_path / "made.INT"))
    numpy.testing.assert_array_equal(back.real, values.astype(numpy.float32))
    assert back.rate == pytest.approx(20.0)
    assert [(c.name, c.unit) for c in back.channels] == [("A", "cm"), ("B", "m")]
    assert m.channels[1].coefficient == 2.0 and m.channels[1].constant == 1.0


def test_complex_samples_are_kept_whole():
    values = numpy.array([1 + 2j, -0.5 - 0.25j, 3j], dtype=numpy.complex128)
    m = ondarix.Measurement(values, 10.0)
    assert m.samples.shape == (3, 1)
    numpy.testing.assert_array_equal(m.samples[:, 0], values.astype(numpy.complex64))


class TestZeroCopy:
    def test_arrays_share_the_block_and_keep_it_alive(self, sample):
        m = ondarix.read(sample)
        complex_view, real_view = m.samples, m.real
        assert complex_view.base is m and real_view.base is m
        assert numpy.shares_memory(complex_view, real_view)
        del m
        gc.collect()
        # The arrays still hold the measurement: reading them is safe.
        assert complex_view.real.sum() == pytest.approx(float(real_view.sum()), rel=1e-5)

    def test_writing_to_the_array_changes_what_the_core_sees(self, sample):
        m = ondarix.read(sample)
        m.real[100, 1] = 7.5
        assert ondarix.statistics(m, 1, 0, 200).maximum == 7.5
        m.samples[:, 1] = 0
        stats = ondarix.statistics(m, 1, 0, 4096)
        assert (stats.minimum, stats.maximum) == (0.0, 0.0)


class TestErrors:
    def test_unreadable_file_raises_oserror_with_batch_reason(self, batch, tmp_path):
        missing = tmp_path / "missing.INT"
        reason = batch_reason(batch("info", missing, ok=False))
        with pytest.raises(OSError) as raised:
            ondarix.read(str(missing))
        assert str(raised.value) == reason

    def test_corrupt_file_raises_oserror_with_batch_reason(self, batch, tmp_path):
        broken = tmp_path / "broken.M11"
        broken.write_bytes(b"\x01\x02 not a measurement")
        reason = batch_reason(batch("info", broken, ok=False))
        with pytest.raises(OSError) as raised:
            ondarix.read(str(broken))
        assert str(raised.value) == reason

    def test_wav_cannot_be_written(self, batch, sample, tmp_path):
        reason = batch_reason(batch("convert", sample, tmp_path / "x.WAV", ok=False))
        with pytest.raises(ValueError, match=reason.replace("(", r"\(").replace(")", r"\)")):
            ondarix.write(ondarix.read(sample), str(tmp_path / "x.WAV"))
        assert not (tmp_path / "x.WAV").exists()

    def test_a_measurement_without_samples_is_not_written(self, tmp_path):
        empty = ondarix.Measurement(numpy.zeros((0, 2)), 50.0)
        assert empty.samples.shape == (0, 2)
        with pytest.raises(OSError, match="no samples"):
            ondarix.write(empty, str(tmp_path / "empty.INT"))
        assert not (tmp_path / "empty.INT").exists()

    def test_unknown_type_is_refused(self, sample):
        with pytest.raises(ValueError, match="unknown type 'xls'"):
            ondarix.read(sample, type="xls")

    def test_types_are_those_of_batch(self, batch, sample, tmp_path):
        # Both list the one table's types: read's refusal names what
        # ondarix-batch accepts, and every one of them is taken as a type.
        names = batch("--help").stdout.split("Input types: ")[1].split(" (")[0].split(", ")
        with pytest.raises(ValueError) as raised:
            ondarix.read(sample, type="xls")
        assert str(raised.value) == batch_reason(
            batch("info", sample, "--type", "xls", ok=False)
        ).replace("--type", "type")
        for name in names:
            assert name in str(raised.value)
            try:
                ondarix.read(sample, type=name)
            except OSError:
                pass  # the sample is an .INT; only an unknown type is a ValueError

    def test_bad_arrays_and_rates_are_refused(self):
        with pytest.raises(ValueError, match="sample rate"):
            ondarix.Measurement(numpy.zeros(4), 0.0)
        with pytest.raises(ValueError, match="1 to 64 channels"):
            ondarix.Measurement(numpy.zeros((4, 65)), 50.0)
        with pytest.raises(ValueError, match="2 channels but 1"):
            ondarix.Measurement(numpy.zeros((4, 2)), 50.0, channels=[("A", "m")])
