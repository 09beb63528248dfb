"""Reflection from arrays of gauges in Python and ondarix-batch: two and three
gauges as Goda and Suzuki and least squares give them, worked out here
independently; five gauges with the frequencies they cannot separate; the
separated time series; a regular wave's harmonics; and the refusals."""

import json

import numpy
import pytest

import ondarix
from conftest import batch_reason

DEPTH = 0.5
RATE = 20.0


def wave_number(omega, depth):
    """omega^2 = g k tanh(k h) by bisection (g = 9.81), independent of the core."""
    lo, hi = 1e-9, 200.0
    for _ in range(200):
        k = (lo + hi) / 2
        lo, hi = (k, hi) if 9.81 * k * numpy.tanh(k * depth) < omega**2 else (lo, k)
    return k


def reference_hm0(m, channels, positions, depth, start, stop, result):
    """Hm0 incident and reflected by a least-squares fit per bin of the whole
    block's transform (each gauge's least-squares line taken out), over the
    bins the result used, left out where |sum e^(2ikx)| / P > cos(pi / 10)."""
    x = numpy.asarray(positions)
    blocks = []
    for c in channels:
        v = m.real[start:stop, c].astype(float)
        t = numpy.arange(len(v))
        v = v - numpy.polyval(numpy.polyfit(t, v, 1), t)
        blocks.append(numpy.fft.rfft(v))
    n = stop - start
    df = m.rate / n
    m0 = numpy.zeros(2)
    used = 0
    for j in range(round(result.fmin / df), round(result.fmax / df) + 1):
        k = wave_number(2 * numpy.pi * j * df, depth)
        if abs(numpy.exp(2j * k * x).sum()) / len(x) > numpy.cos(0.1 * numpy.pi):
            continue
        a = numpy.column_stack([numpy.exp(-1j * k * x), numpy.exp(1j * k * x)])
        b = numpy.array([blk[j] for blk in blocks])
        fit = numpy.linalg.lstsq(a, b, rcond=None)[0]
        m0 += numpy.abs(fit) ** 2 * 2 / (m.rate * n) * df
        used += 1
    return 4 * numpy.sqrt(m0), used


@pytest.mark.parametrize("channels,positions", [([1, 2], [4, 8]), ([1, 3], [4, 12]),
                                                ([1, 2, 3], [4, 8, 12])])
def test_two_and_three_gauges_keep_their_numbers(sample, channels, positions):
    m = ondarix.read(sample)
    r = ondarix.reflection(m, channels, 1000, 4040, positions=positions, depth=0.77,
                           fmin=0.3, fmax=1)
    hm0, used = reference_hm0(m, channels, positions, 0.77, 1000, 4040, r)
    assert r.bins_used == used
    assert r.hm0_incident == pytest.approx(hm0[0], rel=1e-12)
    assert r.hm0_reflected == pytest.approx(hm0[1], rel=1e-12)
    assert r.kr == pytest.approx(hm0[1] / hm0[0], rel=1e-12)


def sea_record(positions, kr=0.4, noise=0.0, n=8192, seed=3):
    """An incident sea of 40 waves (0.35 .. 1.4 Hz) plus its reflection kr
    with a phase shift of 1 rad, at the gauges; one column a gauge."""
    rng = numpy.random.default_rng(seed)
    f = numpy.linspace(0.35, 1.4, 40)
    a = 0.01 * rng.uniform(0.5, 1.0, f.size)
    phase = rng.uniform(0, 2 * numpy.pi, f.size)
    k = numpy.array([wave_number(2 * numpy.pi * ff, DEPTH) for ff in f])
    t = numpy.arange(n)[:, None] / RATE
    columns = []
    for x in positions:
        w = 2 * numpy.pi * f * t
        eta = (a * numpy.cos(w - k * x + phase)).sum(axis=1)
        eta += (kr * a * numpy.cos(w + k * x + phase + 1.0)).sum(axis=1)
        columns.append(eta + noise * rng.standard_normal(n))
    return numpy.column_stack(columns), (f, a, phase, k)


