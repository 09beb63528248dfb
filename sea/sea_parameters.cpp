#include "sea/sea_parameters.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>

#include "numeric/constants.h"
#include "sea/second_order_drive.h"
#include "sea/solitary_wave.h"
#include "sea/torsethaugen.h"
#include "waves/wave_number.h"

namespace {

bool positive(double x) {
    return x > 0 && std::isfinite(x);
}

std::string format(const char* pattern, double a, double b = 0, double c = 0) {
    char text[240];
    std::snprintf(text, sizeof text, pattern, a, b, c);
    return text;
}

std::string checkTime(const SeaParameters& p) {
    if (!positive(p.dt)) return "the time step must be a number above 0 s";
    if (!positive(p.duration)) return "the duration must be a number above 0 s";
    const int64_t n = seaSampleCount(p);
    if (n < 16) return format("the duration must hold at least 16 time steps (%g s)", 16 * p.dt);
    if (n > SEA_MAX_SAMPLES)
        return format("the duration must hold at most %.0f time steps (%g s)",
                      double(SEA_MAX_SAMPLES), double(SEA_MAX_SAMPLES) * p.dt);
    return {};
}

std::string checkPaddle(const SeaParameters& p) {
    if (!positive(p.depth)) return "the depth must be a number above 0 m";
    if (p.paddle.type == PaddleType::Piston && p.paddle.hinge != 0)
        return "a piston has no hinge; --hinge is for a flap";
    if (!(p.paddle.hinge >= 0) || !(p.paddle.hinge < p.depth))
        return format("the hinge must lie at or above the bottom and below the water: "
                      "0 <= hinge < %g m",
                      p.depth);
    return {};
}

std::string checkBichromatic(const SeaParameters& p) {
    if (p.regular || p.focused)
        return "a bichromatic group is made alone: leave out the regular wave and the focused "
               "group";
    for (int i = 0; i < 2; ++i) {
        if (!positive(p.bichromaticHeight[i]))
            return "each wave of a bichromatic group needs a height above 0 m";
        if (!(positive(p.bichromaticPeriod[i]) && 2 * p.dt < p.bichromaticPeriod[i]))
            return format("each wave of a bichromatic group needs a period above two time "
                          "steps (%g s)",
                          2 * p.dt);
    }
    if (p.bichromaticPeriod[0] == p.bichromaticPeriod[1])
        return "the two waves of a bichromatic group need different periods: with equal ones "
               "they are one regular wave";
    return {};
}

std::string checkSpectrum(const SeaParameters& p) {
    if (p.bichromatic) return checkBichromatic(p);
    if (p.regular) {
        if (!positive(p.regularHeight)) return "the regular wave's height must be above 0 m";
        if (!positive(p.regularPeriod)) return "the regular wave's period must be above 0 s";
        if (!(2 * p.dt < p.regularPeriod))
            return format("the regular wave's period must be above two time steps (%g s)",
                          2 * p.dt);
        return {};
    }
    if (!positive(p.hm0)) return "Hm0 must be a number above 0 m";
    if (!positive(p.tp)) return "Tp must be a number above 0 s";
    if (!(p.gamma >= 1 && p.gamma <= 20)) return "gamma must lie between 1 and 20";
    if (!(p.sigma >= 0) || !std::isfinite(p.sigma))
        return "the swell's width sigma must be a number >= 0 Hz (0: 0.07 fp)";
    if (p.spectrum == SpectrumShape::Composite) {
        if (p.parts.size() < 2) return "a composite sea needs at least two parts";
        for (const SeaPart& part : p.parts) {
            if (part.shape == SpectrumShape::Table || part.shape == SpectrumShape::OchiHubble ||
                part.shape == SpectrumShape::Composite)
                return "each part of a composite sea is jonswap, pm, tma, bm, gaussian or "
                       "torsethaugen";
            if (!positive(part.hm0) || !positive(part.tp) || !(part.gamma >= 1 && part.gamma <= 20))
                return "each part of a composite sea needs its own Hm0 above 0 m, Tp above 0 s "
                       "and gamma between 1 and 20";
        }
    }
    if (p.spectrum == SpectrumShape::OchiHubble) {
        const OchiHubbleParts& o = p.ochiHubble;
        for (int j = 0; j < 2; ++j)
            if (!positive(o.height[j]) || !positive(o.period[j]) ||
                !(o.lambda[j] > 0 && o.lambda[j] <= 20))
                return "each part of an Ochi-Hubble spectrum needs a height above 0 m, a period "
                       "above 0 s and a shape lambda above 0 and at most 20";
    }
    if (p.spectrum == SpectrumShape::Table) {
        std::string why;
        if (!checkSpectrumTable(p.table, &why)) return why;
    }
    // 0 asks for the default; anything else below 0 is a typing error, not a wish for it.
    if (!(p.fmin >= 0) || !std::isfinite(p.fmin))
        return "fmin must be a number >= 0 Hz (0: half the peak frequency)";
    if (!(p.fmax >= 0) || !std::isfinite(p.fmax))
        return "fmax must be a number >= 0 Hz (0: the default band's top)";
    const double low = seaBandLow(p), high = seaBandHigh(p), nyquist = 0.5 / p.dt;
    if (!(low >= 0) || !std::isfinite(low)) return "fmin must be a number >= 0 Hz";
    if (!(high < nyquist) || !(high > low))
        return format("fmax must lie above fmin (%g Hz) and below half the sampling rate "
                      "(%g Hz)",
                      low, nyquist);
    const double fp = 1 / p.tp;
    if (fp < low || fp > high)
        return format("Tp must lie inside the band: %g s <= Tp <= %g s (fmin %g Hz)", 1 / high,
                      low > 0 ? 1 / low : INFINITY, low);
    return {};
}

// The wave asked for against the highest wave the flume can carry: the
// depth-limited breaking height and the steepest wave at its period.
std::string checkBreaking(const SeaParameters& p) {
    // A bichromatic group's highest wave is its two heights together.
    const std::string what = p.regular       ? "the regular wave's height"
                             : p.bichromatic ? "the bichromatic group's height H1 + H2"
                                             : "Hm0";
    const double height = p.regular       ? p.regularHeight
                          : p.bichromatic ? p.bichromaticHeight[0] + p.bichromaticHeight[1]
                                          : p.hm0;
    if (!(height <= SEA_BREAKING_DEPTH_RATIO * p.depth))
        return what + format(" must be at most %g of the depth, the height at which waves break: "
                             "%g m",
                             SEA_BREAKING_DEPTH_RATIO, SEA_BREAKING_DEPTH_RATIO * p.depth);
    const double length = 2 * PI / waveNumber(2 * PI / seaPeakPeriod(p), p.depth);
    if (!(height <= SEA_BREAKING_STEEPNESS * length))
        return what + format(" must be at most 1/7 of the wavelength at the peak period (%g m), "
                             "the steepest wave that does not break: %g m",
                             length, SEA_BREAKING_STEEPNESS * length);
    return {};
}

// A paddle that makes almost no wave for its stroke (a flap hinged just
// under the surface) would need strokes of kilometres.
std::string checkTransfer(const SeaParameters& p) {
    double low = p.regular ? 1 / p.regularPeriod : seaBandLow(p);
    double high = p.regular ? low : seaBandHigh(p);
    if (p.bichromatic) {
        low = 1 / std::fmax(p.bichromaticPeriod[0], p.bichromaticPeriod[1]);
        high = 1 / std::fmin(p.bichromaticPeriod[0], p.bichromaticPeriod[1]);
    }
    const double a = heightToStrokeAt(p.paddle, low, p.depth);
    const double b = heightToStrokeAt(p.paddle, high, p.depth);
    const double weakest = std::fmin(a, b), at = a <= b ? low : high;
    if (!(weakest >= SEA_MIN_TRANSFER))
        return format("the paddle makes a wave of only %.3g times its stroke at %g Hz, too little "
                      "to make the band (at least %g)",
                      weakest, at, SEA_MIN_TRANSFER);
    return {};
}

// A focused group's crest must meet inside the drive, and stay below the
// depth-limited breaking height.
std::string checkFocus(const SeaParameters& p) {
    if (!p.focused) return {};
    if (p.regular) return "a focused group is made from a spectrum, not a regular wave";
    const double duration = double(seaSampleCount(p)) * p.dt;
    if (!(p.focusTime >= 0 && p.focusTime <= duration))
        return format("the focus time must lie inside the drive: 0 <= t <= %g s", duration);
    if (!(p.focusDistance >= 0) || !std::isfinite(p.focusDistance))
        return "the focus distance must be a number >= 0 m from the paddle";
    if (!(p.focusCrest >= 0 && p.focusCrest <= SEA_BREAKING_DEPTH_RATIO * p.depth))
        return format("the crest at focus must lie between 0 m (the default) and %g of the depth: "
                      "%g m",
                      SEA_BREAKING_DEPTH_RATIO, SEA_BREAKING_DEPTH_RATIO * p.depth);
    return {};
}

std::string checkSolitary(const SeaParameters& p) {
    if (p.regular || p.focused || p.bichromatic)
        return "a solitary wave is made alone: leave out the regular wave, the bichromatic "
               "group and the focused group";
    if (!positive(p.solitaryHeight)) return "the solitary wave's height must be above 0 m";
    if (p.paddle.type != PaddleType::Piston)
        return "a solitary wave is made by a piston, not a flap";
    if (!(p.solitaryHeight <= SOLITARY_MAX_HEIGHT_RATIO * p.depth))
        return format("the solitary wave's height must be at most %g of the depth: %g m",
                      SOLITARY_MAX_HEIGHT_RATIO, SOLITARY_MAX_HEIGHT_RATIO * p.depth);
    const double motion = seaPeakPeriod(p), duration = double(seaSampleCount(p)) * p.dt;
    if (!(motion <= duration))
        return format("the duration must hold the solitary wave's motion of %g s", motion);
    return {};
}

std::string checkOrder(const SeaParameters& p) {
    if (p.order != 1 && p.order != 2) return "the order must be 1 or 2";
    if (p.order == 1) {
        if (p.limitSubharmonics || p.pairFmin != 0 || p.pairFmax != 0 || !p.subharmonics ||
            !p.superharmonics || p.differenceFmin != SEA_DEFAULT_DIFFERENCE_FMIN)
            return "the harmonics, the pairs' band and the subharmonic limit belong to the "
                   "second order";
        return {};
    }
    if (p.solitaryHeight != 0)
        return "a solitary wave has no second order: Goring's method is already nonlinear";
    if (!p.subharmonics && !p.superharmonics)
        return "a second-order drive needs the subharmonics, the superharmonics or both";
    if (p.limitSubharmonics && !p.subharmonics)
        return "the subharmonic limit needs the subharmonics";
    if (!(p.pairFmin >= 0) || !std::isfinite(p.pairFmin) || !(p.pairFmax >= 0) ||
        !std::isfinite(p.pairFmax))
        return "the pairs' band must be numbers >= 0 Hz (0: the band generated)";
    if (!(p.differenceFmin >= 0 || p.differenceFmin == SEA_DEFAULT_DIFFERENCE_FMIN) ||
        !std::isfinite(p.differenceFmin))
        return "the lowest difference frequency must be a number >= 0 Hz (-1: a twentieth of "
               "the peak frequency)";
    if (p.pairFmax > 0 && !(p.pairFmax > p.pairFmin))
        return format("the pairs' highest frequency must lie above their lowest (%g Hz)",
                      p.pairFmin);
    if (!p.regular && !p.bichromatic) {
        const double low = std::fmax(seaBandLow(p), p.pairFmin);
        const double high = p.pairFmax > 0 ? std::fmin(seaBandHigh(p), p.pairFmax) : seaBandHigh(p);
        if (!(low < high))
            return format("the pairs' band must overlap the band generated, %g to %g Hz",
                          seaBandLow(p), seaBandHigh(p));
    }
    if (p.regular || p.bichromatic) {
        const double ur = seaUrsellNumber(p);
        if (!(ur <= SEA_SECOND_ORDER_MAX_URSELL))
            return format("the wave's Ursell number H L^2/h^3 is %.3g, beyond second-order theory "
                          "(at most %g): lower the height or the period, or deepen the water",
                          ur, SEA_SECOND_ORDER_MAX_URSELL);
    }
    return {};
}

std::string checkLimits(const SeaParameters& p) {
    if (!(p.ramp >= 0 || p.ramp == SEA_DEFAULT_RAMP) || !std::isfinite(p.ramp))
        return "the ramps must be a number of seconds >= 0 (-1: two peak periods)";
    const double ramp = seaRampSeconds(p);
    if (!(ramp >= 0) || !(2 * ramp <= double(seaSampleCount(p)) * p.dt))
        return format("the ramps must lie between 0 s and half the duration (%g s)",
                      double(seaSampleCount(p)) * p.dt / 2);
    if (!(p.maxStroke >= 0) || !std::isfinite(p.maxStroke))
        return "the largest stroke must be a number >= 0 m (0: no limit)";
    if (!(p.maxVelocity >= 0) || !std::isfinite(p.maxVelocity))
        return "the largest velocity must be a number >= 0 m/s (0: no limit)";
    return {};
}

} // namespace

