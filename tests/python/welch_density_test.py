"""The spectrum's density is Welch's as scipy.signal.welch computes it, so that a
band's Hm0 is what the segments saw in that band; a seiche slower than a segment
is told as variance below f1 instead of raising every density."""

import numpy
import pytest
import scipy.signal

import ondarix

RATE = 20.0
SEGMENT = 512  # 25.6 s: a 120 s seiche is slower than one segment
BAND = (0.3, 2.0)


def jonswap_sea(n, hm0=0.1, fp=0.6, seed=5):
    """Random phases on every harmonic of the record, JONSWAP amplitudes."""
    f = numpy.arange(1, n // 2) * RATE / n
    sigma = numpy.where(f <= fp, 0.07, 0.09)
    shape = f ** -5.0 * numpy.exp(-1.25 * (fp / f) ** 4) * 3.3 ** numpy.exp(
        -((f - fp) ** 2) / (2 * sigma ** 2 * fp ** 2))
    shape[(f < 0.2) | (f > 3.0)] = 0
    amplitude = numpy.sqrt(2 * shape)
    amplitude *= hm0 / (4 * numpy.sqrt((amplitude ** 2 / 2).sum()))
    phase = numpy.random.default_rng(seed).uniform(0, 2 * numpy.pi, f.size)
    t = numpy.arange(n) / RATE
    x = sum(a * numpy.cos(2 * numpy.pi * fk * t + p)
            for a, fk, p in zip(amplitude, f, phase) if a > 0)
    # As a Measurement keeps it, so that scipy sees the same samples.
    return x.astype(numpy.float32).astype(numpy.float64)


def seiche(n, amplitude=0.01, period=120.0):
    return amplitude * numpy.sin(2 * numpy.pi * numpy.arange(n) / RATE / period)


def band_hm0(frequency, density):
    df = frequency[1] - frequency[0]
    inside = (frequency >= BAND[0] - df / 2) & (frequency <= BAND[1] + df / 2)
    return 4 * numpy.sqrt(density[inside].sum() * df)


@pytest.fixture(scope="module")
def sea():
    return jonswap_sea(1 << 15)


def test_density_is_scipys_welch(sea):
    frequency, density = scipy.signal.welch(sea, fs=RATE, nperseg=SEGMENT, detrend="constant")
    result = ondarix.spectrum(sea, rate=RATE, segment=SEGMENT, detrend="mean")
    numpy.testing.assert_allclose(result.frequency, frequency, rtol=1e-12)
    numpy.testing.assert_allclose(result.density, density, rtol=1e-9, atol=1e-18)
    banded = ondarix.spectrum(sea, rate=RATE, segment=SEGMENT, detrend="mean",
                              fmin=BAND[0], fmax=BAND[1])
    assert banded.hm0 == pytest.approx(band_hm0(frequency, density), rel=1e-9)


@pytest.mark.parametrize("detrend", ["mean", "linear"])
def test_a_slow_seiche_is_variance_below_f1_not_band_energy(sea, detrend):
    wavy = (sea + seiche(sea.size)).astype(numpy.float32).astype(numpy.float64)
    frequency, density = scipy.signal.welch(wavy, fs=RATE, nperseg=SEGMENT, detrend="constant")
    clean = ondarix.spectrum(sea, rate=RATE, segment=SEGMENT, detrend=detrend,
                             fmin=BAND[0], fmax=BAND[1])
    result = ondarix.spectrum(wavy, rate=RATE, segment=SEGMENT, detrend=detrend,
                              fmin=BAND[0], fmax=BAND[1])
    assert result.hm0 == pytest.approx(band_hm0(frequency, density), rel=1e-6)
    assert result.hm0 == pytest.approx(clean.hm0, rel=1e-3)
    assert result.tm02 == pytest.approx(clean.tm02, rel=1e-3)
    # The seiche's variance 0.01^2 / 2, less what the line or the segments'
    # slopes leave in the bins; of the clean sea only the windows' uneven
    # weighing of the record shows there.
    assert clean.variance_below_f1 < 0.1 * result.variance_below_f1
    assert result.variance_below_f1 == pytest.approx(0.01 ** 2 / 2, rel=0.15)