def test_five_gauges_in_batch_and_python(batch, tmp_path):
    # 0.5 m apart: L = 1 m has every pair a multiple of half a wave apart.
    positions = [0.0, 0.5, 1.0, 1.5, 2.0]
    values, _ = sea_record(positions, noise=0.0005)
    path = tmp_path / "five.INT"
    ondarix.write(ondarix.Measurement(values, RATE), str(path))
    printed = json.loads(batch("reflection", path, "--channels", "0,1,2,3,4", "--positions",
                               ",".join(map(str, positions)), "--depth", DEPTH, "--fmin", 0.3,
                               "--fmax", 1.5, "--json").stdout)
    result = ondarix.reflection(ondarix.read(str(path)), positions=positions, depth=DEPTH,
                                fmin=0.3, fmax=1.5)
    assert result.kr == printed["Kr"]
    assert result.kr == pytest.approx(0.4, abs=0.02)
    assert result.left_out == list(zip(printed["left_out_from"], printed["left_out_to"]))
    blind = numpy.sqrt(9.81 * 2 * numpy.pi * numpy.tanh(2 * numpy.pi * DEPTH)) / (2 * numpy.pi)
    assert any(lo - result.df <= blind <= hi + result.df for lo, hi in result.left_out)
    assert not result.separable.all() and result.separable.any()
    assert (result.incident[~result.separable] == 0).all()


