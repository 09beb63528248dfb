"""ondarix.sea makes the drive ondarix-batch sea makes, byte for byte for a
seed, corrects it from a record as the command does, and refuses what the
command refuses with the same reasons."""

import json
import os

import numpy
import pytest

import ondarix
from conftest import batch_reason

SEA = {"hm0": 0.1, "tp": 1.6, "depth": 0.6, "duration": 600}


def batch_args(paddle, **extra):
    args = ["sea", "--spectrum", "jonswap", "--hm0", 0.1, "--tp", 1.6, "--depth", 0.6,
            "--paddle", paddle, "--duration", 600]
    for key, value in extra.items():
        args += [f"--{key.replace('_', '-')}", value]
    return args


@pytest.mark.parametrize("paddle,extra", [
    ("piston", {}),
    ("flap", {"hinge": 0.1, "method": "amplitude", "seed": 99}),
])
def test_same_seed_same_bytes_as_batch(batch, tmp_path, paddle, extra):
    printed = json.loads(batch(*batch_args(paddle, **extra), "--json", "-o",
                               tmp_path / "batch.M11").stdout)
    result = ondarix.sea(paddle=paddle, **SEA, **extra)
    ondarix.write(result.drive, tmp_path / "python.M11")
    assert (tmp_path / "python.M11").read_bytes() == (tmp_path / "batch.M11").read_bytes()
    assert result.report == printed
    # Two runs in Python agree too.
    again = ondarix.sea(paddle=paddle, **SEA, **extra)
    assert numpy.array_equal(again.drive.samples, result.drive.samples)


def test_target_spectrum_and_drive_channels():
    result = ondarix.sea(paddle="piston", **SEA)
    df = result.frequencies[1] - result.frequencies[0]
    assert df == pytest.approx(1 / 600)
    assert 4 * numpy.sqrt(numpy.sum(result.density) * df) == pytest.approx(0.1, rel=1e-12)
    assert result.frequencies[numpy.argmax(result.density)] == pytest.approx(1 / 1.6, abs=df)
    assert [c.unit for c in result.drive.channels] == ["m", "m/s"]
    stroke = result.drive.samples[:, 0].real
    assert stroke.max() - stroke.min() == pytest.approx(result.report["stroke"], rel=1e-6)


def test_regular_sea_needs_no_spectrum():
    result = ondarix.sea(regular=(0.08, 1.37), depth=0.6, paddle="flap", duration=120)
    assert result.report["spectrum"] == "regular"
    assert result.report["Tp"] == 1.37
    assert len(result.frequencies) == 0


def test_correction_round_as_batch(batch, tmp_path):
    # A record of a sea a little off the target: its peak too low.
    t = numpy.arange(30000) / 50
    rng = numpy.random.default_rng(5)
    f = numpy.linspace(0.35, 1.8, 400)
    a = 0.1 / 4 * numpy.sqrt(2 / len(f)) * numpy.where(f > 0.625, 0.8, 1.0)
    record = (a * numpy.cos(2 * numpy.pi * numpy.outer(t, f) +
                            rng.uniform(0, 2 * numpy.pi, len(f)))).sum(axis=1)
    gauge = ondarix.Measurement(record.astype(numpy.float32).reshape(-1, 1), 50.0)
    ondarix.write(gauge, tmp_path / "gauge.INT")
    printed = json.loads(batch(*batch_args("flap"), "--correct", tmp_path / "gauge.INT",
                               "--from", 500, "--smooth", 3, "--json", "-o",
                               tmp_path / "batch.M11").stdout)
    result = ondarix.sea(paddle="flap", **SEA, correct=tmp_path / "gauge.INT", start=500,
                         smooth=3)
    ondarix.write(result.drive, tmp_path / "python.M11")
    assert (tmp_path / "python.M11").read_bytes() == (tmp_path / "batch.M11").read_bytes()
    assert result.report == printed
    assert 0.5 <= result.report["gain_min"] < result.report["gain_max"] <= 2
    # The previous drive given as a measurement.
    previous = ondarix.sea(paddle="flap", **SEA).drive
    again = ondarix.sea(paddle="flap", **SEA, correct=gauge, start=500, smooth=3, drive=previous)
    assert again.report["measured_Hm0"] == result.report["measured_Hm0"]
    # 29500 rows from row 500 are short of the 600 s repeat period: Welch, and it says so.
    assert (result.report["measured_from"], result.report["measured_to"]) == (500, 29999)
    assert result.report["measured_periods"] == 0
    assert "less than one repeat period (600 s)" in result.report["warning"]


