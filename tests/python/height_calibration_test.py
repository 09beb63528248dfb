"""ondarix.waves' height distribution and ondarix.calibrate against
ondarix-batch, and their refusals."""

import json
import struct

import numpy
import pytest

import ondarix
from conftest import batch_reason

PREDICTED = {"htr": "BG Htr", "hrms": "BG Hrms", "htr_hrms": "BG Htr/Hrms",
             "h1_hrms": "BG H1/Hrms", "h2_hrms": "BG H2/Hrms", "h13": "BG H1/3",
             "h110": "BG H1/10", "h2_percent": "BG H2%", "h1_percent": "BG H1%"}


def test_height_distribution_equals_batch_waves(batch, sample):
    printed = json.loads(batch("waves", sample, "--channel", 1, "--depth", 0.3, "--slope", 0.02,
                               "--json").stdout)
    result = ondarix.waves(ondarix.read(sample), 1, depth=0.3, slope=0.02)
    assert (result.hm0, result.h2_percent, result.h1_percent, result.hmax_hm0) == (
        printed["Hm0"], printed["H2%"], printed["H1%"], printed["Hmax/Hm0"])
    assert result.predicted == {name: printed[key] for name, key in PREDICTED.items()}
    for column in ("H", "measured", "Rayleigh", "Weibull"):
        field = "height" if column == "H" else column.lower()
        assert list(result.exceedance[field]) == printed["exceedance " + column]
    plain = ondarix.waves(ondarix.read(sample), 1)
    assert plain.predicted is None and plain.exceedance["weibull"].isna().all()
    with pytest.raises(ValueError, match="depth and slope go together"):
        ondarix.waves(ondarix.read(sample), 1, depth=0.3)
    with pytest.raises(ValueError, match="the depth must be a number > 0"):
        ondarix.waves(ondarix.read(sample), 1, depth=0.0, slope=0.0)


def counts_file(path, counts, coefficient, constant, rate=50.0):
    """A one-channel .INT file of layout 4: 16-bit counts the reader scales."""
    head = struct.pack("<dBbi", rate, 1, 4, len(counts))
    name = struct.pack("<IB", 0, 3) + b"cal".ljust(60, b"\0")
    record = (struct.pack("<dB", coefficient, 1) + b"m".ljust(7, b"\0") + struct.pack("<B", 5)
              + b"gauge".ljust(40, b"\0") + struct.pack("<5d", constant, 0, 0, 0, 0))
    path.write_bytes(head + name + record + numpy.asarray(counts, "<i2").tobytes())


def calibration_counts(levels, per_count, zero, seed=3):
    """8 s at each level, 3 s moves between, noise of 3 counts, at 50 Hz."""
    rng = numpy.random.default_rng(seed)
    track = []
    for i, level in enumerate(levels):
        track += [level] * 400
        if i + 1 < len(levels):
            track += list(numpy.linspace(level, levels[i + 1], 150, endpoint=False))
    counts = (numpy.asarray(track) - zero) / per_count + rng.normal(0, 3, len(track))
    return numpy.round(counts).astype(numpy.int16)


LEVELS = [-0.1, -0.05, 0.0, 0.05, 0.1]


def test_calibrate_equals_batch_and_applies_to_an_int_file(batch, tmp_path):
    record, target = tmp_path / "cal.INT", tmp_path / "run.INT"
    counts_file(record, calibration_counts(LEVELS, 1e-4, -0.3), 0.5, 1.0)
    counts_file(target, [1000, 3000], 2.0, -3.0)
    printed = json.loads(batch("calibrate", record, "--channel", 0, "--levels",
                               ",".join(map(str, LEVELS)), "--json").stdout)
    result = ondarix.calibrate(str(record), 0, LEVELS, apply=target)
    assert (result.coefficient, result.constant, result.r2, result.largest_residual) == (
        printed["coefficient"], printed["constant"], printed["r2"], printed["largest residual"])
    assert result.coefficient == pytest.approx(1e-4, rel=0.005)
    assert list(result.stretches["raw"]) == printed["raw"]
    again = ondarix.read(target)
    assert again.channels[0].coefficient == result.coefficient
    assert again.samples[1, 0].real == pytest.approx(3000 * result.coefficient + result.constant)
    # An array is taken as raw values as they are.
    values = calibration_counts(LEVELS, 1e-4, -0.3).astype(float)
    from_array = ondarix.calibrate(values, 0, LEVELS, rate=50.0)
    assert from_array.coefficient == pytest.approx(1e-4, rel=0.005)