def test_series_is_the_incident_wave_and_batch_writes_it(batch, tmp_path):
    positions = [0.0, 0.23, 0.61, 1.17]
    values, (f, a, phase, k) = sea_record(positions)
    m = ondarix.Measurement(values, RATE)
    r = ondarix.reflection(m, positions=positions, depth=DEPTH, fmin=0.2, fmax=3,
                           series=True, at=0.4)
    series = r.series
    assert series.rate == RATE and series.samples.shape == (values.shape[0], 2)
    t = numpy.arange(values.shape[0]) / RATE
    truth = (a * numpy.cos(2 * numpy.pi * f * t[:, None] - k * 0.4 + phase)).sum(axis=1)
    inside = slice(values.shape[0] // 10, -values.shape[0] // 10)
    error = series.real[inside, 0] - truth[inside]
    assert numpy.sqrt((error**2).mean() / (truth[inside] ** 2).mean()) < 0.01
    path = tmp_path / "four.INT"
    ondarix.write(m, str(path))
    out = tmp_path / "series.csv"
    batch("reflection", path, "--channels", "0,1,2,3", "--positions", "0,0.23,0.61,1.17",
          "--depth", DEPTH, "--fmin", 0.2, "--fmax", 3, "--series", "--at", 0.4, "-o", out)
    written = ondarix.read(str(out))
    assert written.rate == RATE
    numpy.testing.assert_allclose(written.real, series.real, atol=1e-6)
    # The incident channel is a record as any other: waves runs on it.
    waves = json.loads(batch("waves", out, "--channel", 0, "--json").stdout)
    assert waves["count"] > 0


def regular_record(positions, bound=(0.004, 0.0015), free=(0.003, 0.001), n=6000):
    f = 0.55
    w = 2 * numpy.pi * f
    k1, k2 = wave_number(w, DEPTH), wave_number(2 * w, DEPTH)
    t = numpy.arange(n)[:, None] / RATE
    x = numpy.asarray(positions)[None, :]
    eta = 0.03 * numpy.cos(w * t - k1 * x + 0.2) + 0.012 * numpy.cos(w * t + k1 * x - 0.5)
    eta += bound[0] * numpy.cos(2 * w * t - 2 * k1 * x + 1.0)
    eta += bound[1] * numpy.cos(2 * w * t + 2 * k1 * x - 2.0)
    eta += free[0] * numpy.cos(2 * w * t - k2 * x + 0.4)
    eta += free[1] * numpy.cos(2 * w * t + k2 * x + 2.5)
    return eta


def test_regular_wave_harmonics(batch, tmp_path):
    positions = [0.0, 0.4, 0.9, 1.5, 2.2, 3.0]
    values = regular_record(positions)
    r = ondarix.reflection(values, rate=RATE, positions=positions, depth=DEPTH, regular=True)
    assert r.frequency == pytest.approx(0.55, abs=1e-4)
    assert r.kr == pytest.approx(0.4, abs=0.01)
    for wave, amplitude in ((r.bound_incident, 0.004), (r.bound_reflected, 0.0015),
                            (r.free_incident, 0.003), (r.free_reflected, 0.001)):
        assert wave[0] == pytest.approx(amplitude, abs=0.02 * 0.03)
    path = tmp_path / "regular.INT"
    ondarix.write(ondarix.Measurement(values, RATE), str(path))
    printed = json.loads(batch("reflection", path, "--channels", "0,1,2,3,4,5", "--positions",
                               ",".join(map(str, positions)), "--depth", DEPTH, "--regular",
                               "--json").stdout)
    assert printed["Kr"] == pytest.approx(r.kr, rel=1e-6)
    assert printed["a_free_incident"] == pytest.approx(r.free_incident[0], rel=1e-6)
    # Three gauges: the first harmonic only.
    three = ondarix.reflection(values[:, :3], rate=RATE, positions=positions[:3], depth=DEPTH,
                               regular=True)
    assert three.bound_incident is None and three.kr == pytest.approx(0.4, abs=0.02)


def test_plan_proposes_separable_positions(batch):
    printed = json.loads(batch("reflection", "--plan", "--depth", DEPTH, "--fmin", 0.4, "--fmax",
                               1.2, "--gauges", 4, "--json").stdout)
    x = numpy.asarray(printed["positions"])
    assert len(x) == 4
    for f in numpy.linspace(0.4, 1.2, 400):
        k = wave_number(2 * numpy.pi * f, DEPTH)
        assert abs(numpy.exp(2j * k * x).sum()) / 4 <= numpy.cos(0.1 * numpy.pi) + 1e-9
    done = batch("reflection", "--plan", "--depth", DEPTH, "--fmin", 0.1, "--fmax", 3,
                 "--gauges", 2, ok=False)
    assert done.returncode == 1 and "add gauges" in batch_reason(done)


def test_bad_input_is_refused_alike(batch, tmp_path):
    positions = [0.0, 0.4, 0.9, 1.5]
    values, _ = sea_record(positions)
    path = tmp_path / "sea.INT"
    ondarix.write(ondarix.Measurement(values, RATE), str(path))
    m = ondarix.read(str(path))
    cases = [("0,1,2,3", "0,0.4,0.4,1.5", "two gauges have the same position", []),
             ("0", "0", "at least two gauges are needed", []),
             ("0,1,2", "0,0.4", "--channels and --positions differ in count", []),
             ("0,1,2,3", "0,0.4,0.9,1.5", "the record's peak is not one harmonic line",
              ["--regular"])]
    for channels, given, reason, more in cases:
        done = batch("reflection", path, "--channels", channels, "--positions", given,
                     "--depth", DEPTH, *more, ok=False)
        assert done.returncode == 1, done.stderr
        assert batch_reason(done).startswith(reason.split(" (")[0])
        assert len(done.stderr.strip().splitlines()) == 1
        with pytest.raises(ValueError):
            ondarix.reflection(m, [int(c) for c in channels.split(",")],
                               positions=[float(p) for p in given.split(",")], depth=DEPTH,
                               regular="--regular" in more)
    with pytest.raises(ValueError):
        ondarix.reflection(m, positions=positions, depth=DEPTH, regular=True, series=True)
