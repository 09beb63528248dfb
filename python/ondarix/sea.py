"""ondarix.sea: the drive signal of an irregular sea for a piston or flap
wave-maker, and its correction from the sea a drive made."""

import os

from . import _ondarix
from ._keywords import number, optional_number, text, whole
from ._ondarix import Measurement

_SHAPES = ("jonswap", "pm", "tma", "bm", "gaussian", "ochi-hubble", "torsethaugen", "composite")


def _measurement(value, what):
    """A Measurement, or the one read from a path."""
    if value is None or isinstance(value, Measurement):
        return value
    if isinstance(value, (str, bytes, os.PathLike)):
        return _ondarix.read(value)
    raise ValueError(f"{what} is a Measurement or a file's path")


def sea(
    *,
    spectrum="jonswap",
    hm0=None,
    tp=None,
    gamma=3.3,
    depth=None,
    paddle=None,
    hinge=0.0,
    dt=0.02,
    duration=None,
    seed=1,
    method="phase",
    fmin=None,
    fmax=None,
    ramp=None,
    regular=None,
    focused=False,
    focus_time=None,
    focus_distance=0.0,
    crest=None,
    solitary=None,
    sigma=None,
    ochi_hubble=None,
    bichromatic=None,
    order=1,
    subharmonics=None,
    superharmonics=None,
    limit_subharmonics=False,
    pairs_fmin=None,
    pairs_fmax=None,
    difference_fmin=None,
    max_stroke=None,
    max_velocity=None,
    correct=None,
    channel=0,
    start=0,
    stop=None,
    smooth=5,
    drive=None,
):
    """The paddle drive of a sea, as ondarix-batch sea makes it (Sea).

    spectrum is "jonswap", "pm", "tma" or the path of a table of frequency
    and density (.TXT as ondarix-batch spectrum -o writes it, or .CSV),
    scaled so that 4 sqrt(m0) over the generated band is hm0 (m); tp (s) is
    the peak period, gamma the peak enhancement. depth (m), paddle ("piston"
    or "flap", hinge m above the bottom for a flap), dt and duration (s)
    describe the flume and the drive; seed gives the same drive bit for bit,
    method "phase" (deterministic amplitudes) or "amplitude" (random complex
    amplitudes). fmin and fmax (Hz) default to 0.5 / tp and the smaller of
    3 / tp and a quarter of the sampling rate; ramp (s) to two peak periods.
    regular=(H, T) makes a regular sea instead. focused=True makes a focused
    group of the spectrum (NewWave: amplitudes in proportion to S df) whose
    crests meet focus_time s after the start (default: the middle of the
    drive) and focus_distance m from the paddle, with a linear crest of crest
    m (default: the most probable largest crest of 1000 waves). solitary=H
    makes a solitary wave of height H from a piston (Goring's method).
    spectrum "bm" is Bretschneider-Mitsuyasu, "gaussian" a swell of width
    sigma Hz (default 0.07 / tp), "ochi-hubble" the two-peaked spectrum of
    ochi_hubble=(H1, T1, L1, H2, T2, L2), whose Hm0 is sqrt(H1^2 + H2^2),
    "torsethaugen" the two-peaked sea Torsethaugen & Haver's model makes
    from hm0 and tp alone.
    A list of dicts as spectrum, each with its own "spectrum", "hm0", "tp"
    and optional "gamma" (3.3), makes a composite sea (a swell and a wind
    sea, say): the sum of the parts, each scaled to its own Hm0 over the band.
    bichromatic=(H1, T1, H2, T2) makes two regular waves together. max_stroke
    (m, max - min) and max_velocity (m/s) refuse a drive beyond them.

    order=2 adds the paddle's second-order motion (Schaffer 1996), so that
    the flume carries the bound waves of the sea and no spurious free waves,
    and the target elevation holds the bound waves: the subharmonics
    (difference frequencies) and superharmonics (sums) both, unless one is
    given as False; pairs_fmin and pairs_fmax (Hz) narrow the band of the
    interacting components (default: the band generated); difference_fmin (Hz)
    is the slowest long wave made (default a twentieth of the peak frequency
    for a sea: slower ones would have the paddle drift for minutes; a
    bichromatic group's own always); limit_subharmonics
    scales the subharmonics down where the sea's Ursell number is above 26.
    A regular or bichromatic wave of Ursell number above 26 is refused with
    order=2.

    correct (a Measurement or a path) is the record the previous drive made:
    its block channel, start .. stop (in m, or cm/mm by the channel's unit) is
    compared with the target and the drive (drive=, a Measurement or path;
    by default made again from the same parameters and seed) corrected, the
    gains averaged over smooth components. A block holding a whole repeat
    period (duration) after the ramp-up is measured component by component;
    a shorter one by its Welch spectrum, and report["warning"] says so.
    report["measured_from"], ["measured_to"] and ["measured_periods"] name
    the rows measured.

    Returns Sea(drive, frequencies, density, report, elevation): the drive
    measurement ("Paddle displacement" m, "Paddle velocity" m/s), the target
    spectrum on the generated frequencies, the report as a dict, and the
    target elevation at the paddle ("Target elevation" m). Raises ValueError
    for bad parameters (among them a sea above the breaking limits, or one
    the paddle cannot make) or a drive beyond a limit, TypeError naming a
    keyword of the wrong type, OSError for a file."""
    needed = {"depth": depth, "paddle": paddle, "duration": duration}
    parts = _parts(spectrum)
    if parts:
        spectrum = "composite"
    if (regular is None and solitary is None and bichromatic is None
            and spectrum not in ("ochi-hubble", "composite")):
        needed = {"hm0": hm0, "tp": tp, **needed}
    for name, value in needed.items():
        if value is None:
            raise ValueError(f"sea needs {name}=")
    seed = whole(seed, "seed")
    if not 0 <= seed < 2**64:
        raise ValueError("seed is a whole number >= 0 and below 2**64")
    table = None
    if not (isinstance(spectrum, str) and spectrum in _SHAPES):
        if not isinstance(spectrum, (str, bytes, os.PathLike)):
            raise ValueError("spectrum is jonswap, pm, tma, bm, gaussian, ochi-hubble, "
                             "torsethaugen or a table's path")
        table = os.fsdecode(spectrum)
    correct = _measurement(correct, "correct")
    drive = _measurement(drive, "drive")
    if drive is not None and correct is None:
        raise ValueError("drive= belongs to correct=")
    if regular is not None:
        regular = tuple(number(x, "regular") for x in regular)
        if len(regular) != 2:
            raise ValueError("regular is a height and a period (H, T)")
    return _ondarix._sea(
        spectrum=spectrum if table is None else "table",
        table=table,
        hm0=optional_number(hm0, "hm0", 0.0),
        tp=optional_number(tp, "tp", 0.0),
        gamma=number(gamma, "gamma"),
        depth=number(depth, "depth"),
        paddle=text(paddle, "paddle"),
        hinge=number(hinge, "hinge"),
        dt=number(dt, "dt"),
        duration=number(duration, "duration"),
        seed=seed,
        method=text(method, "method"),
        fmin=optional_number(fmin, "fmin", 0.0),
        fmax=optional_number(fmax, "fmax", 0.0),
        ramp=optional_number(ramp, "ramp", -1.0),
        regular=regular,
        focus=_focus(focused, focus_time, focus_distance, crest, duration),
        solitary=optional_number(solitary, "solitary", 0.0),
        sigma=optional_number(sigma, "sigma", 0.0),
        ochi_hubble=None if ochi_hubble is None else _six(ochi_hubble),
        parts=parts,
        bichromatic=None if bichromatic is None else _four(bichromatic),
        order=_order(order, subharmonics, superharmonics, limit_subharmonics, pairs_fmin,
                     pairs_fmax, difference_fmin),
        max_stroke=optional_number(max_stroke, "max_stroke", 0.0),
        max_velocity=optional_number(max_velocity, "max_velocity", 0.0),
        correct=correct,
        channel=whole(channel, "channel"),
        start=whole(start, "start"),
        stop=(len(correct) if correct is not None else 0) if stop is None else whole(stop, "stop"),
        smooth=whole(smooth, "smooth"),
        drive=drive,
    )


