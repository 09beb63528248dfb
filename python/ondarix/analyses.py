"""The analyses on a block: a Measurement with channel, start and stop, or a
plain array (one channel; N x G gauges for reflection) with its sample rate.

start and stop are ondarix-batch's --from and --to: row numbers 0 .. N of the
measurement; stop defaults to N (the whole channel). Bad input raises
ValueError with the reason ondarix-batch gives, and so does a block holding
NaN or infinity ("row R of channel C is not a finite number")."""

import dataclasses
import os

import numpy

from . import _ondarix
from ._keywords import number, whole
from ._ondarix import Measurement
from ._results import Spectrum


def _source(data, rate):
    """What the analyses read a block of: a Measurement as it is, or a plain
    array with its rate. The analyses that take it straight convert only the
    block they read instead of copying the whole array."""
    if isinstance(data, Measurement):
        if rate is not None:
            raise ValueError("rate is the measurement's own; give it only with a plain array")
        return data
    if rate is None:
        raise ValueError("a plain array needs its sample rate: rate=...")
    number(rate, "rate")
    return numpy.asarray(data)


def _rows(start, stop):
    """start and stop as ints; TypeError naming the one that is no integer."""
    return whole(start, "start"), None if stop is None else whole(stop, "stop")


def _block(data, channel, start, stop, rate):
    channel = whole(channel, "channel")
    start, stop = _rows(start, stop)
    source = _source(data, rate)
    m = source if isinstance(source, Measurement) else Measurement(source, rate)
    return m, channel, start, len(m) if stop is None else stop


def _options(options, defaults):
    """The options of kalman or aprox, each of the type of its default."""
    checked = {}
    for key, value in options.items():
        if key in defaults:
            convert = whole if isinstance(defaults[key], int) else number
            value = convert(value, key)
        checked[key] = value
    return checked


def _component_records(components):
    """A list of dicts from a list of dicts or a pandas DataFrame."""
    if hasattr(components, "to_dict"):
        return components.to_dict("records")
    return [dict(c) for c in components]


def _start_list(m, channel, start, stop, components):
    """The records of `components`, or for "auto:K" the K start components
    from the largest separate peaks of the block's spectrum."""
    if isinstance(components, str):
        return _ondarix._auto_components(m, channel, start, stop, components)
    return _component_records(components)


def _like(components, records):
    """The updated list in the form the caller gave it."""
    if hasattr(components, "to_dict"):
        import pandas

        return pandas.DataFrame(records)
    return records


def statistics(data, channel=0, start=0, stop=None, *, rate=None):
    """Signal, wave, period and frequency statistics of a block (Statistics)."""
    m, channel, start, stop = _block(data, channel, start, stop, rate)
    return _ondarix._statistics(m, channel, start, stop)


def fourier(data, channel=0, start=0, stop=None, *, rate=None, inverse=False, onesided=False):
    """The discrete Fourier transform of a block (Spectrum).

    Forward, of the real parts: X_k = (2/N) sum_j re_j e^(+i 2 pi j k / N);
    inverse=True, of the complex values: X_k = 0.5 sum_j x_j e^(-i 2 pi j k / N).
    The two scalings undo each other for a real signal. All N bins, or with
    onesided=True bins 0 .. N/2 only (N/2 + 1 of them, as scipy.fft.rfft
    returns; for a real block the others are their conjugates, X_(N-k) =
    conj(X_k)), which is faster. The GIL is released while it runs and Ctrl+C
    cancels it."""
    channel = whole(channel, "channel")
    start, stop = _rows(start, stop)
    source = _source(data, rate)
    result = _ondarix._fourier(source, rate, channel, start, stop, inverse, onesided)
    if isinstance(source, Measurement):
        rate, rows = source.rate, len(source)
    else:
        rows = source.shape[0]
    # The bins are rate / N apart, N the block's length, on one side too.
    return Spectrum(result, rate / abs((rows if stop is None else stop) - start), onesided)


