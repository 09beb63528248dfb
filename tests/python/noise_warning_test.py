"""A gauge's noise that takes over waves or spectrum is told, by ondarix-batch
(a "Warning" line after the parameters, the JSON "warnings") and Python (the result's warnings), with
the option and a value that keeps it out; a clean sea is told nothing."""

import json
import re

import numpy
import pytest

import ondarix

RATE = 50.0


def flume_sea(noise, seconds=1800, fp=0.6, hm0=0.1, seed=2):
    """A Gaussian JONSWAP sea, its f^-5 tail up to Nyquist, and white noise."""
    n = int(seconds * RATE)
    rng = numpy.random.default_rng(seed)
    f = numpy.arange(1, n // 2) * RATE / n
    sigma = numpy.where(f <= fp, 0.07, 0.09)
    shape = f ** -5.0 * numpy.exp(-1.25 * (fp / f) ** 4) * 3.3 ** numpy.exp(
        -((f - fp) ** 2) / (2 * sigma ** 2 * fp ** 2))
    spread = numpy.sqrt(shape / shape.sum())
    z = numpy.zeros(n // 2 + 1, complex)
    z[1:-1] = spread * (rng.normal(size=f.size) + 1j * rng.normal(size=f.size))
    x = numpy.fft.irfft(z, n)
    x *= hm0 / 4 / x.std()
    return x + rng.normal(0, noise, n) if noise else x


def record(tmp_path, name, values):
    path = tmp_path / name
    ondarix.write(ondarix.Measurement(numpy.asarray(values, dtype=numpy.float32), RATE),
                  str(path))
    return path


def warning_lines(done):
    """The texts of the "Warning" lines of the printed table."""
    return [line.split(None, 1)[1] for line in done.stdout.splitlines()
            if line.startswith("Warning ")]


@pytest.fixture(scope="module")
def files(tmp_path_factory):
    folder = tmp_path_factory.mktemp("noise")
    return {"clean": record(folder, "clean.INT", flume_sea(0)),
            "noisy": record(folder, "noisy.INT", flume_sea(0.002))}


# The command, its option, the figure the noise spoils.
CASES = [("waves", "threshold", "Tz"), ("spectrum", "fmax", "Tm02")]


@pytest.mark.parametrize("command, option, figure", CASES)
def test_noise_is_told_with_an_option_whose_value_gives_back_the_sea(
        batch, files, command, option, figure):
    clean = json.loads(batch(command, files["clean"], "--json").stdout)
    text = batch(command, files["noisy"])
    lines = warning_lines(text)
    assert len(lines) == 1, text.stdout
    value = re.search(rf"; try --{option} ([0-9.e-]+)$", lines[0]).group(1)
    printed = json.loads(batch(command, files["noisy"], "--json").stdout)
    assert printed["warnings"] == lines
    assert printed[figure] < 0.8 * clean[figure]  # what the warning is about
    result = getattr(ondarix, command)(ondarix.read(str(files["noisy"])))
    assert result.warnings == [printed["warnings"][0].replace(f"--{option} ", f"{option}=")]
    helped = batch(command, files["noisy"], f"--{option}", value, "--json")
    assert warning_lines(helped) == []
    helped = json.loads(helped.stdout)
    assert helped["warnings"] == []
    assert helped[figure] == pytest.approx(clean[figure], rel=0.1)


@pytest.mark.parametrize("command", ["waves", "spectrum"])
def test_a_clean_sea_is_told_nothing(batch, files, command):
    done = batch(command, files["clean"])
    assert warning_lines(done) == []
    assert json.loads(batch(command, files["clean"], "--json").stdout)["warnings"] == []
    assert getattr(ondarix, command)(ondarix.read(str(files["clean"]))).warnings == []