def _focus(focused, time, distance, crest, duration):
    """A focused group's (time, distance, crest), or None for a random sea."""
    if not focused:
        for name, value in (("focus_time", time), ("crest", crest)):
            if value is not None:
                raise ValueError(f"{name}= belongs to focused=True")
        return None
    return (number(duration, "duration") / 2 if time is None else number(time, "focus_time"),
            number(distance, "focus_distance"), optional_number(crest, "crest", 0.0))


def _six(values):
    """An Ochi-Hubble spectrum's six numbers."""
    six = tuple(number(x, "ochi_hubble") for x in values)
    if len(six) != 6:
        raise ValueError("ochi_hubble is H1, T1, L1, H2, T2, L2: six numbers")
    return six


def _four(values):
    """A bichromatic group's H1, T1, H2, T2."""
    four = tuple(number(x, "bichromatic") for x in values)
    if len(four) != 4:
        raise ValueError("bichromatic is H1, T1, H2, T2: four numbers")
    return four


def _order(order, subharmonics, superharmonics, limit, fmin, fmax, slowest):
    """(order, subharmonics, superharmonics, limit, pairs_fmin, pairs_fmax,
    difference_fmin)."""
    order = whole(order, "order")
    if order not in (1, 2):
        raise ValueError("order is 1 or 2")
    if order == 1:
        given = {"subharmonics": subharmonics, "superharmonics": superharmonics,
                 "limit_subharmonics": limit or None, "pairs_fmin": fmin, "pairs_fmax": fmax,
                 "difference_fmin": slowest}
        for name, value in given.items():
            if value is not None:
                raise ValueError(f"{name}= belongs to order=2")
        return (1, True, True, False, 0.0, 0.0, -1.0)
    return (2, True if subharmonics is None else bool(subharmonics),
            True if superharmonics is None else bool(superharmonics), bool(limit),
            optional_number(fmin, "pairs_fmin", 0.0), optional_number(fmax, "pairs_fmax", 0.0),
            optional_number(slowest, "difference_fmin", -1.0))


def _parts(spectrum):
    """A composite sea's parts as (shape, Hm0, Tp, gamma), or [] for one spectrum."""
    if not isinstance(spectrum, (list, tuple)):
        return []
    parts = []
    for part in spectrum:
        if not isinstance(part, dict):
            raise TypeError("a composite spectrum is a list of dicts")
        unknown = set(part) - {"spectrum", "hm0", "tp", "gamma"}
        if unknown:
            raise ValueError(f"a part of a composite sea has no {sorted(unknown)[0]}=")
        for name in ("spectrum", "hm0", "tp"):
            if name not in part:
                raise ValueError(f"each part of a composite sea needs {name}")
        parts.append((text(part["spectrum"], "spectrum"), number(part["hm0"], "hm0"),
                      number(part["tp"], "tp"), number(part.get("gamma", 3.3), "gamma")))
    return parts