def kalman(data, components, channel=0, start=0, stop=None, *, rate=None, **options):
    """Splits a block into the waves of `components` with the Kalman filter.

    components: a list of dicts or a pandas DataFrame with the columns
    frequency and optionally name, amplitude, k, a, d, eta (missing values take
    a fresh list's defaults: amplitude 100, k 5, a, d and eta 0), or "auto:K":
    the K (1..10) largest separate peaks of the block's spectrum, frequency
    from the parabola through each peak's top bin, amplitude sqrt(2 sum S df)
    over its bins, k 5, a, d and eta 0 (returned as a list of dicts). options, as
    ondarix-batch kalman's with its built-in defaults (ondarix.KALMAN_DEFAULTS):
    model 0..3, observation_error (percent), estimate_error 0|1, use_damp 0|1,
    constant_period (s), asymptotic. Returns a KalmanResult whose components
    are in the form given. The GIL is released while it runs and Ctrl+C
    cancels it; the measurement's own component list is left as it was."""
    m, channel, start, stop = _block(data, channel, start, stop, rate)
    records = _start_list(m, channel, start, stop, components)
    options = _options(options, _ondarix.KALMAN_DEFAULTS)
    result = _ondarix._kalman(m, channel, start, stop, records, **options)
    return dataclasses.replace(result, components=_like(components, result.components))


def aprox(data, components, channel=0, start=0, stop=None, *, rate=None, level=0.0, **options):
    """Fits a level and damped sinusoids to a block, starting from `components`.

    components as for kalman; level is the start level (used with use_ad=1).
    options, as ondarix-batch aprox's with its defaults (ondarix.APROX_DEFAULTS):
    use_ad 0|1 (start from the given a, d and level), use_eta 0|1 (fit the
    dampings too). Returns an AproxResult with the fitted list in the form
    given. A fit stopped at a singular system warns (RuntimeWarning) and keeps
    the values of its last good step."""
    m, channel, start, stop = _block(data, channel, start, stop, rate)
    records = _start_list(m, channel, start, stop, components)
    options = _options(options, _ondarix.APROX_DEFAULTS)
    level = number(level, "level")
    result = _ondarix._aprox(m, channel, start, stop, records, level, **options)
    return dataclasses.replace(result, components=_like(components, result.components))


def waves(
    data,
    channel=0,
    start=0,
    stop=None,
    *,
    rate=None,
    up=False,
    threshold=0.0,
    detrend="mean",
    depth=None,
    slope=None,
):
    """Wave-by-wave statistics of a block (WaveStatistics), as ondarix-batch waves.

    detrend ("none", "mean" or "linear": the least-squares line) is taken
    out of the block first; waves are cut at zero-down-crossings, or
    zero-up-crossings with up=True, interpolated between samples. A crossing
    counts only once the signal has left the band +-threshold/2 (in the
    channel's unit) on the other side, so that noise around zero does not
    split waves. depth (in the channel's unit) and slope (tan alpha of the
    foreshore), given together, add Battjes and Groenendijk's (2000)
    composite Weibull prediction. The result's warnings name a threshold
    when noise crossings show. The GIL is released while it runs."""
    if (depth is None) != (slope is None):
        raise ValueError("depth and slope go together")
    if depth is not None and not depth > 0:
        raise ValueError("the depth must be a number > 0")
    start, stop = _rows(start, stop)
    return _ondarix._waves(
        _source(data, rate),
        rate,
        whole(channel, "channel"),
        start,
        stop,
        up=up,
        threshold=threshold,
        detrend=detrend,
        depth=0.0 if depth is None else depth,
        slope=0.0 if slope is None else slope,
    )


def spectrum(
    data,
    channel=0,
    start=0,
    stop=None,
    *,
    rate=None,
    segment=0,
    fmin=0.0,
    fmax=0.0,
    detrend="linear",
):
    """The variance density spectrum of a block, its sea state parameters and
    its 90 % confidence band (VarianceSpectrum), as ondarix-batch spectrum.

    detrend ("none", "mean" or "linear": the least-squares line, a gauge's
    drift) is taken out of the whole block first. Welch's method: Hann
    window, segment samples per segment (0: the largest power of two not
    above N/8, at least 256), 50 % overlap, each segment's mean removed
    (unless detrend="none"). The moments are taken over fmin .. fmax in Hz (0: from the
    first non-zero bin, and up to Nyquist; a limit above Nyquist is refused).
    The result's warnings name an fmax when a flat noise tail weighs on m2.
    The GIL is released while it runs."""
    start, stop = _rows(start, stop)
    return _ondarix._spectrum(
        _source(data, rate),
        rate,
        whole(channel, "channel"),
        start,
        stop,
        segment=segment,
        fmin=fmin,
        fmax=fmax,
        detrend=detrend,
    )


