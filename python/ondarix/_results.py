"""The small result types of ondarix: plain dataclasses of floats, ints,
strings and numpy arrays."""

from dataclasses import dataclass, fields
from typing import Any, Optional


@dataclass(frozen=True)
class Channel:
    """One channel's description: values in `unit` are raw * coefficient + constant."""

    name: str
    unit: str
    coefficient: float
    constant: float


@dataclass(frozen=True)
class Statistics:
    """What the "Statistic" dialog shows for a block (and `ondarix-batch stats`).

    A value is None where it was not computed: no deviation for one sample, no
    wave values for fewer than 10 samples or when no wave was found, no periods
    without a positive sample rate. Periods are in seconds, frequencies in Hz
    (frequency_mean is 1 / period_mean)."""

    start: int
    stop: int
    minimum: Optional[float]
    maximum: Optional[float]
    mean: Optional[float]
    deviation: Optional[float]
    wave_count: int
    height_min: Optional[float]
    height_max: Optional[float]
    height_mean: Optional[float]
    period_count: int
    period_min: Optional[float]
    period_max: Optional[float]
    period_mean: Optional[float]
    frequency_min: Optional[float]
    frequency_max: Optional[float]
    frequency_mean: Optional[float]


@dataclass(frozen=True)
class Spectrum:
    """The discrete Fourier transform of a block.

    values[k] is bin k (complex64, a view of the result's own block): all N
    bins, or bins 0 .. N/2 when onesided; frequency_step is rate / N, the
    spacing of the bins in Hz. measurement is the one-channel result
    "Spectrum", as ondarix-batch fourier writes it."""

    measurement: Any
    frequency_step: float
    onesided: bool = False

    @property
    def values(self):
        return self.measurement.samples[:, 0]

    @property
    def bins(self) -> int:
        return len(self.measurement)

    def _positive(self):
        """Bins 1 .. N/2 (the mean excluded)."""
        half = self.bins - 1 if self.onesided else self.bins // 2
        return self.values[1 : half + 1]

    @property
    def peak_frequency(self) -> Optional[float]:
        """Frequency of the largest bin among 1 .. N/2 (the mean excluded)."""
        positive = self._positive()
        if len(positive) < 1:
            return None
        import numpy

        return (1 + int(numpy.argmax(numpy.abs(positive)))) * self.frequency_step

    @property
    def peak_amplitude(self) -> Optional[float]:
        positive = self._positive()
        if len(positive) < 1:
            return None
        import numpy

        return float(numpy.max(numpy.abs(positive)))


def _channels_by_name(measurement):
    columns = measurement.samples
    return {c.name: columns[:, i] for i, c in enumerate(measurement.channels)}


@dataclass(frozen=True)
class KalmanResult:
    """A Kalman decomposition: per component its signal and derivative
    channels, then "Rest" (measurement, one column each); the component list
    with the estimated amplitudes; the (re-estimated) observation error; and
    the run's "Copy all" text."""

    measurement: Any
    components: Any
    observation_error: float
    text: str

    @property
    def channels(self):
        """Result channels by name, each a complex64 column view."""
        return _channels_by_name(self.measurement)


@dataclass(frozen=True)
class AproxResult:
    """A least-squares fit of a level and damped sinusoids: the result
    channels (measurement), the fitted component list and level, the RMS
    residual, the Newton steps taken, why the fit stopped, and the fit's
    "Copy all" text."""

    measurement: Any
    components: Any
    level: float
    rms: float
    steps: int
    stopped: str
    text: str

    @property
    def channels(self):
        """Result channels by name, each a complex64 column view."""
        return _channels_by_name(self.measurement)


@dataclass(frozen=True)
class GeneratedSignal:
    """A synthesised wave-maker signal and its wave period T in seconds."""

    measurement: Any
    period: float