int64_t seaSampleCount(const SeaParameters& p) {
    const double n = std::round(p.duration / p.dt);
    if (!(n >= 0)) return 0;
    return n > double(SEA_MAX_SAMPLES) ? SEA_MAX_SAMPLES + 1 : int64_t(n);
}

double seaPeakPeriod(const SeaParameters& p) {
    if (p.solitaryHeight > 0) return SolitaryWave{p.solitaryHeight, p.depth}.motionSeconds();
    if (p.bichromatic) return std::fmax(p.bichromaticPeriod[0], p.bichromaticPeriod[1]);
    return p.regular ? p.regularPeriod : p.tp;
}

namespace {

// The shortest and longest peak period: a two-peaked sea's band reaches
// from below its longer peak period to above its shorter one.
struct PeakPeriods {
    double shortest, longest;
};

// Torsethaugen's second peak lies beyond Tp: the wind sea's above it, the
// swell's below.
PeakPeriods withTorsethaugen(PeakPeriods r, double hm0, double tp) {
    const TorsethaugenPeaks peaks = torsethaugenPeaks(hm0, tp);
    if (!(peaks.secondary.hm0 > 0)) return r;
    return {std::fmin(r.shortest, peaks.secondary.tp), std::fmax(r.longest, peaks.secondary.tp)};
}

PeakPeriods peakPeriods(const SeaParameters& p) {
    PeakPeriods r{p.tp, p.tp};
    if (p.spectrum == SpectrumShape::OchiHubble)
        r = {std::fmin(p.ochiHubble.period[0], p.ochiHubble.period[1]),
             std::fmax(p.ochiHubble.period[0], p.ochiHubble.period[1])};
    if (p.spectrum == SpectrumShape::Torsethaugen) r = withTorsethaugen(r, p.hm0, p.tp);
    if (p.spectrum == SpectrumShape::Composite)
        for (const SeaPart& part : p.parts) {
            r = {std::fmin(r.shortest, part.tp), std::fmax(r.longest, part.tp)};
            if (part.shape == SpectrumShape::Torsethaugen)
                r = withTorsethaugen(r, part.hm0, part.tp);
        }
    return r;
}

} // namespace

