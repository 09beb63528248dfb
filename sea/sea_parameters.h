// What an irregular (or regular) sea for the wave-maker is made from: every
// field of the command line's sea options and of a dialog asking for them,
// and the check that says what is wrong with them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sea/paddle_transfer.h"
#include "sea/target_spectrum.h"

enum class SeaMethod {
    Phase,     // deterministic amplitudes sqrt(2 S df), random phases
    Amplitude, // random complex amplitudes: Rayleigh amplitudes, a Gaussian sea
};

// The ramp that stands for two peak periods.
constexpr double SEA_DEFAULT_RAMP = -1;
// The lowest difference frequency that stands for its default.
constexpr double SEA_DEFAULT_DIFFERENCE_FMIN = -1;

// One part of a composite sea (a swell and a wind sea, say): its shape, by
// name as for the whole sea, scaled to its own Hm0 over the band.
struct SeaPart {
    SpectrumShape shape = SpectrumShape::Jonswap;
    double hm0 = 0; // m
    double tp = 0;  // s
    double gamma = 3.3;
};

struct SeaParameters {
    SpectrumShape spectrum = SpectrumShape::Jonswap;
    SpectrumTable table; // the user's spectrum when `spectrum` is Table
    double hm0 = 0.1;    // m
    double tp = 1.6;     // s
    double gamma = 3.3;
    double sigma = 0;           // Hz, a Gaussian swell's width; 0: 0.07 fp
    OchiHubbleParts ochiHubble; // with the Ochi-Hubble spectrum (see ochiHubbleTotals)
    std::vector<SeaPart> parts; // with a composite spectrum (see compositeTotals)
    double depth = 0.6;         // m
    Paddle paddle;
    double dt = 0.02;       // s
    double duration = 1800; // s; the sea repeats after round(duration / dt) samples
    uint64_t seed = 1;
    SeaMethod method = SeaMethod::Phase;
    double fmin = 0;                // Hz; 0: half the peak frequency
    double fmax = 0;                // Hz; 0: the smaller of 3 fp and a quarter of the sampling rate
    double ramp = SEA_DEFAULT_RAMP; // s of the cosine ramps at each end
    // A regular sea of height regularHeight (m) and period regularPeriod (s)
    // instead of the spectrum.
    bool regular = false;
    double regularHeight = 0;
    double regularPeriod = 0;
    // A focused wave group of the spectrum (focused_group.h) instead of a
    // random sea: its crests meet focusTime s after the start, focusDistance
    // m from the paddle, with a linear crest of focusCrest m (0: the most
    // probable largest crest of 1000 waves).
    bool focused = false;
    double focusTime = 0;
    double focusDistance = 0;
    double focusCrest = 0;
    // Above 0: a solitary wave of this height (m) from a piston
    // (solitary_wave.h) instead of a spectrum or a regular wave.
    double solitaryHeight = 0;
    // Two regular waves (H1, T1) and (H2, T2) instead of the spectrum.
    bool bichromatic = false;
    double bichromaticHeight[2] = {0, 0};
    double bichromaticPeriod[2] = {0, 0};
    // 2: the paddle's second-order motion is added (second_order_drive.h),
    // for the pairs whose both frequencies lie in [pairFmin, pairFmax] (0, 0:
    // the generated band), sum frequencies with superharmonics, differences
    // with subharmonics; limitSubharmonics caps the subharmonic correction
    // where second-order theory overstates it.
    int order = 1;
    bool subharmonics = true;
    bool superharmonics = true;
    double pairFmin = 0, pairFmax = 0; // Hz
    bool limitSubharmonics = false;
    // The lowest difference frequency made (Hz); SEA_DEFAULT_DIFFERENCE_FMIN:
    // a twentieth of the peak frequency for a sea, none for a bichromatic group.
    double differenceFmin = -1;
    double maxStroke = 0;   // m, the paddle's travel max - min; 0: no limit
    double maxVelocity = 0; // m/s; 0: no limit
};

// The highest wave a flume carries: H below 0.78 of the depth (depth-limited
// breaking, McCowan 1894) and below 1/7 of the linear wavelength at the peak
// period (Michell 1893).
constexpr double SEA_BREAKING_DEPTH_RATIO = 0.78;
constexpr double SEA_BREAKING_STEEPNESS = 1.0 / 7;
// The least H/S of the paddle over the band: below it the drive would need
// a stroke of more than a thousand wave heights.
constexpr double SEA_MIN_TRANSFER = 1e-3;

// The most samples a drive may have (about a week at 50 Hz).
constexpr int64_t SEA_MAX_SAMPLES = int64_t(1) << 25;

// The sample count, peak period and band the parameters come to.
int64_t seaSampleCount(const SeaParameters& p);
double seaPeakPeriod(const SeaParameters& p); // tp, the regular period, a solitary wave's motion
double seaBandLow(const SeaParameters& p);    // Hz
double seaBandHigh(const SeaParameters& p);   // Hz
double seaRampSeconds(const SeaParameters& p);
// The lowest difference frequency a second-order drive makes (Hz): a
// random sea's long waves slower than 20 peak periods would have the
// paddle drift for minutes (its displacement grows as 1 / frequency), and
// in a flume they are seiches rather than bound waves.
double seaDifferenceFmin(const SeaParameters& p);

// Empty when the parameters make a sea; otherwise one line saying which
// value is wrong and what it may be: among others a wave above the breaking
// limits, a band the paddle cannot make (H/S below SEA_MIN_TRANSFER), and
// fmin, fmax or ramps below 0 other than the defaults.
std::string validateSeaParameters(const SeaParameters& p);

// An Ochi-Hubble sea's Hm0, sqrt(H1^2 + H2^2), and the peak period of its
// more energetic part: what `hm0` and `tp` hold for it.
void ochiHubbleTotals(const OchiHubbleParts& parts, double& hm0, double& tp);
// The same for a composite sea: sqrt(sum Hm0^2) and the highest part's Tp.
void compositeTotals(const std::vector<SeaPart>& parts, double& hm0, double& tp);
// The target shape of `p` (its parts' too), as prepareSea samples it.
TargetShape seaTargetShape(const SeaParameters& p);

// The names on the command line and in Python: "jonswap", "pm", "tma",
// "bm", "gaussian", "ochi-hubble", "composite", "torsethaugen";
// "piston", "flap"; "phase", "amplitude". False for any other.
bool spectrumShapeNamed(const std::string& name, SpectrumShape& shape);
bool paddleTypeNamed(const std::string& name, PaddleType& type);
bool seaMethodNamed(const std::string& name, SeaMethod& method);
const char* spectrumShapeName(SpectrumShape shape); // "table" for a user's table
const char* paddleTypeName(PaddleType type);
const char* seaMethodName(SeaMethod method);
