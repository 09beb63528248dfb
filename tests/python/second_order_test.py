"""Second-order drives, bichromatic groups and the target elevation: Python
and ondarix-batch make the same bytes and refuse with the same reasons, and
the target's bound waves are where theory puts them."""

import json

import numpy
import pytest

import ondarix
from conftest import batch_reason

SEA = {"hm0": 0.08, "tp": 2.0, "depth": 0.5, "duration": 200, "paddle": "piston"}


def sea_args(**extra):
    args = ["sea", "--spectrum", "jonswap", "--hm0", 0.08, "--tp", 2.0, "--depth", 0.5,
            "--paddle", "piston", "--duration", 200]
    for key, value in extra.items():
        args += [f"--{key.replace('_', '-')}"] + ([] if value is True else [value])
    return args


def test_second_order_as_batch_with_its_elevation(batch, tmp_path):
    printed = json.loads(batch(*sea_args(order=2, superharmonics=True), "--json",
                               "--elevation", tmp_path / "e.h5", "-o",
                               tmp_path / "d.M11").stdout)
    result = ondarix.sea(order=2, subharmonics=False, **SEA)
    assert result.report == printed
    assert printed["order"] == 2 and printed["harmonics"] == "super"
    ondarix.write(result.drive, tmp_path / "p.M11")
    assert (tmp_path / "p.M11").read_bytes() == (tmp_path / "d.M11").read_bytes()
    elevation = ondarix.read(tmp_path / "e.h5")
    assert numpy.array_equal(elevation.samples, result.elevation.samples)
    assert [c.name for c in elevation.channels] == ["Target elevation"]
    assert len(elevation) == len(result.drive) == 10000
    # The superharmonics raise the crests and flatten the troughs.
    first = ondarix.sea(**SEA)
    eta1, eta2 = first.elevation.samples[:, 0].real, result.elevation.samples[:, 0].real
    assert eta2.max() > eta1.max() and -eta2.min() < -eta1.min()
    assert printed["crest"] == pytest.approx(eta2.max(), rel=1e-6)


def test_bichromatic_group_and_its_bound_long_wave(batch, tmp_path):
    # 0.9 and 1.0 Hz: every term repeats in 10 s, so 100 s holds whole periods.
    group = dict(bichromatic=(0.02, 1.0, 0.02, 1 / 0.9), depth=0.4, paddle="piston",
                 duration=100, ramp=0)
    first = ondarix.sea(**group)
    second = ondarix.sea(order=2, **group)
    assert second.report["spectrum"] == "bichromatic"
    assert second.report["components"] == 2

    def amplitude(result, f):
        eta = result.elevation.samples[:, 0].real
        t = numpy.arange(len(eta)) * 0.02
        return 2 * numpy.mean(eta * numpy.exp(-2j * numpy.pi * f * t))

    # The first order holds the two waves alone; the second adds a set-down
    # in phase with the group's envelope (negative under its crest at t = 0).
    assert abs(amplitude(first, 1.0)) == pytest.approx(0.01, rel=1e-6)  # float samples
    assert abs(amplitude(first, 0.1)) < 1e-8
    bound = amplitude(second, 0.1)
    assert bound.real < -1e-5 and abs(bound.imag) < 1e-3 * abs(bound)
    # A group has no spectrum to correct its drive to.
    ondarix.write(second.drive, tmp_path / "gauge.INT")
    with pytest.raises(ValueError, match="bichromatic group is not corrected"):
        ondarix.sea(order=2, correct=tmp_path / "gauge.INT", **group)
    printed = json.loads(batch("sea", "--bichromatic", "0.02,1.0,0.02,1.1111111111111112",
                               "--depth", 0.4, "--paddle", "piston", "--duration", 100,
                               "--ramp", 0, "--order", 2, "--json", "-o",
                               tmp_path / "b.M11").stdout)
    assert printed == second.report


