"""The wave analyses in Python give what their ondarix-batch commands give on
the same block, find known waves in synthetic seas, refuse what the commands
refuse with the same reasons, and let Python run while they compute."""

import json
import threading
import time

import numpy
import pytest

import ondarix
from conftest import batch_reason

# ondarix-batch's JSON names of each result field.
WAVE_FIELDS = {"count": "count", "mean": "mean", "h_max": "Hmax", "t_h_max": "THmax",
               "h13": "H1/3", "t13": "T1/3", "h110": "H1/10", "t110": "T1/10",
               "h_mean": "Hmean", "h_rms": "Hrms", "tz": "Tz", "t_max": "Tmax"}
SPECTRUM_FIELDS = {"segment": "segment", "segments": "segments", "df": "df", "fmin": "fmin",
                   "fmax": "fmax", "m_1": "m-1", "m0": "m0", "m1": "m1", "m2": "m2",
                   "variance_below_f1": "variance_below_f1",
                   "hm0": "Hm0", "fp": "fp", "tp": "Tp", "tm01": "Tm01", "tm02": "Tm02",
                   "tm10": "Tm-10", "width": "width", "qp": "Qp",
                   "tp_parabola": "Tp_parabola", "tp5": "Tp5", "tpd": "TpD", "dof": "dof",
                   "band_level": "band_level", "band_lower": "band_lower",
                   "band_upper": "band_upper"}
REFLECTION_FIELDS = {"df": "df", "segment": "segment", "spectrum_df": "spectrum_df",
                     "fmin": "fmin", "fmax": "fmax", "bins_used": "bins_used",
                     "bins_left_out": "bins_left_out", "hm0_incident": "Hm0_incident",
                     "hm0_reflected": "Hm0_reflected", "kr": "Kr"}


def assert_fields(result, printed, names):
    assert {field: getattr(result, field) for field in names} == {
        field: printed[key] for field, key in names.items()}


@pytest.mark.parametrize("options", [[], ["--up", "--threshold", 0.01]])
def test_waves_equal_batch_waves(batch, sample, tmp_path, options):
    listing = tmp_path / "waves.TXT"
    printed = json.loads(batch("waves", sample, "--channel", 1, "--from", 1000, *options,
                               "--waves-out", listing, "--json").stdout)
    keywords = {"up": True, "threshold": 0.01} if options else {}
    result = ondarix.waves(ondarix.read(sample), channel=1, start=1000, **keywords)
    assert_fields(result, printed, WAVE_FIELDS)
    rows = [line.split("\t") for line in listing.read_bytes().decode().split("\r\n")[1:] if line]
    assert list(result.waves.index) == [int(row[0]) for row in rows]
    # The listing prints six significant digits.
    numpy.testing.assert_allclose(result.waves[["start", "period", "height", "crest", "trough"]],
                                  [[float(v) for v in row[1:]] for row in rows], rtol=1e-5)


def test_too_few_waves_for_h110_give_none(batch, sample):
    # 4 waves of the sample (period 1.6 s, 80 rows): floor(4/10) = 0 waves for H1/10.
    printed = json.loads(batch("waves", sample, "--channel", 1, "--from", 1000, "--to", 1400,
                               "--json").stdout)
    result = ondarix.waves(ondarix.read(sample), 1, 1000, 1400)
    assert printed["H1/10"] is None and result.h110 is None and result.t110 is None
    assert_fields(result, printed, WAVE_FIELDS)


def test_waves_of_a_regular_wave_from_an_array():
    # 20 periods of 2 s at 40 Hz, amplitude 0.1, starting just above the mean
    # (phase 0.3): 19 whole waves between down-crossings, each H = 0.2, T = 2 s.
    t = numpy.arange(1600) / 40.0
    result = ondarix.waves(0.1 * numpy.sin(2 * numpy.pi * t / 2.0 + 0.3), rate=40.0)
    assert result.count == 19 == len(result.waves)
    assert result.h_max == pytest.approx(0.2, rel=2e-3)  # samples 1/80 period apart
    assert result.tz == pytest.approx(2.0, abs=1e-4)


def test_spectrum_equals_batch_spectrum(batch, sample, tmp_path):
    out = tmp_path / "spectrum.INT"
    printed = json.loads(batch("spectrum", sample, "--channel", 1, "--from", 1000, "--to", 4040,
                               "--segment", 800, "--fmin", 0.2, "-o", out, "--json").stdout)
    result = ondarix.spectrum(ondarix.read(sample), 1, 1000, 4040, segment=800, fmin=0.2)
    assert_fields(result, printed, SPECTRUM_FIELDS)
    written = ondarix.read(str(out))
    numpy.testing.assert_array_equal(result.measurement.samples, written.samples)
    # The file holds the densities in single precision, row j at j * df.
    numpy.testing.assert_allclose(result.density, written.real[:, 0], rtol=1e-6, atol=0)
    numpy.testing.assert_allclose(result.frequency, numpy.arange(401) * (50.0 / 800))