def test_correction_over_a_whole_repeat_period_is_exact():
    # A drive without ramps, looped, and a gauge that saw its components,
    # those above the peak at 0.8 of their height, for one and a half periods.
    target = ondarix.sea(paddle="flap", ramp=0, **SEA)
    df = 1 / 600
    t = numpy.arange(45000) / 50
    rng = numpy.random.default_rng(3)
    a = numpy.sqrt(2 * target.density * df) * numpy.where(target.frequencies > 0.625, 0.8, 1.0)
    phases = rng.uniform(0, 2 * numpy.pi, len(a))
    record = numpy.zeros(len(t))
    for f, amplitude, phase in zip(target.frequencies, a, phases):
        record += amplitude * numpy.cos(2 * numpy.pi * f * t + phase)
    gauge = ondarix.Measurement(record.reshape(-1, 1), 50.0)
    result = ondarix.sea(paddle="flap", ramp=0, **SEA, correct=gauge)
    assert "warning" not in result.report
    assert (result.report["measured_from"], result.report["measured_to"]) == (0, 29999)
    assert result.report["measured_periods"] == 1
    assert result.report["gain_min"] == pytest.approx(1, abs=0.001)
    assert result.report["gain_max"] == pytest.approx(1.25, abs=0.001)
    assert result.report["band_error"] == pytest.approx(0.36, abs=0.001)
    # With --from, the periods start there.
    later = ondarix.sea(paddle="flap", ramp=0, **SEA, correct=gauge, start=7000)
    assert (later.report["measured_from"], later.report["measured_to"]) == (7000, 36999)
    assert later.report["gain_max"] == pytest.approx(1.25, abs=0.001)


# The command adds that it wrote nothing where it had a drive to write.
@pytest.mark.parametrize("change,options,suffix", [
    ({"hm0": 0}, ["--hm0", 0], ""),
    ({"tp": 1.6, "fmin": 0.7}, ["--fmin", 0.7], ""),
    ({"depth": -1}, ["--depth", -1], ""),
    ({"paddle": "flap", "hinge": 0.6}, ["--paddle", "flap", "--hinge", 0.6], ""),
    ({"max_stroke": 0.01}, ["--max-stroke", 0.01], "; nothing written"),
])
def test_bad_input_as_batch(batch, tmp_path, change, options, suffix):
    keywords = {"paddle": "piston", **SEA, **change}
    with pytest.raises(ValueError) as raised:
        ondarix.sea(**keywords)
    done = batch(*batch_args("piston"), *options, "-o", tmp_path / "d.M11", ok=False)
    assert done.returncode == 1
    assert batch_reason(done) == str(raised.value) + suffix


def test_bad_tables_and_keywords(tmp_path):
    table = tmp_path / "s.csv"
    table.write_text("f,S\n0.2,1\n0.6,2\n0.5,3\n")
    with pytest.raises(ValueError, match="frequencies must increase"):
        ondarix.sea(spectrum=table, paddle="piston", **SEA)
    with pytest.raises(OSError, match="cannot open the spectrum table"):
        ondarix.sea(spectrum=tmp_path / "none.txt", paddle="piston", **SEA)
    with pytest.raises(ValueError, match="sea needs paddle="):
        ondarix.sea(**SEA)
    with pytest.raises(ValueError, match="paddle is piston or flap"):
        ondarix.sea(paddle="wedge", **SEA)
    with pytest.raises(ValueError, match="seed"):
        ondarix.sea(paddle="piston", seed=-1, **SEA)


