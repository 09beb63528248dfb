"""Each analysis in Python gives what its ondarix-batch command gives on the
same block, takes plain arrays too, refuses what the command refuses with the
same reason, and lets Python run (and Ctrl+C stop it) while it computes."""

import dataclasses
import json
import threading
import time
import _thread

import numpy
import pandas
import pytest
import scipy.fft

import ondarix
from conftest import batch_reason

COMPONENTS = [
    {"frequency": 0.625, "amplitude": 0.04, "k": 1, "a": 0, "d": 0, "eta": 0},
    {"frequency": 1.25, "amplitude": 0.005, "k": 1, "a": 0, "d": 0, "eta": 0},
]
# The same list as the signal-parameters "Copy all" text ondarix-batch reads.
COMPONENT_TEXT = "1\t0\t3000\t2\n0.625\t0.04\t1\t0\t0\t0\n1.25\t0.005\t1\t0\t0\t0\n"


@pytest.fixture
def component_file(tmp_path):
    path = tmp_path / "components.txt"
    path.write_text(COMPONENT_TEXT)
    return path


def test_statistics_equal_batch_stats(batch, sample):
    printed = json.loads(
        batch("stats", sample, "--channel", 1, "--from", 0, "--to", 4000, "--json").stdout
    )
    s = ondarix.statistics(ondarix.read(sample), channel=1, start=0, stop=4000)
    assert (s.start, s.stop) == (0, 4000)
    signal = printed["signal"]
    assert (s.minimum, s.maximum, s.mean, s.deviation) == (
        signal["min"], signal["max"], signal["mean"], signal["deviation"])
    wave, period, frequency = printed["wave"], printed["period"], printed["frequency"]
    assert (s.wave_count, s.height_min, s.height_max, s.height_mean) == (
        wave["count"], wave["min"], wave["max"], wave["mean"])
    assert (s.period_count, s.period_min, s.period_max, s.period_mean) == (
        period["count"], period["min"], period["max"], period["mean"])
    assert (s.frequency_min, s.frequency_max, s.frequency_mean) == (
        frequency["min"], frequency["max"], frequency["mean"])


@pytest.mark.parametrize("inverse", [False, True])
def test_fourier_equals_batch_fourier(batch, sample, tmp_path, inverse):
    out = tmp_path / "spectrum.INT"
    batch("fourier", sample, "--channel", 2, "--from", 10, "--to", 1010, "-o", out,
          *(["--inverse"] if inverse else []))
    spectrum = ondarix.fourier(ondarix.read(sample), 2, 10, 1010, inverse=inverse)
    numpy.testing.assert_array_equal(spectrum.values, ondarix.read(str(out)).samples[:, 0])
    assert spectrum.frequency_step == 50.0 / 1000  # rate / N


def test_fourier_finds_the_frequency_of_a_plain_sine():
    # 64 samples at 16 Hz of a 2 Hz cosine of amplitude 3: bin 8 (2 Hz / (16/64 Hz)),
    # and the forward scaling 2/N gives the amplitude itself.
    t = numpy.arange(64) / 16.0
    spectrum = ondarix.fourier(3.0 * numpy.cos(2 * numpy.pi * 2.0 * t), rate=16.0)
    assert spectrum.peak_frequency == pytest.approx(2.0)
    assert spectrum.peak_amplitude == pytest.approx(3.0, rel=1e-5)