@pytest.mark.parametrize("detrend", ["none", "mean", "linear"])
def test_detrended_spectrum_equals_batch_and_its_band_is_chi_square(batch, tmp_path, detrend):
    # A JONSWAP-like sea of random phases on a drift of 2 cm over the record.
    from scipy.stats import chi2

    rng = numpy.random.default_rng(5)
    t = numpy.arange(12000) / 10.0
    f = numpy.arange(1, 600) / 1200.0 * 2 + 0.2
    a = 0.004 * numpy.exp(-(((f - 0.5) / 0.1) ** 2))
    phase = rng.uniform(0, 2 * numpy.pi, f.size)[:, None]
    x = (a[:, None] * numpy.cos(2 * numpy.pi * f[:, None] * t + phase)).sum(0)
    m = ondarix.Measurement(numpy.asarray(x + 0.02 * t / t[-1], dtype=numpy.float32), 10.0)
    path = tmp_path / "drift.INT"
    ondarix.write(m, str(path))
    out = tmp_path / "s.INT"
    printed = json.loads(batch("spectrum", path, "--segment", 1024, "--detrend", detrend,
                               "-o", out, "--json").stdout)
    result = ondarix.spectrum(m, segment=1024, detrend=detrend)
    assert result.detrend == detrend
    assert_fields(result, printed, SPECTRUM_FIELDS)
    written = ondarix.read(str(out))
    numpy.testing.assert_array_equal(result.measurement.samples, written.samples)
    assert [c.name for c in written.channels] == ["S(f)", "S lower 90%", "S upper 90%"]
    # The band against scipy's quantiles: half the degrees of freedom at bin
    # 0 and Nyquist, where every segment's coefficient is real.
    nu = result.dof
    assert nu == pytest.approx(36 * result.segments**2 / (19 * result.segments - 1), rel=1e-12)
    assert result.band_lower == pytest.approx(nu / chi2.ppf(0.95, nu), rel=1e-11)
    assert result.band_upper == pytest.approx(nu / chi2.ppf(0.05, nu), rel=1e-11)
    inner = slice(1, -1)
    numpy.testing.assert_allclose(result.lower[inner], result.density[inner] * result.band_lower,
                                  rtol=1e-14)
    numpy.testing.assert_allclose(result.upper[inner], result.density[inner] * result.band_upper,
                                  rtol=1e-14)
    for j in (0, -1):
        assert result.lower[j] == pytest.approx(result.density[j] * nu / 2 / chi2.ppf(0.95, nu / 2),
                                                rel=1e-11)
        assert result.upper[j] == pytest.approx(result.density[j] * nu / 2 / chi2.ppf(0.05, nu / 2),
                                                rel=1e-11)
    # The drift: the segments' means take most of it out of the bins, so
    # Hm0 is that of the waves with the mean taken out as with the line,
    # and the line's variance 0.02^2 / 12 shows below f1; kept whole, the
    # block's mean leaks through the window into bin 1.
    line = ondarix.spectrum(m, segment=1024, detrend="linear")
    assert line.hm0 == pytest.approx(4 * numpy.sqrt((a**2 / 2).sum()), rel=0.03)
    if detrend == "mean":
        assert result.hm0 == pytest.approx(line.hm0, rel=2e-3)
        assert result.variance_below_f1 - line.variance_below_f1 == pytest.approx(
            0.02**2 / 12, rel=0.05)
    elif detrend == "none":
        assert result.hm0 > line.hm0 * 1.01


def test_chi_square_quantiles_of_any_degrees_of_freedom_equal_scipys():
    # Through the band of spectra of 1 to 40 segments (nu from 2 to 75.9,
    # rarely an integer).
    from scipy.stats import chi2

    x = numpy.random.default_rng(2).standard_normal(256 * 41)
    for segments in (1, 2, 3, 5, 8, 13, 40):
        r = ondarix.spectrum(x[: 128 * (segments + 1)], rate=1.0, segment=256)
        assert r.segments == segments
        assert r.band_lower == pytest.approx(r.dof / chi2.ppf(0.95, r.dof), rel=1e-11)
        assert r.band_upper == pytest.approx(r.dof / chi2.ppf(0.05, r.dof), rel=1e-11)


def test_bad_detrend_is_the_batch_reason_without_dashes(batch, sample):
    m = ondarix.read(sample)
    for analysis, keywords in ((ondarix.spectrum, {}), (ondarix.waves, {}),
                               (ondarix.reflection, dict(positions=[0, 1, 2], depth=0.5))):
        with pytest.raises(ValueError) as raised:
            analysis(m, detrend="quadratic", **keywords)
        assert "--" + str(raised.value) == batch_reason(
            batch("spectrum", sample, "--detrend", "quadratic", ok=False))


