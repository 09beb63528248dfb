"""Campaigns: one analysis over many files on Dask, one row per file, and a
bad file only spoils its own row."""

import numpy
import pytest

import ondarix

BROKEN = {7, 23, 41}


@pytest.fixture(scope="module")
def campaign_files(tmp_path_factory):
    """50 generated runs of different wave lengths; 3 of them broken."""
    folder = tmp_path_factory.mktemp("campaign")
    paths = []
    for i in range(50):
        path = folder / f"run{i:02d}.INT"
        if i in BROKEN:
            path.write_bytes(b"\x00" * 7)  # cut off inside the header
        else:
            signal = ondarix.generate(model=1, waves=(2, 3, 2), wave_length=4.0 + 0.1 * i)
            ondarix.write(signal.measurement, str(path))
        paths.append(str(path))
    return paths


def check_rows(frame, paths):
    assert list(frame["file"]) == paths
    failed = frame[frame["error"].notna()]
    assert sorted(failed.index) == sorted(BROKEN)
    for i in BROKEN:
        with pytest.raises(OSError) as raised:
            ondarix.read(paths[i])
        assert frame.loc[i, "error"] == str(raised.value)
    for i in (0, 30, 49):
        expected = ondarix.statistics(ondarix.read(paths[i]), channel=0)
        assert frame.loc[i, "maximum"] == expected.maximum
        assert frame.loc[i, "period_mean"] == expected.period_mean
        assert frame.loc[i, "block"] == f"0..{len(ondarix.read(paths[i]))}"


def test_fifty_files_on_a_two_worker_local_cluster(campaign_files):
    distributed = pytest.importorskip("distributed")
    with distributed.LocalCluster(
        n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None
    ) as cluster, distributed.Client(cluster) as client:
        frame = ondarix.campaign(campaign_files, "statistics", client=client)
    assert len(frame) == 50
    check_rows(frame, campaign_files)


def test_threaded_scheduler_by_default(campaign_files):
    frame = ondarix.campaign(campaign_files, "statistics")
    assert len(frame) == 50
    check_rows(frame, campaign_files)


def test_components_and_options_reach_every_run(campaign_files):
    good = [p for i, p in enumerate(campaign_files) if i not in BROKEN][:4]
    # One component at the generated wave's own frequency 1/T.
    period = ondarix.generate(model=1, waves=(2, 3, 2), wave_length=4.0).period
    frame = ondarix.campaign(good, "kalman", components=[{"frequency": 1.0 / period}], model=1)
    assert frame["error"].isna().all()
    direct = ondarix.kalman(ondarix.read(good[0]), [{"frequency": 1.0 / period}], model=1)
    assert frame.loc[0, "component1_amplitude"] == direct.components[0]["amplitude"]
    assert frame.loc[0, "observation_error"] == direct.observation_error


def test_bad_options_are_a_row_error_and_unknown_analyses_fail_at_once(campaign_files):
    frame = ondarix.campaign(campaign_files[:2], "kalman", components=[], model=7)
    assert list(frame["error"]) == ["model takes 0 to 3"] * 2
    with pytest.raises(ValueError, match="unknown analysis 'spectra'"):
        ondarix.campaign(campaign_files, "spectra")
    assert len(ondarix.campaign([], "statistics")) == 0


def test_a_function_as_the_analysis(campaign_files):
    def peak(measurement, channel, start, stop):
        return {"peak": float(numpy.abs(measurement.real[start:stop, channel]).max())}

    frame = ondarix.campaign(campaign_files[:3], peak)
    assert frame.loc[0, "peak"] == float(numpy.abs(ondarix.read(campaign_files[0]).real[:, 0]).max())


def test_wave_analyses_in_a_campaign(campaign_files, tmp_path):
    good = [p for i, p in enumerate(campaign_files) if i not in BROKEN][:3]
    paths = good + [campaign_files[7]]
    frame = ondarix.campaign(paths, "waves", threshold=0.1)
    direct = ondarix.waves(ondarix.read(good[1]), threshold=0.1)
    assert (frame.loc[1, "count"], frame.loc[1, "h13"]) == (direct.count, direct.h13)
    assert "waves" not in frame.columns  # the wave list is not a scalar
    assert frame.loc[3, "error"] is not None
    frame = ondarix.campaign(paths, "spectrum", segment=256)
    assert frame.loc[2, "hm0"] == ondarix.spectrum(ondarix.read(good[2]), segment=256).hm0

    # Reflection's gauges are channels=; the rows name them.
    sea = numpy.stack([numpy.cos(numpy.arange(2048) * 0.2 - 0.3 * g) for g in range(3)], axis=1)
    path = str(tmp_path / "sea.TXT")
    ondarix.write(ondarix.Measurement(sea, 20.0), path)
    keywords = dict(positions=[0, 0.5, 1.2], depth=0.6)
    frame = ondarix.campaign([path, campaign_files[7]], "reflection", channels=[0, 2, 1],
                             **keywords)
    assert list(frame["channel"]) == ["0,2,1", "0,2,1"]
    assert frame.loc[0, "kr"] == ondarix.reflection(ondarix.read(path), [0, 2, 1], **keywords).kr
    assert frame.loc[0, "error"] is None and frame.loc[1, "error"] is not None