@dataclass(frozen=True)
class WaveStatistics:
    """Wave-by-wave statistics of a block (ondarix-batch waves).

    Waves are cut at zero crossings about the block mean (removed first, and
    given as mean). Heights are in the channel's unit, periods in seconds:
    h_max and its period t_h_max; h13, t13 the mean height and period of the
    highest floor(N/3) waves, h110, t110 of the highest floor(N/10) (None when
    N is too small for one); h_mean, h_rms = sqrt(mean H^2); tz the mean
    period, t_max the longest. waves is the wave list as --waves-out writes
    it: a pandas DataFrame indexed 1 .. N with columns start (s), period (s),
    height, crest and trough.

    The height distribution: hm0 = 4 sqrt(m0) of the block as analysed;
    h2_percent and h1_percent the heights exceeded by 2 % and 1 % of the
    waves (None for fewer than 49 and 99 waves); hmax_hm0 = h_max / hm0;
    exceedance a DataFrame, highest wave first, of height, measured (i /
    (N + 1)), rayleigh (exp(-2 (H/hm0)^2)) and weibull (Battjes and
    Groenendijk's composite Weibull, NaN without depth and slope); predicted
    that distribution's htr, hrms, htr_hrms, h1_hrms, h2_hrms, h13, h110,
    h2_percent and h1_percent (a dict; None without depth and slope).
    warnings lists, as texts, what points to noise crossings (many waves
    far lower than H1/3) with the threshold that would keep them out; empty
    when nothing does."""

    count: int
    mean: float
    h_max: float
    t_h_max: float
    h13: Optional[float]
    t13: Optional[float]
    h110: Optional[float]
    t110: Optional[float]
    h_mean: float
    h_rms: float
    tz: float
    t_max: float
    waves: Any
    hm0: float
    h2_percent: Optional[float]
    h1_percent: Optional[float]
    hmax_hm0: float
    exceedance: Any
    predicted: Optional[dict]
    warnings: list


@dataclass(frozen=True)
class GaugeCalibration:
    """A gauge's calibration (ondarix-batch calibrate): elevation =
    coefficient * raw + constant by least squares through one point per
    level, its r2 and the largest |level - fit| (largest_residual, in the
    levels' unit); stretches a DataFrame, one row per level, of level, start
    and stop (s) of the steady stretch, its mean raw value and residual."""

    coefficient: float
    constant: float
    r2: float
    largest_residual: float
    stretches: Any


@dataclass(frozen=True)
class VarianceSpectrum:
    """A one-sided variance density spectrum by Welch's method and its sea
    state parameters (ondarix-batch spectrum).

    frequency (Hz) and density (unit^2/Hz) are numpy arrays of the bins 0 ..
    segment/2, df apart, Welch's density as scipy.signal.welch scales it
    (scaling="density"), so that a band holds the variance the segments saw
    in it; variance_below_f1 is the variance of the block (less what detrend,
    "none", "mean" or "linear", took out) that the bins from f1 = df up do
    not hold: a seiche or drift slower than a segment, which each segment's
    own mean takes out; lower and upper the 90 % confidence band of the
    density (chi-square with dof equivalent degrees of freedom, half of
    them at bin 0 and Nyquist; band_lower and band_upper are the factors on
    density of the other bins). segment samples per segment, segments of them. fmin .. fmax is
    the band of the moments m_1 (m-1), m0, m1, m2 and of the peak periods;
    hm0 = 4 sqrt(m0); fp the frequency of the largest density, tp = 1/fp;
    tp_parabola from the vertex of the parabola through the largest bin and
    its neighbours, tp5 = 1/fp5 with fp5 = sum f S^5 / sum S^5, tpd (Delft)
    = 1 / (sum f S / sum S over the bins with S >= 0.8 max); tm01 = m0/m1,
    tm02 = sqrt(m0/m2), tm10 = m-1/m0; width = sqrt(m0 m2 / m1^2 - 1); qp
    Goda's peakedness. measurement is the spectrum as ondarix-batch spectrum -o
    writes it ("S(f)", "S lower 90%", "S upper 90%", frequency as X).
    warnings lists, as texts, a flat noise tail above 3 fp that weighs on m2
    with the fmax that would leave it out; empty when there is none."""

    frequency: Any
    density: Any
    lower: Any
    upper: Any
    segment: int
    segments: int
    df: float
    fmin: float
    fmax: float
    m_1: float
    m0: float
    m1: float
    m2: float
    variance_below_f1: float
    hm0: float
    fp: float
    tp: float
    tp_parabola: float
    tp5: float
    tpd: float
    tm01: float
    tm02: float
    tm10: float
    width: float
    qp: float
    dof: float
    band_level: float
    band_lower: float
    band_upper: float
    detrend: str
    measurement: Any
    warnings: list