@pytest.mark.parametrize("keywords,options,reason", [
    (dict(bichromatic=(0.02, 1.2, 0.03, 1.2)),
     ["--bichromatic", "0.02,1.2,0.03,1.2"], "need different periods"),
    (dict(regular=(0.1, 4.0), order=2), ["--regular", "0.1,4", "--order", 2],
     "Ursell number"),
    (dict(solitary=0.1, order=2), ["--solitary", 0.1, "--order", 2],
     "solitary wave has no second order"),
    (dict(regular=(0.02, 1.2), order=2, pairs_fmin=5.0, pairs_fmax=1.0),
     ["--regular", "0.02,1.2", "--order", 2, "--pairs-fmin", 5, "--pairs-fmax", 1],
     "pairs' highest frequency must lie above"),
])
def test_refusals_match_batch(batch, tmp_path, keywords, options, reason):
    common = dict(depth=0.5, paddle="piston", duration=60)
    with pytest.raises(ValueError, match=reason):
        ondarix.sea(**common, **keywords)
    done = batch("sea", *options, "--depth", 0.5, "--paddle", "piston", "--duration", 60,
                 "-o", tmp_path / "x.M11", ok=False)
    assert done.returncode == 1
    assert reason in batch_reason(done)


def test_second_order_choices_belong_to_order_2(batch, tmp_path):
    for name in ("subharmonics", "superharmonics", "limit-subharmonics"):
        done = batch(*sea_args(**{name: True}), "-o", tmp_path / "x.M11", ok=False)
        assert done.returncode == 2
        assert f"--{name} belongs to --order 2" in done.stderr
    with pytest.raises(ValueError, match="pairs_fmin= belongs to order=2"):
        ondarix.sea(pairs_fmin=0.3, **SEA)
    with pytest.raises(ValueError, match="difference_fmin= belongs to order=2"):
        ondarix.sea(difference_fmin=0.01, **SEA)
    done = batch(*sea_args(difference_fmin=0.01), "-o", tmp_path / "x.M11", ok=False)
    assert done.returncode == 2 and "--difference-fmin belongs to --order 2" in done.stderr
    # A twentieth of the peak frequency by default; 0 makes the slowest too.
    kept = ondarix.sea(order=2, **SEA).report
    every = ondarix.sea(order=2, difference_fmin=0, **SEA).report
    assert kept["difference_fmin"] == pytest.approx(0.05 / 2.0) and every["difference_fmin"] == 0
    assert every["stroke"] > kept["stroke"]
    with pytest.raises(ValueError, match="order is 1 or 2"):
        ondarix.sea(order=3, **SEA)
    done = batch(*sea_args(order=3), "-o", tmp_path / "x.M11", ok=False)
    assert done.returncode == 2
    # The elevation is written beside the drive, never over it or an input.
    done = batch(*sea_args(), "--elevation", tmp_path / "x.M11", "-o", tmp_path / "x.M11",
                 ok=False)
    assert done.returncode == 2 and not (tmp_path / "x.M11").exists()
    done = batch(*sea_args(), "--elevation", tmp_path / "e.xyz", "-o", tmp_path / "d.M11",
                 ok=False)
    assert done.returncode == 2 and "--elevation must end in" in done.stderr


def test_torsethaugen_by_name_in_python_and_batch(batch, tmp_path):
    # A name, not a table's path, in both.
    result = ondarix.sea(spectrum="torsethaugen", hm0=2.0, tp=15.0, depth=40.0,
                         paddle="piston", dt=0.5, duration=3600)
    printed = json.loads(batch("sea", "--spectrum", "torsethaugen", "--hm0", 2, "--tp", 15,
                               "--depth", 40, "--paddle", "piston", "--dt", 0.5,
                               "--duration", 3600, "--json", "-o", tmp_path / "t.M11").stdout)
    assert printed == result.report and printed["spectrum"] == "torsethaugen"
    df = result.frequencies[1] - result.frequencies[0]
    assert 4 * numpy.sqrt(result.density.sum() * df) == pytest.approx(2.0, rel=1e-12)