double seaBandLow(const SeaParameters& p) {
    return p.fmin > 0 ? p.fmin : 0.5 / peakPeriods(p).longest;
}

double seaBandHigh(const SeaParameters& p) {
    if (p.fmax > 0) return p.fmax;
    return std::fmin(3 / peakPeriods(p).shortest, 0.25 / p.dt);
}

void compositeTotals(const std::vector<SeaPart>& parts, double& hm0, double& tp) {
    double squares = 0, highest = -1;
    for (const SeaPart& part : parts) {
        squares += part.hm0 * part.hm0;
        if (part.hm0 > highest) {
            highest = part.hm0;
            tp = part.tp;
        }
    }
    hm0 = std::sqrt(squares);
}

TargetShape seaTargetShape(const SeaParameters& p) {
    TargetShape shape = oneShape(p.spectrum, 1 / p.tp, p.gamma, p.depth, p.table, p.sigma);
    shape.ochiHubble = p.ochiHubble;
    if (p.spectrum != SpectrumShape::Composite) return shape;
    for (const SeaPart& part : p.parts) {
        shape.parts.push_back(oneShape(part.shape, 1 / part.tp, part.gamma, p.depth, {}, p.sigma));
        shape.partHm0.push_back(part.hm0);
    }
    return shape;
}