def test_spectrum_of_a_sine_holds_its_variance():
    # A cosine of amplitude 0.5 at a bin frequency (64/1024 * 32 Hz = 2 Hz):
    # variance a^2/2 = 0.125, Hm0 = 4 sqrt(0.125), Tp = 0.5 s.
    t = numpy.arange(16384) / 32.0
    result = ondarix.spectrum(0.5 * numpy.cos(2 * numpy.pi * 2.0 * t), rate=32.0, segment=1024)
    assert result.density.sum() * result.df == pytest.approx(0.125, rel=1e-3)
    assert result.hm0 == pytest.approx(4 * numpy.sqrt(0.125), rel=1e-3)
    assert result.tp == pytest.approx(0.5)


def test_reflection_equals_batch_reflection_on_the_sample(batch, sample, tmp_path):
    out = tmp_path / "reflection.INT"
    printed = json.loads(batch("reflection", sample, "--channels", "1,2,3", "--positions",
                               "4,8,12", "--depth", 0.77, "--from", 1000, "--to", 4040,
                               "--fmin", 0.3, "--fmax", 1, "-o", out, "--json").stdout)
    result = ondarix.reflection(ondarix.read(sample), [1, 2, 3], 1000, 4040,
                                positions=[4, 8, 12], depth=0.77, fmin=0.3, fmax=1)
    assert_fields(result, printed, REFLECTION_FIELDS)
    numpy.testing.assert_array_equal(result.measurement.samples, ondarix.read(str(out)).samples)
    assert [c.name for c in result.measurement.channels] == ["S incident", "S reflected",
                                                            "separable"]
    assert result.left_out == list(zip(printed["left_out_from"], printed["left_out_to"]))


def wave_number(omega, depth):
    """omega^2 = g k tanh(k h) by bisection (g = 9.81), independent of the core."""
    lo, hi = 1e-9, 100.0
    for _ in range(200):
        k = (lo + hi) / 2
        lo, hi = (k, hi) if 9.81 * k * numpy.tanh(k * depth) < omega**2 else (lo, k)
    return k


KR = 0.3
POSITIONS = [0.0, 0.3, 0.75]
DEPTH = 0.5


@pytest.fixture(scope="module")
def sea_file(tmp_path_factory):
    """Three gauges in an incident sea of 9 waves plus its reflection with
    Kr = 0.3, every wave on a frequency of the 4096-row transform, noise
    added; written as .TXT."""
    rate, n = 50.0, 4096
    rng = numpy.random.default_rng(14)
    t = numpy.arange(n) / rate
    gauges = numpy.zeros((n, 3))
    for j in range(40, 85, 5):  # 0.49 .. 1.0 Hz
        omega = 2 * numpy.pi * j * rate / n
        k = wave_number(omega, DEPTH)
        a, phase, shift = 0.02, rng.uniform(0, 2 * numpy.pi), rng.uniform(0, 2 * numpy.pi)
        for g, x in enumerate(POSITIONS):
            gauges[:, g] += a * numpy.cos(k * x - omega * t + phase)
            gauges[:, g] += KR * a * numpy.cos(-k * x - omega * t + shift)
    gauges += rng.normal(scale=0.001, size=gauges.shape)
    path = tmp_path_factory.mktemp("sea") / "sea.TXT"
    ondarix.write(ondarix.Measurement(gauges, rate), str(path))
    return str(path)


@pytest.mark.parametrize("gauges", [2, 3])
def test_reflection_of_a_synthetic_sea(batch, sea_file, gauges):
    channels = list(range(gauges))
    positions = POSITIONS[:gauges]
    printed = json.loads(batch("reflection", sea_file, "--channels", ",".join(map(str, channels)),
                               "--positions", ",".join(map(str, positions)), "--depth", DEPTH,
                               "--fmin", 0.4, "--fmax", 1.1, "--json").stdout)
    m = ondarix.read(sea_file)
    result = ondarix.reflection(m, channels, positions=positions, depth=DEPTH, fmin=0.4, fmax=1.1)
    assert_fields(result, printed, REFLECTION_FIELDS)
    assert result.kr == pytest.approx(KR, abs=0.03)  # the Kr the sea was made with
    # The same gauges as a plain array: channels default to its columns.
    plain = ondarix.reflection(m.real[:, :gauges].copy(), rate=m.rate, positions=positions,
                               depth=DEPTH, fmin=0.4, fmax=1.1)
    assert plain.kr == result.kr