def reflection(
    data,
    channels=None,
    start=0,
    stop=None,
    *,
    positions,
    depth,
    rate=None,
    segment=0,
    fmin=0.0,
    fmax=0.0,
    detrend="linear",
    series=False,
    at=None,
    regular=False,
):
    """Incident and reflected waves from 2 to 16 gauges in a row along the
    flume (Reflection), as ondarix-batch reflection.

    data is a Measurement whose channels are the gauges, or an N x G array
    (one column a gauge) with its rate; channels defaults to all of them, and
    names each gauge once.
    positions (m, along the incident waves, one per gauge) and depth (m) are
    required. Two gauges are separated by Goda and Suzuki's method, more by
    least squares (Mansard and Funke; Zelt and Skjelbreia's weighting of the
    pairs by their spacing), per frequency of the block's transform with the
    linear dispersion relation; frequencies the gauges cannot resolve are
    left out (result.left_out, result.separable). segment sets the resolution of the spectra (as for
    spectrum), fmin .. fmax the band (Hz, 0: the whole; not above Nyquist).
    detrend ("none", "mean" or "linear") is taken out of each gauge's block.
    series=True adds result.series: the incident and reflected elevations at
    at (m, default the first gauge's position), the band's separable
    frequencies transformed back; the first and last twentieth of the block
    are tapered and fade to zero. regular=True separates a regular wave at
    its harmonics instead and returns a RegularReflection (four gauges or
    more for the second harmonic); a record whose peak is not one line is
    refused with ValueError. The GIL is released while it runs."""
    start, stop = _rows(start, stop)
    return _ondarix._reflection(
        _source(data, rate),
        rate,
        None if channels is None else list(channels),
        start,
        stop,
        positions=list(positions),
        depth=depth,
        segment=segment,
        fmin=fmin,
        fmax=fmax,
        detrend=detrend,
        series=series,
        at=at,
        regular=regular,
    )


def calibrate(data, channel=0, levels=(), *, rate=None, windows=None, force=False, apply=None,
              to_channel=None):
    """A gauge's coefficient and constant (GaugeCalibration), as ondarix-batch
    calibrate finds them, from a record in which it stood still at `levels`
    in that order.

    data is a file name (read as ondarix-batch reads it: the raw values of
    an .INT file of integer samples are its counts, the file's own
    coefficient and constant undone), a Measurement or a plain array with
    rate (their values are the raw values). windows, a list of (start,
    stop) pairs in seconds, names the steady stretches instead of finding
    them; force takes a fit with r2 below 0.99; apply, an .INT file name,
    gets the coefficient and constant in the description of channel
    to_channel (by default the record's channel number), so that one gauge's
    record calibrates any gauge of a run. Raises ValueError with the reason
    for fewer than two levels, a number of stretches other than the levels',
    r2 below 0.99, an apply file that is no .INT file or to_channel without
    apply or below 0; TypeError for a to_channel that is no whole number;
    OSError when apply cannot be written."""
    if to_channel is not None:
        to_channel = whole(to_channel, "to_channel")
        if apply is None:
            raise ValueError("to_channel names a channel of the apply file")
        if to_channel < 0:
            raise ValueError("to_channel takes a channel number from 0")
    path = ""
    if isinstance(data, (str, os.PathLike)):
        path = os.fspath(data)
        data = _ondarix.read(path)
    m, channel, _, _ = _block(data, channel, 0, None, rate)
    flat = [number(v, "windows") for pair in (windows or ()) for v in pair]
    return _ondarix._calibrate(
        m,
        channel,
        [number(v, "levels") for v in levels],
        windows=flat,
        force=force,
        path=path,
        apply="" if apply is None else os.fspath(apply),
        to_channel=-1 if to_channel is None else to_channel,
    )
