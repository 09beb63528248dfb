"""Ondarix in Python: measurements as numpy arrays, the analyses of the
program, and campaigns of many runs on Dask.

    import ondarix
    m = ondarix.read("samples/flume_sample.INT")
    m.samples                      # N x C float32 (complex64 for a complex record), no copy
    ondarix.statistics(m, channel=1, start=0, stop=4000)
"""

from ._ondarix import APROX_DEFAULTS, KALMAN_DEFAULTS, Measurement, generate, read, write
from ._results import (
    AproxResult,
    GaugeCalibration,
    Channel,
    GeneratedSignal,
    KalmanResult,
    Reflection,
    RegularReflection,
    Sea,
    Spectrum,
    Statistics,
    VarianceSpectrum,
    WaveStatistics,
)
from .analyses import (
    aprox,
    calibrate,
    fourier,
    kalman,
    reflection,
    spectrum,
    statistics,
    waves,
)
from .campaign import campaign
from .report import report
from .sea import sea

__all__ = [
    "Measurement",
    "read",
    "write",
    "statistics",
    "fourier",
    "kalman",
    "aprox",
    "generate",
    "waves",
    "spectrum",
    "reflection",
    "sea",
    "calibrate",
    "campaign",
    "report",
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
    "Sea",
    "KALMAN_DEFAULTS",
    "APROX_DEFAULTS",
]