@pytest.mark.parametrize("n", [1000, 999, 1])
def test_fourier_onesided_is_the_lower_half_of_the_full_spectrum(n):
    # The bins 0 .. N/2 that scipy.fft.rfft returns, scaled as the full ones.
    x = numpy.sin(numpy.arange(n) * 0.3).astype(numpy.float32)
    full = ondarix.fourier(x, rate=50.0)
    half = ondarix.fourier(x, rate=50.0, onesided=True)
    assert len(half.values) == n // 2 + 1
    numpy.testing.assert_array_equal(half.values, full.values[: n // 2 + 1])
    assert half.frequency_step == full.frequency_step == 50.0 / n
    assert half.peak_frequency == full.peak_frequency
    assert half.peak_amplitude == full.peak_amplitude
    reference = scipy.fft.rfft(x.astype(numpy.float64)) * 2 / n
    numpy.testing.assert_allclose(half.values, numpy.conj(reference), atol=1e-5)


def test_kalman_equals_batch_kalman(batch, sample, tmp_path, component_file):
    out = tmp_path / "waves.INT"
    done = batch("kalman", sample, "--channel", 1, "--from", 0, "--to", 3000,
                 "--components", component_file, "-o", out)
    m = ondarix.read(sample)
    result = ondarix.kalman(m, pandas.DataFrame(COMPONENTS), 1, 0, 3000)
    assert result.text == done.stdout
    numpy.testing.assert_array_equal(result.measurement.samples, ondarix.read(str(out)).samples)
    assert isinstance(result.components, pandas.DataFrame)
    assert list(result.channels) == ["Component no 1", "Component no 1 diff",
                                     "Component no 2", "Component no 2 diff", "Rest"]
    # The caller's measurement keeps its own list; the result carries the estimates.
    assert result.components["amplitude"][0] != 0.04
    assert m.samples.base is m


def test_aprox_equals_batch_aprox(batch, sample, tmp_path, component_file):
    out = tmp_path / "fit.INT"
    done = batch("aprox", sample, "--channel", 1, "--from", 0, "--to", 3000,
                 "--components", component_file, "--use-eta", 1, "-o", out,
                 "--components-out", tmp_path / "fitted.txt")
    result = ondarix.aprox(ondarix.read(sample), COMPONENTS, 1, 0, 3000, use_eta=1)
    assert result.text == done.stdout
    numpy.testing.assert_array_equal(result.measurement.samples, ondarix.read(str(out)).samples)
    fitted = (tmp_path / "fitted.txt").read_text().split("\r\n")[1:3]
    for line, component in zip(fitted, result.components):
        frequency, amplitude, k, a, d, eta = map(float, line.split("\t"))
        assert component["frequency"] == pytest.approx(frequency, abs=5e-5)
        assert component["eta"] == pytest.approx(eta, abs=5e-5)


@pytest.mark.parametrize("command", ["kalman", "aprox"])
def test_auto_components_equal_batch_auto(batch, sample, tmp_path, command):
    out = tmp_path / "auto.INT"
    done = batch(command, sample, "--channel", 1, "--from", 0, "--to", 3000,
                 "--components", "auto:2", "-o", out)
    result = getattr(ondarix, command)(ondarix.read(sample), "auto:2", 1, 0, 3000)
    assert result.text == done.stdout
    numpy.testing.assert_array_equal(result.measurement.samples, ondarix.read(str(out)).samples)
    assert [c["name"] for c in result.components] == ["Peak 1", "Peak 2"]


def test_auto_components_find_a_sine_and_refuse_bad_counts(batch, sample, tmp_path):
    # 0.5 Hz, amplitude 2, between the bins of 1000 samples at 20 Hz (0.02 Hz).
    t = numpy.arange(1000) / 20.0
    fit = ondarix.aprox(2.0 * numpy.sin(2 * numpy.pi * 0.513 * t), "auto:1", rate=20.0)
    assert fit.components[0]["frequency"] == pytest.approx(0.513, rel=1e-6)
    assert abs(complex(fit.components[0]["a"], fit.components[0]["d"])) == pytest.approx(2.0)
    m = ondarix.read(sample)
    for bad in ["auto:0", "auto:11", "auto:two"]:
        done = batch("aprox", sample, "--channel", 1, "--from", 0, "--to", 3000,
                     "--components", bad, "-o", tmp_path / "x.INT", ok=False)
        with pytest.raises(ValueError) as raised:
            ondarix.aprox(m, bad, 1, 0, 3000)
        assert str(raised.value) in batch_reason(done)
    with pytest.raises(ValueError, match="auto:K"):
        ondarix.kalman(m, "components.txt", 1, 0, 3000)
    with pytest.raises(ValueError, match="auto:1: "):
        ondarix.kalman(m, "auto:1", 1, 0, 5)


def test_runs_from_threads_on_one_measurement_equal_serial_runs(sample):
    # Lists of different lengths on the same channel: a run that saw another
    # thread's list would come back with the wrong number of components.
    m = ondarix.read(sample)
    jobs = [
        lambda: ondarix.kalman(m, COMPONENTS, 1, 0, 3000),
        lambda: ondarix.kalman(m, COMPONENTS[:1], 1, 0, 3000),
        lambda: ondarix.aprox(m, COMPONENTS, 1, 0, 3000),
        lambda: ondarix.aprox(m, COMPONENTS[1:], 1, 0, 3000, use_eta=1),
    ]
    serial = [(r.components, r.text) for r in (job() for job in jobs)]
    assert [len(components) for components, _ in serial] == [2, 1, 2, 1]
    threads, runs, seen = 8, 4, []
    start = threading.Barrier(threads)

    def work(offset):
        start.wait()
        for run in range(runs):
            j = (offset + run) % len(jobs)
            result = jobs[j]()
            seen.append((j, result.components, result.text))

    workers = [threading.Thread(target=work, args=(t,)) for t in range(threads)]
    for w in workers:
        w.start()
    for w in workers:
        w.join()
    assert len(seen) == threads * runs
    for j, components, text in seen:
        assert (components, text) == serial[j]


def test_a_block_holding_nan_or_infinity_is_refused(batch, tmp_path):
    values = numpy.sin(numpy.arange(2000) * numpy.pi / 20)[:, None].repeat(3, axis=1)
    values[1234, 2] = numpy.nan
    values[1500, 1] = -numpy.inf
    path = tmp_path / "damaged.INT"
    ondarix.write(ondarix.Measurement(values, 20.0), str(path))
    m = ondarix.read(str(path))
    assert numpy.isnan(m.real[1234, 2])  # the reader keeps what the file holds
    reason = "row 1234 of channel 2 is not a finite number"
    done = batch("stats", path, "--channel", 2, "--from", 0, "--to", 2000, ok=False)
    assert batch_reason(done) == reason
    runs = [
        lambda: ondarix.statistics(m, 2),
        lambda: ondarix.fourier(m, 2),
        lambda: ondarix.fourier(m, 2, inverse=True),
        lambda: ondarix.kalman(m, COMPONENTS, 2),
        lambda: ondarix.aprox(m, COMPONENTS, 2),
        lambda: ondarix.waves(m, 2),
        lambda: ondarix.spectrum(m, 2, segment=256),
        lambda: ondarix.reflection(m, [1, 2], positions=[0, 0.4], depth=0.5),
    ]
    for run in runs:
        with pytest.raises(ValueError) as raised:
            run()
        assert str(raised.value) == reason
    # A plain array is refused alike, though only its block is converted.
    on_array = [
        lambda: ondarix.fourier(values, 2, rate=20.0),
        lambda: ondarix.fourier(values, 2, rate=20.0, inverse=True),
        lambda: ondarix.waves(values, 2, rate=20.0),
        lambda: ondarix.spectrum(values, 2, rate=20.0, segment=256),
        lambda: ondarix.reflection(values, [1, 2], rate=20.0, positions=[0, 0.4], depth=0.5),
    ]
    for run in on_array:
        with pytest.raises(ValueError) as raised:
            run()
        assert str(raised.value) == reason
    complex_values = values[:, 0] + 0j
    complex_values[77] = complex(0.5, numpy.inf)
    with pytest.raises(ValueError, match="^row 77 of channel 0 is not a finite number$"):
        ondarix.fourier(complex_values, rate=20.0, inverse=True)
    assert ondarix.fourier(complex_values, rate=20.0).measurement.samples.shape == (2000, 1)
    assert ondarix.waves(values, 2, 1235, 2000, rate=20.0).count > 0
    with pytest.raises(ValueError, match="row 1500 of channel 1 is not"):
        ondarix.statistics(m, 1, 1600, 1000)
    assert ondarix.statistics(m, 2, 0, 1234).maximum == pytest.approx(1.0)
    # A campaign's row says why, not a Kr of NaN.
    frame = ondarix.campaign([str(path)], "reflection", channels=[1, 2], positions=[0, 0.4],
                             depth=0.5)
    assert frame.loc[0, "error"] == reason
    assert "kr" not in frame.columns


def test_generate_equals_batch_generate(batch, tmp_path):
    out = tmp_path / "control.M11"
    done = batch("generate", "--model", 2, "--waves", "3,10,3", "--depth", 0.5, "-o", out)
    generated = ondarix.generate(model=2, waves=(3, 10, 3), depth=0.5)
    ondarix.write(generated.measurement, str(tmp_path / "python.M11"))
    assert (tmp_path / "python.M11").read_bytes() == out.read_bytes()
    assert f"T = {generated.period:f} s\n" == done.stdout


def same_result(a, b):
    """Field by field: arrays and frames equal to the last bit, measurements by
    their samples and rate."""
    if isinstance(a, ondarix.Measurement):
        return numpy.array_equal(a.samples, b.samples) and a.rate == b.rate
    if isinstance(a, numpy.ndarray):
        return numpy.array_equal(a, b, equal_nan=True)
    if isinstance(a, pandas.DataFrame):
        return a.equals(b)
    if dataclasses.is_dataclass(a):
        return all(same_result(getattr(a, f.name), getattr(b, f.name))
                   for f in dataclasses.fields(a))
    return a == b or (a != a and b != b)


def test_a_plain_array_gives_what_its_measurement_gives(sample):
    m = ondarix.read(sample)
    column = m.real[:, 3].copy()
    assert ondarix.statistics(column, rate=50.0) == ondarix.statistics(m, channel=3)
    with pytest.raises(ValueError, match="sample rate"):
        ondarix.statistics(column)
    # The analyses that convert only their block from the array: another
    # channel, a block inside the record (also given backwards), float64 in.
    table = m.real.astype(numpy.float64)
    runs = [
        lambda d, **r: ondarix.fourier(d, 2, 100, 2148, **r),
        lambda d, **r: ondarix.fourier(d, 2, 2148, 100, **r),
        lambda d, **r: ondarix.fourier(d, 1, 0, 1500, onesided=True, **r),  # in the memory kept
        lambda d, **r: ondarix.waves(d, 3, 150, 2900, **r),
        lambda d, **r: ondarix.waves(d, 3, 2900, 150, **r),
        lambda d, **r: ondarix.spectrum(d, 2, 40, None, segment=512, **r),
        lambda d, **r: ondarix.reflection(d, [2, 1], 10, 2500, positions=[0, 0.4], depth=0.5,
                                          segment=512, **r),
    ]
    for k, run in enumerate(runs):
        assert same_result(run(table, rate=m.rate), run(m)), k
    # A float32 column is transformed where it lies, without a copy: the same
    # bins as the measurement's, from any block, and a NaN in the block is
    # named by its row in the array, one outside it does not matter.
    single = numpy.ascontiguousarray(m.real[:, 2])
    for block in [(100, 2148), (2148, 100), (0, None)]:
        assert same_result(ondarix.fourier(single, 0, *block, rate=m.rate, onesided=True),
                           ondarix.fourier(m, 2, *block, onesided=True)), block
    kept = single.copy()
    single[3000] = numpy.nan
    with pytest.raises(ValueError, match="^row 3000 of channel 0 is not a finite number$"):
        ondarix.fourier(single, 0, 2500, 3500, rate=m.rate)
    assert same_result(ondarix.fourier(single, 0, 0, 2999, rate=m.rate),
                       ondarix.fourier(kept, 0, 0, 2999, rate=m.rate))
    # A complex array: the forward transform and the waves read its real
    # parts, the inverse transform both.
    wave = numpy.exp(1j * numpy.arange(4096) * 0.05).astype(numpy.complex64) + 0.25j
    for run in [lambda d, **r: ondarix.fourier(d, inverse=True, **r),
                lambda d, **r: ondarix.fourier(d, **r), lambda d, **r: ondarix.waves(d, **r)]:
        assert same_result(run(wave, rate=10.0), run(ondarix.Measurement(wave, 10.0)))


class TestRefusals:
    def test_channel_and_range_reasons_are_batch_reasons(self, batch, sample):
        m = ondarix.read(sample)
        for channel, start, stop in [(4, 0, 10), (1, 0, 5000), (1, -1, 10)]:
            done = batch("stats", sample, "--channel", channel, "--from", start, "--to", stop,
                         ok=False)
            with pytest.raises(ValueError) as raised:
                ondarix.statistics(m, channel, start, stop)
            assert str(raised.value) == batch_reason(done)

    def test_empty_range_is_refused(self, batch, sample, tmp_path):
        done = batch("fourier", sample, "--channel", 1, "--from", 7, "--to", 7,
                     "-o", tmp_path / "x.TXT", ok=False)
        with pytest.raises(ValueError) as raised:
            ondarix.fourier(ondarix.read(sample), 1, 7, 7)
        assert str(raised.value) == batch_reason(done)

    def test_option_reasons_follow_batch(self, batch, sample, tmp_path, component_file):
        done = batch("kalman", sample, "--channel", 1, "--from", 0, "--to", 3000,
                     "--components", component_file, "--model", 7, "-o", tmp_path / "x.TXT",
                     ok=False)
        with pytest.raises(ValueError) as raised:
            ondarix.kalman(ondarix.read(sample), COMPONENTS, 1, 0, 3000, model=7)
        # The keyword is named as Python spells it: model, not --model.
        assert "--" + str(raised.value) == batch_reason(done).splitlines()[0]

    def test_fit_that_cannot_start_says_why(self, batch, sample, tmp_path):
        same = tmp_path / "same.txt"
        same.write_text("1\t0\t3000\t2\n0.625\t0.04\t1\t0\t0\t0\n0.625\t0.04\t1\t0\t0\t0\n")
        done = batch("aprox", sample, "--channel", 1, "--from", 0, "--to", 3000,
                     "--components", same, "-o", tmp_path / "x.TXT", ok=False)
        twice = [COMPONENTS[0], COMPONENTS[0]]
        with pytest.raises(ValueError) as raised:
            ondarix.aprox(ondarix.read(sample), twice, 1, 0, 3000)
        assert str(raised.value) == batch_reason(done)

    def test_generator_reason_is_batch_reason(self, batch, tmp_path):
        done = batch("generate", "--model", 9, "-o", tmp_path / "x.M11", ok=False)
        with pytest.raises(ValueError) as raised:
            ondarix.generate(model=9)
        assert str(raised.value) == batch_reason(done)

    def test_component_lists_are_checked(self):
        m = ondarix.Measurement(numpy.zeros(100), 50.0)
        with pytest.raises(ValueError, match="0 to 10"):
            ondarix.kalman(m, [{"frequency": 1.0}] * 11)
        with pytest.raises(ValueError, match="component 2 has no frequency"):
            ondarix.kalman(m, [{"frequency": 1.0}, {"amplitude": 1.0}])


class TestLongRuns:
    # Model 2 on a million samples and ten components runs for seconds.
    SIGNAL = numpy.sin(numpy.arange(1_000_000) * 0.05)
    LIST = [{"frequency": f} for f in numpy.linspace(0.1, 2.0, 10)]

    def test_python_threads_run_while_the_filter_runs(self):
        # A Python thread ticks 20 times while the filter runs, and only then
        # is Ctrl+C sent: a filter that held the GIL would run to its end
        # first (seconds) and never be interrupted. Counting ticks in a fixed
        # second instead failed on this busy 2-core machine when it stalled.
        ticks = []
        ticked = threading.Event()

        def tick():
            while len(ticks) < 20:
                ticks.append(time.monotonic())
                time.sleep(0.005)
            ticked.set()

        # Not sent once the filter has returned: a failing run then fails
        # here instead of ending the whole test session.
        returned = threading.Lock()

        def interrupt():
            if ticked.wait(30) and returned.acquire(blocking=False):
                _thread.interrupt_main()

        ticker = threading.Thread(target=tick)
        interrupter = threading.Thread(target=interrupt)
        began = time.monotonic()
        ticker.start()
        interrupter.start()
        try:
            with pytest.raises(KeyboardInterrupt):
                ondarix.kalman(self.SIGNAL, self.LIST, rate=50.0, model=2)
                returned.acquire(blocking=False)
        finally:
            ended = time.monotonic()
            ticker.join()
            interrupter.join()
        assert len(ticks) == 20 and began < ticks[0] and ticks[-1] < ended
        assert ended - ticks[-1] < 1.5  # Ctrl+C stopped it, not its end

    def test_keywords_of_the_wrong_type_are_type_errors_naming_them(self, sample, tmp_path):
        m = ondarix.read(sample)
        wave = numpy.sin(numpy.arange(1000) / 5.0)
        calls = {
            "rate": lambda: ondarix.read(sample, rate="50"),
            "dataset": lambda: ondarix.read(sample, dataset=1),
            "variable": lambda: ondarix.read(sample, variable=b"x"),
            "channel": lambda: ondarix.statistics(m, "1"),
            "start": lambda: ondarix.spectrum(m, 1, 0.5),
            "stop": lambda: ondarix.waves(m, 1, 0, "3000"),
            "level": lambda: ondarix.aprox(m, COMPONENTS, 1, 0, 3000, level="0"),
            "model": lambda: ondarix.kalman(m, COMPONENTS, 1, 0, 3000, model=1.5),
            "levels": lambda: ondarix.calibrate(wave, 0, ["0.1", "0.2"], rate=50.0),
        }
        for keyword, call in calls.items():
            with pytest.raises(TypeError, match=f"^{keyword} must be"):
                call()
        # A plain array's rate is checked before the array is looked at.
        with pytest.raises(TypeError, match="^rate must be a number, not str"):
            ondarix.fourier(wave, rate="50")
        # numpy's integers are integers.
        assert same_result(ondarix.statistics(m, numpy.int64(1), numpy.uint16(0),
                                              numpy.int32(3000)),
                           ondarix.statistics(m, 1, 0, 3000))