@pytest.mark.parametrize("change,reason", [
    ({"hm0": 1e200, "max_stroke": 0.5}, "Hm0 must be at most 0.78 of the depth"),
    ({"hm0": 5.0}, "Hm0 must be at most 0.78 of the depth"),
    ({"depth": 10.0, "hm0": 0.4, "tp": 1.0}, "1/7 of the wavelength at the peak period"),
    ({"paddle": "flap", "hinge": 0.6 - 1e-10}, "the paddle makes a wave of only"),
    ({"fmin": -0.1}, "fmin must be a number >= 0 Hz"),
    ({"fmax": float("nan")}, "fmax must be a number >= 0 Hz"),
    ({"ramp": -0.5}, "the ramps must be a number of seconds >= 0"),
])
def test_seas_beyond_the_flume_are_value_errors(change, reason):
    with pytest.raises(ValueError, match=reason):
        ondarix.sea(**{"paddle": "piston", **SEA, **change})


def test_keywords_of_the_wrong_type_are_type_errors_naming_them():
    for keyword, value in [("hm0", "0.1"), ("depth", [0.6]), ("paddle", 1), ("dt", True),
                           ("smooth", 2.5), ("seed", 5.0)]:
        with pytest.raises(TypeError, match=f"^{keyword} must be"):
            ondarix.sea(**{"paddle": "piston", **SEA, keyword: value})
    # numpy's numbers are numbers; a seed keeps its range.
    a = ondarix.sea(paddle="piston", **{**SEA, "hm0": numpy.float64(0.1)}, seed=numpy.uint64(5))
    b = ondarix.sea(paddle="piston", **SEA, seed=5)
    assert numpy.array_equal(a.drive.samples, b.drive.samples)
    with pytest.raises(ValueError, match="seed"):
        ondarix.sea(paddle="piston", **SEA, seed=numpy.int64(-1))
    with pytest.raises(ValueError, match="seed"):
        ondarix.sea(paddle="piston", **SEA, seed=2**64)


# Drives written before focused groups and solitary waves were added: a sea
# of a spectrum or a regular wave must keep its bytes for the same seed.
@pytest.mark.parametrize("name,keywords", [
    ("drive_piston_jonswap_seed7", dict(spectrum="jonswap", hm0=0.1, tp=1.6, depth=0.6,
                                        paddle="piston", duration=60, seed=7)),
    ("drive_flap_tma_seed99", dict(spectrum="tma", hm0=0.08, tp=1.2, gamma=2, depth=0.5,
                                   paddle="flap", hinge=0.1, duration=40, dt=0.01, seed=99,
                                   method="amplitude")),
    ("drive_piston_regular", dict(regular=(0.05, 1.3), depth=0.6, paddle="piston",
                                  duration=30)),
])
def test_drives_keep_their_bytes(tmp_path, name, keywords):
    ondarix.write(ondarix.sea(**keywords).drive, tmp_path / "now.M11")
    kept = os.path.join(os.path.dirname(__file__), "data", name + ".M11")
    assert (tmp_path / "now.M11").read_bytes() == open(kept, "rb").read()


def test_focused_group_and_solitary_wave_as_batch(batch, tmp_path):
    printed = json.loads(batch(*batch_args("piston"), "--focused", "--focus-distance", 5,
                               "--json", "-o", tmp_path / "f.M11").stdout)
    focused = ondarix.sea(paddle="piston", focused=True, focus_distance=5, **SEA)
    assert focused.report == printed
    assert printed["focus_time"] == 300  # the middle of the drive
    assert printed["focus_crest"] == pytest.approx(0.1 / 4 * numpy.sqrt(2 * numpy.log(1000)))
    solitary = ondarix.sea(solitary=0.1, depth=0.4, paddle="piston", duration=20)
    assert solitary.report["spectrum"] == "solitary"
    stroke = solitary.drive.samples[:, 0].real
    assert stroke[-1] == pytest.approx(numpy.sqrt(16 * 0.4 * 0.1 / 3), rel=1e-5)
    with pytest.raises(ValueError, match="made by a piston, not a flap"):
        ondarix.sea(solitary=0.1, depth=0.4, paddle="flap", duration=20)
    with pytest.raises(ValueError, match="crest= belongs to focused=True"):
        ondarix.sea(paddle="piston", crest=0.05, **SEA)
    done = batch(*batch_args("piston"), "--crest", 0.05, "-o", tmp_path / "c.M11", ok=False)
    assert done.returncode == 2


