"""Campaigns: one analysis over many files, on Dask.

Each file is one task; a task never raises, it returns its row with the error
text, so one bad file never stops a campaign. Without a client the tasks run
on Dask's local threaded scheduler (the analyses release the GIL); with a
distributed.Client they run on its cluster, whose workers must be able to
import ondarix and read the paths."""

import os

import dask
import pandas

from . import analyses
from ._ondarix import read
from ._results import scalar_fields


def _reflection(measurement, channel, start, stop, channels=None, **options):
    """reflection as a campaign calls it: the gauges are channels=, not channel."""
    return analyses.reflection(measurement, channels, start, stop, **options)


ANALYSES = {
    "statistics": analyses.statistics,
    "fourier": analyses.fourier,
    "kalman": analyses.kalman,
    "aprox": analyses.aprox,
    "waves": analyses.waves,
    "spectrum": analyses.spectrum,
    "reflection": _reflection,
}


def _analysis(analysis):
    if callable(analysis):
        return analysis
    try:
        return ANALYSES[analysis]
    except KeyError:
        raise ValueError(
            f"unknown analysis '{analysis}' ({', '.join(ANALYSES)}, or a function)"
        ) from None


def _is_path(path):
    return isinstance(path, (str, bytes, os.PathLike))


def run_one(path, analysis, channel, start, stop, file_type, options):
    """The row of one file: file, channel, block, the result's scalars, error."""
    row = {"file": os.fsdecode(path) if _is_path(path) else str(path), "channel": channel, "block": None, "error": None}
    if options.get("channels") is not None:  # reflection's gauges
        row["channel"] = ",".join(str(c) for c in options["channels"])
    try:
        measurement = read(path, file_type)
        end = len(measurement) if stop is None else stop
        row["block"] = f"{start}..{end}"
        result = _analysis(analysis)(measurement, channel=channel, start=start, stop=end, **options)
        row.update(result if isinstance(result, dict) else scalar_fields(result))
    except Exception as error:  # the row says why; the campaign goes on
        row["error"] = str(error) or type(error).__name__
    return row


def campaign(
    paths, analysis, *, channel=0, start=0, stop=None, type=None, client=None, **options
):
    """Applies one analysis to many files; a pandas DataFrame, one row per file.

    paths: an iterable of paths (str, bytes or path-like), or one such path.

    analysis: "statistics", "fourier", "kalman", "aprox", "waves", "spectrum",
    "reflection", or a function f(measurement, channel=, start=, stop=,
    **options) returning a result or a dict. options go to the analysis (for
    kalman and aprox, components= and their keywords; for reflection,
    channels= (the gauges, default all), positions= and depth=, and the rows'
    channel is then the gauges "c1,c2[,c3]"). Rows keep the order of `paths`
    and hold file, channel, block ("start..stop"), error (None, or why the
    file failed) and every scalar of the result (component values as
    component<i>_<field>; no arrays, such as spectra or wave lists).

    client: a distributed.Client to run on its cluster; by default Dask's
    local threaded scheduler."""
    _analysis(analysis)  # an unknown name fails here, not in every row
    if _is_path(paths):
        paths = [paths]  # one file, not the characters of its name
    tasks = [
        dask.delayed(run_one, pure=False)(path, analysis, channel, start, stop, type, options)
        for path in paths
    ]
    if client is not None:
        rows = client.gather(client.compute(tasks))
    else:
        rows = dask.compute(*tasks, scheduler="threads")
    leading = ["file", "channel", "block", "error"]
    frame = pandas.DataFrame(list(rows), columns=None if rows else leading)
    return frame[leading + [c for c in frame.columns if c not in leading]]