void ochiHubbleTotals(const OchiHubbleParts& parts, double& hm0, double& tp) {
    hm0 = std::hypot(parts.height[0], parts.height[1]);
    tp = parts.height[0] >= parts.height[1] ? parts.period[0] : parts.period[1];
}

double seaDifferenceFmin(const SeaParameters& p) {
    if (p.differenceFmin != SEA_DEFAULT_DIFFERENCE_FMIN) return p.differenceFmin;
    return p.bichromatic || p.regular ? 0 : 0.05 / p.tp;
}

double seaRampSeconds(const SeaParameters& p) {
    if (p.solitaryHeight > 0) return 0; // its motion starts and ends at rest
    return p.ramp == SEA_DEFAULT_RAMP ? 2 * seaPeakPeriod(p) : p.ramp;
}

std::string validateSeaParameters(const SeaParameters& p) {
    using Check = std::string (*)(const SeaParameters&);
    // A solitary wave has neither spectrum nor period for the other checks.
    const std::initializer_list<Check> solitary = {checkTime, checkPaddle, checkSolitary,
                                                   checkOrder, checkLimits};
    const std::initializer_list<Check> spectral = {checkTime,     checkPaddle,   checkSpectrum,
                                                   checkBreaking, checkTransfer, checkFocus,
                                                   checkOrder,    checkLimits};
    for (Check check : p.solitaryHeight != 0 ? solitary : spectral) {
        std::string why = check(p);
        if (!why.empty()) return why;
    }
    return {};
}