class TestRefusals:
    def reason(self, batch, *args):
        return batch_reason(batch(*args, ok=False))

    def test_wave_reasons_are_batch_reasons(self, batch, sample):
        m = ondarix.read(sample)
        cases = [(("--from", 1000, "--to", 1030), dict(start=1000, stop=1030)),
                 (("--threshold", -1), dict(threshold=-1.0)),
                 (("--from", 7, "--to", 7), dict(start=7, stop=7)),
                 (("--to", 5000), dict(stop=5000))]
        for args, keywords in cases:
            with pytest.raises(ValueError) as raised:
                ondarix.waves(m, 1, **keywords)
            assert str(raised.value) == self.reason(batch, "waves", sample, "--channel", 1, *args)

    def test_spectrum_reasons_are_batch_reasons(self, batch, sample):
        m = ondarix.read(sample)
        cases = [(("--segment", 7), dict(segment=7)),
                 (("--segment", 8192), dict(segment=8192)),
                 (("--fmin", 2, "--fmax", 1), dict(fmin=2.0, fmax=1.0)),
                 (("--fmin", 30), dict(fmin=30.0)),
                 (("--fmin", 1e30), dict(fmin=1e30)),
                 (("--fmax", 1e30), dict(fmax=1e30)),
                 (("--channel", 9), dict(channel=9))]
        for args, keywords in cases:
            with pytest.raises(ValueError) as raised:
                ondarix.spectrum(m, **keywords)
            assert str(raised.value) == self.reason(batch, "spectrum", sample, *args)

    def test_reflection_reasons_are_batch_reasons(self, batch, sample):
        m = ondarix.read(sample)
        cases = [("1", [4], 0.77), ("1,2", [4, 4], 0.77), ("1,2", [4, 8], 0),
                 ("1,2,3,0", [4, 8, 12, 12], 0.77), ("1,9", [4, 8], 0.77),
                 ("1,1,1", [4, 8, 12], 0.77), ("2,1,2", [4, 8, 12], 0.77)]
        for channels, positions, depth in cases:
            done = batch("reflection", sample, "--channels", channels, "--positions",
                         ",".join(map(str, positions)), "--depth", depth, ok=False)
            with pytest.raises(ValueError) as raised:
                ondarix.reflection(m, [int(c) for c in channels.split(",")],
                                   positions=positions, depth=depth)
            assert str(raised.value) == batch_reason(done)

    def test_reflection_band_reasons_are_batch_reasons(self, batch, sample):
        m = ondarix.read(sample)
        for band in (dict(fmin=1e30), dict(fmax=1e30), dict(fmin=25.5)):
            (name, value), = band.items()
            done = batch("reflection", sample, "--channels", "1,2,3", "--positions", "4,8,12",
                         "--depth", 0.77, f"--{name}", value, ok=False)
            with pytest.raises(ValueError) as raised:
                ondarix.reflection(m, [1, 2, 3], positions=[4, 8, 12], depth=0.77, **band)
            assert str(raised.value) == batch_reason(done)
            assert "Nyquist" in str(raised.value)

    def test_reflection_range_and_count_reasons(self, batch, sample):
        m = ondarix.read(sample)
        done = batch("reflection", sample, "--channels", "1,2", "--positions", "4,8", "--depth",
                     1, "--from", 0, "--to", 9999, ok=False)
        with pytest.raises(ValueError) as raised:
            ondarix.reflection(m, [1, 2], 0, 9999, positions=[4, 8], depth=1)
        assert str(raised.value) == batch_reason(done)
        done = batch("reflection", sample, "--channels", "1,2", "--positions", "4,8,12",
                     "--depth", 1, ok=False)
        with pytest.raises(ValueError) as raised:
            ondarix.reflection(m, [1, 2], positions=[4, 8, 12], depth=1)
        # The keywords are named as Python spells them.
        assert batch_reason(done) == str(raised.value).replace("channels", "--channels").replace(
            "positions", "--positions")


def test_python_threads_run_while_they_compute():
    # Three gauges of 4 million samples take about half a second to separate.
    rng = numpy.random.default_rng(3)
    m = ondarix.Measurement(rng.normal(size=(4_000_000, 3)).astype(numpy.float32), 50.0)
    ticks = []
    stop = threading.Event()

    def tick():
        while not stop.is_set():
            ticks.append(time.monotonic())
            time.sleep(0.005)

    ticker = threading.Thread(target=tick)
    ticker.start()
    try:
        began = time.monotonic()
        ondarix.reflection(m, [0, 1, 2], positions=[0, 0.3, 0.75], depth=0.5)
        ended = time.monotonic()
    finally:
        stop.set()
        ticker.join()
    inside = [t for t in ticks if began < t < ended]
    assert len(inside) >= 20  # of some 90; none while the GIL is held