def test_calibrate_refusals_match_batch(batch, tmp_path):
    record = tmp_path / "cal.INT"
    counts_file(record, calibration_counts(LEVELS, 1e-4, -0.3), 1.0, 0.0)
    for levels in ([0.1], [-0.15] + LEVELS, [-0.1, -0.05, 0.05, 0.0, 0.1]):
        done = batch("calibrate", record, "--channel", 0, "--levels",
                     ",".join(map(str, levels)), ok=False)
        assert done.returncode == 1
        with pytest.raises(ValueError) as caught:
            ondarix.calibrate(str(record), 0, levels)
        assert str(caught.value) == batch_reason(done)
    forced = ondarix.calibrate(str(record), 0, [-0.1, -0.05, 0.05, 0.0, 0.1], force=True,
                               windows=[(1, 7), (12, 18), (23, 29), (34, 40), (45, 51)])
    assert forced.r2 == pytest.approx(0.81, abs=1e-3)


def run_file(path, channels, counts):
    """A layout 4 .INT file of several gauges, each with coefficient 2 and
    constant -3; channel c reads counts + 100 c."""
    head = struct.pack("<dBbi", 50.0, channels, 4, len(counts))
    name = struct.pack("<IB", 0, 3) + b"run".ljust(60, b"\0")
    record = (struct.pack("<dB", 2.0, 1) + b"m".ljust(7, b"\0") + struct.pack("<B", 5)
              + b"gauge".ljust(40, b"\0") + struct.pack("<5d", -3.0, 0, 0, 0, 0))
    rows = numpy.asarray(counts)[:, None] + 100 * numpy.arange(channels)[None, :]
    path.write_bytes(head + name + record * channels + rows.astype("<i2").tobytes())


def test_calibrate_to_channel_and_a_target_that_keeps_no_coefficient(batch, tmp_path):
    record, target, csv = tmp_path / "cal.INT", tmp_path / "run.INT", tmp_path / "run.csv"
    counts_file(record, calibration_counts(LEVELS, 1e-4, -0.3), 1.0, 0.0)
    run_file(target, 3, [1000, 3000])
    result = ondarix.calibrate(str(record), 0, LEVELS, apply=target, to_channel=2)
    again = ondarix.read(target)
    assert again.channels[2].coefficient == result.coefficient
    assert again.channels[0].coefficient == again.channels[1].coefficient == 2.0
    assert again.samples[1, 2].real == pytest.approx(3200 * result.coefficient + result.constant)
    # A CSV file would need its values rewritten: refused as ondarix-batch
    # refuses it, the file as it was.
    csv.write_text("time,gauge\n0,1000\n0.02,3000\n")
    done = batch("calibrate", record, "--channel", 0, "--levels", ",".join(map(str, LEVELS)),
                 "--apply", csv, ok=False)
    assert done.returncode == 1
    with pytest.raises(ValueError) as caught:
        ondarix.calibrate(str(record), 0, LEVELS, apply=csv)
    assert str(caught.value) == batch_reason(done)
    assert csv.read_text() == "time,gauge\n0,1000\n0.02,3000\n"
    before = target.read_bytes()
    with pytest.raises(TypeError, match="to_channel must be a whole number"):
        ondarix.calibrate(str(record), 0, LEVELS, apply=target, to_channel="2")
    with pytest.raises(OSError, match="has no channel 3"):
        ondarix.calibrate(str(record), 0, LEVELS, apply=target, to_channel=3)
    assert target.read_bytes() == before