bool spectrumShapeNamed(const std::string& name, SpectrumShape& shape) {
    if (name == "jonswap")
        shape = SpectrumShape::Jonswap;
    else if (name == "pm")
        shape = SpectrumShape::PiersonMoskowitz;
    else if (name == "tma")
        shape = SpectrumShape::Tma;
    else if (name == "bm")
        shape = SpectrumShape::BretschneiderMitsuyasu;
    else if (name == "gaussian")
        shape = SpectrumShape::Gaussian;
    else if (name == "ochi-hubble")
        shape = SpectrumShape::OchiHubble;
    else if (name == "composite")
        shape = SpectrumShape::Composite;
    else if (name == "torsethaugen")
        shape = SpectrumShape::Torsethaugen;
    else
        return false;
    return true;
}

bool paddleTypeNamed(const std::string& name, PaddleType& type) {
    if (name == "piston")
        type = PaddleType::Piston;
    else if (name == "flap")
        type = PaddleType::Flap;
    else
        return false;
    return true;
}

bool seaMethodNamed(const std::string& name, SeaMethod& method) {
    if (name == "phase")
        method = SeaMethod::Phase;
    else if (name == "amplitude")
        method = SeaMethod::Amplitude;
    else
        return false;
    return true;
}

const char* spectrumShapeName(SpectrumShape shape) {
    switch (shape) {
    case SpectrumShape::Jonswap:
        return "jonswap";
    case SpectrumShape::PiersonMoskowitz:
        return "pm";
    case SpectrumShape::Tma:
        return "tma";
    case SpectrumShape::Table:
        return "table";
    case SpectrumShape::BretschneiderMitsuyasu:
        return "bm";
    case SpectrumShape::Gaussian:
        return "gaussian";
    case SpectrumShape::OchiHubble:
        return "ochi-hubble";
    case SpectrumShape::Composite:
        return "composite";
    case SpectrumShape::Torsethaugen:
        return "torsethaugen";
    }
    return "";
}

const char* paddleTypeName(PaddleType type) {
    return type == PaddleType::Piston ? "piston" : "flap";
}

const char* seaMethodName(SeaMethod method) {
    return method == SeaMethod::Phase ? "phase" : "amplitude";
}
