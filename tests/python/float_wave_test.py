"""Float .WAV files written by soundfile (32- and 64-bit, plain and extensible)
read as soundfile reads them: samples as stored, no scaling; a 64-bit sample
is rounded to the float32 a measurement holds."""

import numpy
import pytest

import ondarix

soundfile = pytest.importorskip("soundfile")

RATE = 2000


def samples(channels):
    """A sweep of magnitudes beyond the [-1, 1] of audio, with NaN and infinities."""
    rows = 64
    values = numpy.linspace(-40.0, 40.0, rows * channels).reshape(rows, channels) ** 3 / 7
    values[3, 0] = numpy.nan
    values[5, channels - 1] = numpy.inf
    values[6, 0] = -numpy.inf
    values[7, 0] = 1e-9
    return values


@pytest.mark.parametrize("layout", ["WAV", "WAVEX"])
@pytest.mark.parametrize("subtype", ["FLOAT", "DOUBLE"])
@pytest.mark.parametrize("channels", [1, 2, 5])
def test_soundfile_float_wave_reads_as_soundfile_reads_it(tmp_path, layout, subtype, channels):
    path = str(tmp_path / "float.wav")
    soundfile.write(path, samples(channels), RATE, subtype=subtype, format=layout)
    expected, rate = soundfile.read(path, dtype="float64", always_2d=True)
    m = ondarix.read(path)
    assert m.rate == rate == RATE
    assert len(m.channels) == channels
    assert m.real.shape == expected.shape
    # The measurement stores float32: a FLOAT file is equal, a DOUBLE file equal
    # after the same rounding.
    numpy.testing.assert_array_equal(m.real, expected.astype(numpy.float32))
    if subtype == "FLOAT":
        numpy.testing.assert_array_equal(m.real.astype(numpy.float64), expected)


def test_batch_info_describes_a_float_wave(tmp_path, batch):
    path = str(tmp_path / "float.wav")
    soundfile.write(path, samples(3)[10:], RATE, subtype="DOUBLE", format="WAVEX")
    info = batch("info", path).stdout
    assert "format:      5 (real)" in info
    assert "sample rate: 2000" in info
    assert "channels:    3" in info
    assert "samples:     54" in info


def test_cut_float_wave_is_refused_or_read_partly(tmp_path):
    path = tmp_path / "cut.wav"
    values = samples(2)[10:]
    soundfile.write(str(path), values, RATE, subtype="FLOAT")
    path.write_bytes(path.read_bytes()[:-12])  # the last row and half of the one before
    with pytest.raises(OSError, match="only the first 52 of 54 rows"):
        ondarix.read(str(path))
    with pytest.warns(UserWarning):
        m = ondarix.read(str(path), partial=True)
    numpy.testing.assert_array_equal(m.real, values[:52].astype(numpy.float32))
