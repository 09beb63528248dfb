"""ondarix.report: the test report of records in HTML or PDF, made by
ondarix-batch report (the painting of the plots lives in the desktop layer,
which the extension module does not carry)."""

import os
import shutil
import subprocess

from ._keywords import number, text, whole

_ANALYSES = ("waves", "spectrum", "reflection")
_PREFIX = "ondarix-batch: "


def _batch():
    """The ondarix-batch beside the package's install, or on PATH."""
    exe = os.environ.get("ONDARIX_BATCH") or shutil.which("ondarix-batch")
    if not exe or not os.access(exe, os.X_OK):
        raise OSError("ondarix-batch is not installed (set ONDARIX_BATCH to its path)")
    return exe


def _paths(paths):
    if isinstance(paths, (str, bytes, os.PathLike)):
        paths = [paths]
    try:
        items = list(paths)
    except TypeError:
        raise TypeError(f"paths must be a path or a list of paths, not {type(paths).__name__}")
    if not items:
        raise ValueError("paths holds no file")
    for p in items:
        if not isinstance(p, (str, bytes, os.PathLike)):
            raise TypeError(f"paths must hold paths, not {type(p).__name__}")
    return [os.fsdecode(p) for p in items]


def _numbers(values, keyword, convert):
    if isinstance(values, (str, bytes)):
        raise TypeError(f"{keyword} must be a list of numbers, not {type(values).__name__}")
    try:
        return ",".join(repr(convert(v, keyword)) for v in values)
    except TypeError as e:
        if keyword in str(e):
            raise
        raise TypeError(f"{keyword} must be a list of numbers, not {type(values).__name__}")


def _analyses(values):
    if isinstance(values, str):
        values = [values]
    names = [text(v, "analyses") for v in values]
    for name in names:
        if name not in _ANALYSES:
            raise ValueError(f"analyses takes {', '.join(_ANALYSES)}, not {name!r}")
    if not names:
        raise ValueError("analyses names no analysis")
    return ",".join(names)


def report(
    paths,
    path="report.html",
    *,
    channels=None,
    analyses=("waves", "spectrum"),
    start=None,
    stop=None,
    segment=None,
    fmin=None,
    fmax=None,
    detrend=None,
    threshold=None,
    up=False,
    depth=None,
    slope=None,
    positions=None,
    target=None,
    rate=None,
):
    """Writes the test report of the records `paths` to `path` (.html or
    .pdf) and returns the reasons of the files that could not be read or
    analysed (empty when all were); those files are rows of the report.

    The keywords are the options of ondarix-batch report: channels (the
    gauges, every channel by default), analyses ("waves", "spectrum",
    "reflection"), start and stop (rows), segment, fmin and fmax (Hz),
    detrend ("none", "mean", "linear"), threshold, up, depth and slope (the
    foreshore; depth alone is the reflection's), positions (m, one per gauge
    for the reflection), target (the path of a spectrum table or of a drive
    saved with its target elevation, to compare every spectrum with) and
    rate (Hz, for a file that does not say it)."""
    out = text(os.fspath(path) if isinstance(path, os.PathLike) else path, "path")
    args = ["report", *_paths(paths), "-o", out]
    args += ["--analyses", _analyses(analyses)]
    if channels is not None:
        args += ["--channels", _numbers(channels, "channels", whole)]
    if positions is not None:
        args += ["--positions", _numbers(positions, "positions", number)]
    for keyword, value, convert in (
        ("from", start, whole),
        ("to", stop, whole),
        ("segment", segment, whole),
        ("fmin", fmin, number),
        ("fmax", fmax, number),
        ("threshold", threshold, number),
        ("depth", depth, number),
        ("slope", slope, number),
        ("rate", rate, number),
    ):
        if value is not None:
            name = {"from": "start", "to": "stop"}.get(keyword, keyword)
            args += [f"--{keyword}", repr(convert(value, name))]
    if target is not None:
        if not isinstance(target, (str, os.PathLike)):
            raise TypeError(f"target must be a path, not {type(target).__name__}")
        args += ["--target", os.fspath(target)]
    if detrend is not None:
        args += ["--detrend", text(detrend, "detrend")]
    if not isinstance(up, bool):
        raise TypeError(f"up must be True or False, not {type(up).__name__}")
    if up:
        args.append("--up")
    done = subprocess.run([_batch(), *args], capture_output=True, text=True)
    lines = [line[len(_PREFIX):] if line.startswith(_PREFIX) else line
             for line in done.stderr.splitlines() if line.strip()]
    if done.returncode == 2:
        raise ValueError(lines[0] if lines else "bad arguments")
    if done.returncode == 1 and lines and lines[-1].startswith(("cannot write", "--target")):
        raise OSError(lines[-1])
    if done.returncode not in (0, 1):
        raise OSError(lines[-1] if lines else f"ondarix-batch report failed ({done.returncode})")
    return [line for line in lines if not line.startswith("warning:")]