@pytest.mark.parametrize("shape,extra,options", [
    ("bm", {"hm0": 0.1, "tp": 1.6}, ["--hm0", 0.1, "--tp", 1.6]),
    ("gaussian", {"hm0": 0.05, "tp": 2.0, "sigma": 0.02},
     ["--hm0", 0.05, "--tp", 2.0, "--sigma", 0.02]),
    ("ochi-hubble", {"ochi_hubble": (0.05, 3, 3, 0.08, 1.4, 1.5)},
     ["--ochi-hubble", "0.05,3,3,0.08,1.4,1.5"]),
])
def test_more_spectra_as_batch(batch, tmp_path, shape, extra, options):
    args = ["sea", "--spectrum", shape, *options, "--depth", 0.8, "--paddle", "piston",
            "--duration", 600, "--json", "-o", tmp_path / "d.M11"]
    printed = json.loads(batch(*args).stdout)
    result = ondarix.sea(spectrum=shape, depth=0.8, paddle="piston", duration=600, **extra)
    assert result.report == printed
    df = result.frequencies[1] - result.frequencies[0]
    hm0 = 4 * numpy.sqrt(numpy.sum(result.density) * df)
    assert hm0 == pytest.approx(numpy.hypot(0.05, 0.08) if shape == "ochi-hubble"
                                else extra["hm0"], rel=1e-12)
    if shape == "ochi-hubble":
        # Two peaks: the swell's at 1/3 Hz and the wind sea's at 1/1.4 Hz.
        f, s = result.frequencies, result.density
        for peak in (1 / 3, 1 / 1.4):
            near = numpy.abs(f - peak) < 0.05
            assert abs(f[near][numpy.argmax(s[near])] - peak) < 0.01
    with pytest.raises(ValueError):
        ondarix.sea(spectrum=shape, depth=0.8, paddle="flap", hinge=0.9, duration=600, **extra)


def test_composite_sea_sums_parts_each_at_its_own_hm0(batch, tmp_path):
    swell = {"spectrum": "jonswap", "hm0": 0.05, "tp": 3.0, "gamma": 5.0}
    wind = {"spectrum": "pm", "hm0": 0.08, "tp": 1.4}
    both = ondarix.sea(spectrum=[swell, wind], depth=0.8, paddle="piston", duration=600)
    printed = json.loads(batch("sea", "--spectrum", "jonswap", "--hm0", 0.05, "--tp", 3,
                               "--gamma", 5, "--spectrum", "pm", "--hm0", 0.08, "--tp", 1.4,
                               "--gamma", 3.3, "--depth", 0.8, "--paddle", "piston",
                               "--duration", 600, "--json", "-o", tmp_path / "c.M11").stdout)
    assert both.report == printed
    assert printed["spectrum"] == "composite"
    f, s = both.frequencies, both.density
    df = f[1] - f[0]
    assert 4 * numpy.sqrt(s.sum() * df) == pytest.approx(numpy.hypot(0.05, 0.08), rel=1e-12)
    # Each part alone, over the same band, is the composite's share.
    for part in (swell, wind):
        alone = ondarix.sea(spectrum=part["spectrum"], hm0=part["hm0"], tp=part["tp"],
                            gamma=part.get("gamma", 3.3) if part["spectrum"] == "jonswap" else 3.3,
                            fmin=f[0], fmax=f[-1], depth=0.8, paddle="piston", duration=600)
        peak = numpy.argmax(alone.density)
        share = alone.density[peak] / both.density[numpy.searchsorted(f, alone.frequencies[peak])]
        assert 0.5 < share <= 1 + 1e-12
    with pytest.raises(ValueError, match="each part of a composite sea needs tp"):
        ondarix.sea(spectrum=[swell, {"spectrum": "pm", "hm0": 0.05}], depth=0.8,
                    paddle="piston", duration=600)
    done = batch("sea", "--spectrum", "jonswap", "--hm0", 0.05, "--tp", 3, "--spectrum", "pm",
                 "--tp", 1.4, "--depth", 0.8, "--paddle", "piston", "--duration", 600, "-o",
                 tmp_path / "bad.M11", ok=False)
    assert done.returncode == 2
    assert "needs its own --hm0 and --tp" in done.stderr
