// Target spectra of an irregular sea: JONSWAP (Hasselmann et al. 1973),
// Pierson-Moskowitz (JONSWAP with gamma 1), TMA (Bouws et al. 1985: JONSWAP
// times Kitaigorodskii's depth factor), a user's table, Bretschneider-
// Mitsuyasu (Mitsuyasu 1970, as Goda writes it), a Gaussian swell and the
// two-peaked Ochi-Hubble (1976) and Torsethaugen (torsethaugen.h), each
// scaled so that 4 sqrt(m0) over the generated frequencies is the requested
// Hm0.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

enum class SpectrumShape {
    Jonswap,
    PiersonMoskowitz,
    Tma,
    Table,
    BretschneiderMitsuyasu,
    Gaussian,
    OchiHubble,
    Composite, // the sum of parts, each scaled to its own Hm0 over the band
    Torsethaugen
};

// The six parameters of an Ochi-Hubble spectrum: for its swell and its wind
// sea, the significant height (m), peak period (s) and shape lambda.
struct OchiHubbleParts {
    double height[2] = {0, 0};
    double period[2] = {0, 0};
    double lambda[2] = {0, 0};
};

// Frequency (Hz, strictly increasing) and density (unit^2/Hz) of a user's
// spectrum; between rows it is linear, outside them zero.
struct SpectrumTable {
    std::vector<double> frequency;
    std::vector<double> density;
};

// A Gaussian swell's width when none is given: JONSWAP's peak width below fp.
constexpr double SEA_GAUSSIAN_WIDTH = 0.07; // times fp

struct TargetShape {
    SpectrumShape shape = SpectrumShape::Jonswap;
    double fp = 0;    // Hz
    double gamma = 1; // peak enhancement (JONSWAP, TMA)
    double depth = 0; // m (TMA)
    SpectrumTable table;
    double sigma = 0; // Hz, a Gaussian swell's width
    OchiHubbleParts ochiHubble;
    // m: Torsethaugen's split between its peaks depends on Hm0;
    // makeTargetSpectrum sets it to the Hm0 it scales to.
    double hm0 = 0;
    // A composite sea's parts and the Hm0 each is scaled to; partScale is
    // what makeTargetSpectrum works out for them over the band.
    std::vector<TargetShape> parts;
    std::vector<double> partHm0;
    std::vector<double> partScale;
};

// A shape of one spectrum (not a composite) from its main figures.
TargetShape oneShape(SpectrumShape shape, double fp, double gamma, double depth,
                     SpectrumTable table = {}, double sigma = 0);

// f^-5 exp(-1.25 (fp/f)^4) gamma^r, r = exp(-(f - fp)^2 / (2 sigma^2 fp^2)),
// sigma 0.07 up to fp and 0.09 above: the shape, not scaled; 0 for f <= 0.
double jonswapShape(double f, double fp, double gamma);

// f^-5 exp(-1.03 (1.05 fp / f)^4): Mitsuyasu's form with T1/3 = Tp / 1.05.
double bretschneiderMitsuyasuShape(double f, double fp);

// exp(-(f - fp)^2 / (2 sigma^2)).
double gaussianShape(double f, double fp, double sigma);

// The sum of the two parts, each
// H^2 / 4 ((4L+1)/4 wm^4)^L / Gamma(L) w^-(4L+1) exp(-(4L+1)/4 (wm/w)^4)
// per rad/s, here per Hz (2 pi S(w), w = 2 pi f).
double ochiHubbleDensity(const OchiHubbleParts& parts, double f);

// phi = tanh^2(kh) / (1 + 2kh / sinh 2kh), k from the linear dispersion
// relation: the ratio of a finite-depth spectrum's tail to the deep one's.
double kitaigorodskiiFactor(double f, double depth);

// Linear between rows, 0 outside the table.
double tableDensity(const SpectrumTable& table, double f);

// The shape's unscaled density at f.
double shapeDensity(const TargetShape& shape, double f);

// False with `*error` set when a table has fewer than 2 rows, a frequency
// that is negative or not above the one before, or a density that is negative
// or not a number.
bool checkSpectrumTable(const SpectrumTable& table, std::string* error);

// The target on the generated frequencies k df, k = firstBin .. lastBin.
struct TargetSpectrum {
    TargetShape shape;
    double scale = 0;          // density = scale * shape density inside the band
    double fmin = 0, fmax = 0; // Hz, the band asked for
    double df = 0;             // Hz between the generated frequencies
    size_t firstBin = 0, lastBin = 0;
    std::vector<double> binDensity; // unit^2/Hz at firstBin .. lastBin
    double hm0 = 0;                 // 4 sqrt(sum binDensity df)
    double fp = 0;                  // Hz: the bin of the largest density

    double frequency(size_t bin) const { return double(bin) * df; }
    // The scaled density at any f: 0 outside [fmin, fmax].
    double density(double f) const;
};

// Samples `shape` on the bins inside [fmin, fmax] and scales it to `hm0`.
// False with `*error` set when the band holds no bin or no variance.
bool makeTargetSpectrum(const TargetShape& shape, double hm0, double fmin, double fmax, double df,
                        size_t highestBin, TargetSpectrum& out, std::string* error);