@dataclass(frozen=True)
class Reflection:
    """Incident and reflected waves from 2 to 16 gauges (ondarix-batch
    reflection).

    frequency (Hz), incident and reflected (unit^2/Hz) are numpy arrays: the
    separated spectra averaged over bands spectrum_df wide (the resolution of
    a Welch segment of segment samples), 0 where nothing was resolved;
    separable (bool array) says which bands the gauges resolved. The
    separation itself runs df apart over fmin .. fmax: bins_used frequencies,
    bins_left_out inside the band where the gauges cannot resolve; left_out
    lists every unresolved range of the band as (from, to) in Hz, left out of
    the spectra and of Kr. hm0_incident and hm0_reflected are 4 sqrt(m0) of
    each, kr = hm0_reflected / hm0_incident. measurement holds the spectra as
    -o writes them ("S incident", "S reflected", "separable" 1 or 0); series,
    with series=True, the incident and reflected elevations as a Measurement
    of two channels, as --series -o writes them."""

    frequency: Any
    incident: Any
    reflected: Any
    df: float
    segment: int
    spectrum_df: float
    fmin: float
    fmax: float
    bins_used: int
    bins_left_out: int
    hm0_incident: float
    hm0_reflected: float
    kr: float
    measurement: Any
    separable: Any = None
    left_out: list = None
    series: Any = None


@dataclass(frozen=True)
class RegularReflection:
    """A regular wave separated at its harmonics (ondarix-batch reflection
    --regular).

    frequency (Hz) is the first harmonic's, line_share the part of the
    variance from f/2 to 3f/2 its line holds; k1 and k2 (rad/m) the wave
    numbers at f and of free waves at 2f. Each wave is (amplitude, phase):
    a cos(2 pi f t -+ k x + phase), t from the block's first row, x from the
    positions' origin, the minus sign for incident waves. incident and
    reflected are the first harmonic's, kr = reflected / incident amplitude;
    the second harmonic's bound (2 k1) and free (k2) waves, incident and
    reflected, need four gauges or more (None with fewer), as does
    condition_2f, the condition number of their least-squares system."""

    frequency: float
    line_share: float
    k1: float
    k2: float
    incident: tuple
    reflected: tuple
    kr: Optional[float]
    bound_incident: Optional[tuple]
    bound_reflected: Optional[tuple]
    free_incident: Optional[tuple]
    free_reflected: Optional[tuple]
    condition_2f: Optional[float]


def scalar_fields(result) -> dict:
    """Every scalar (number, string, None) of a result, by name, for tables."""
    row = {}
    for f in fields(result):
        value = getattr(result, f.name)
        if value is None or isinstance(value, (int, float, str)):
            row[f.name] = value
    for name in ("bins", "peak_frequency", "peak_amplitude"):
        if hasattr(type(result), name):
            row[name] = getattr(result, name)
    components = getattr(result, "components", None)
    if components is not None:
        records = components.to_dict("records") if hasattr(components, "to_dict") else components
        for i, component in enumerate(records, start=1):
            for key, value in component.items():
                if key != "name":
                    row[f"component{i}_{key}"] = value
    row.pop("text", None)
    return row


__all__ = [
    "Channel",
    "Statistics",
    "Spectrum",
    "KalmanResult",
    "AproxResult",
    "GeneratedSignal",
    "WaveStatistics",
    "GaugeCalibration",
    "VarianceSpectrum",
    "Reflection",
    "RegularReflection",
]


@dataclass(frozen=True)
class Sea:
    """A sea's drive (ondarix.sea): the drive measurement, channel 0 the
    paddle's displacement at the still-water level (m) and channel 1 its
    velocity (m/s); the target spectrum's density (m^2/Hz) at the generated
    frequencies (Hz); the report, as ondarix-batch sea --json prints it; and
    the target elevation at the paddle (m, "Target elevation" at the drive's
    rate, the bound waves of a second-order drive included), as
    ondarix-batch sea --elevation writes it."""

    drive: Any
    frequencies: Any
    density: Any
    report: dict
    elevation: Any = None
