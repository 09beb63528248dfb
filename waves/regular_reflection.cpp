#include "waves/regular_reflection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>

#include "numeric/constants.h"
#include "numeric/solve.h"
#include "waves/parameter_text.h"
#include "waves/reflection.h"
#include "waves/reflection_system.h"
#include "waves/wave_number.h"

namespace {

using Complex = std::complex<double>;

bool fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

// The least-squares fit m + A cos(wt) + B sin(wt) + ... of harmonics 1 ..
// `count` of omega to `values` at `rate`: coefficient A - iB of each, so that
// the harmonic is Re(c e^(iwt)), as the transform's positive bins have it.
// Fitted at the exact frequency, a record of a fractional number of periods
// leaks nothing into its neighbours. e^(iwt) is stepped by one rotation per
// sample and taken afresh every ROTATION_REFRESH samples, so that rounding
// cannot build up.
constexpr size_t ROTATION_REFRESH = 1024;

bool harmonicFit(const std::vector<double>& values, double rate, double omega, int count,
                 std::vector<Complex>& out) {
    const int n = 1 + 2 * count;
    std::vector<double> ata(size_t(n * n), 0.0), atb(size_t(n), 0.0);
    std::vector<double> row(static_cast<size_t>(n));
    const Complex step = std::polar(1.0, omega / rate);
    Complex z = 1;
    for (size_t j = 0; j < values.size(); ++j) {
        if (j % ROTATION_REFRESH == 0) z = std::polar(1.0, omega * double(j) / rate);
        row[0] = 1;
        Complex zh = z;
        for (int h = 1; h <= count; ++h) {
            row[size_t(2 * h - 1)] = zh.real();
            row[size_t(2 * h)] = zh.imag();
            zh *= z;
        }
        for (int a = 0; a < n; ++a) {
            atb[size_t(a)] += row[size_t(a)] * values[j];
            for (int b = 0; b <= a; ++b)
                ata[size_t(a * n + b)] += row[size_t(a)] * row[size_t(b)];
        }
        z *= step;
    }
    for (int a = 0; a < n; ++a)
        for (int b = a + 1; b < n; ++b)
            ata[size_t(a * n + b)] = ata[size_t(b * n + a)];
    if (mat_solve(n, ata.data(), atb.data()) == 0) return false;
    out.resize(size_t(count));
    for (int h = 1; h <= count; ++h)
        out[size_t(h - 1)] = Complex(atb[size_t(2 * h - 1)], -atb[size_t(2 * h)]);
    return true;
}

// The fitted line's variance summed over the gauges, a^2 / 2 each.
double linePower(const std::vector<std::vector<double>>& gauges, double rate, double omega) {
    double sum = 0;
    std::vector<Complex> c;
    for (const auto& g : gauges)
        if (harmonicFit(g, rate, omega, 1, c)) sum += std::norm(c[0]) / 2;
    return sum;
}

// The strongest bin of the gauges' summed periodogram, its frequency refined
// by a golden-section search of the fitted line's power within a bin of it.
// `share` gets the line's part of the variance from f/2 to 3f/2.
double peakFrequency(const std::vector<std::vector<double>>& gauges, double rate, double& share) {
    const int32_t n = int32_t(gauges[0].size());
    const size_t bins = size_t(n / 2 + 1);
    std::vector<double> power(bins, 0.0);
    std::vector<Complex> x(bins);
    for (const auto& g : gauges) {
        if (!realTransformPair(g.data(), nullptr, n, x.data(), nullptr)) return NAN;
        for (size_t j = 1; j < bins; ++j)
            power[j] += std::norm(x[j]) * (2 * j == size_t(n) ? 1.0 : 2.0) / (double(n) * n);
    }
    const size_t peak = size_t(std::max_element(power.begin() + 1, power.end()) - power.begin());
    const double df = rate / n;
    double lo = (double(peak) - 1) * df, hi = (double(peak) + 1) * df;
    lo = std::max(lo, df / 2);
    const double g = (std::sqrt(5.0) - 1) / 2;
    double a = hi - g * (hi - lo), b = lo + g * (hi - lo);
    double pa = linePower(gauges, rate, 2 * PI * a), pb = linePower(gauges, rate, 2 * PI * b);
    for (int i = 0; i < 60 && hi - lo > 1e-9 * df; ++i) {
        if (pa > pb) {
            hi = b, b = a, pb = pa;
            a = hi - g * (hi - lo);
            pa = linePower(gauges, rate, 2 * PI * a);
        } else {
            lo = a, a = b, pa = pb;
            b = lo + g * (hi - lo);
            pb = linePower(gauges, rate, 2 * PI * b);
        }
    }
    const double f = (lo + hi) / 2;
    double around = 0;
    for (size_t j = 1; j < bins; ++j)
        if (double(j) * df >= f / 2 && double(j) * df <= 1.5 * f) around += power[j];
    share = around > 0 ? linePower(gauges, rate, 2 * PI * f) / around : 0;
    return f;
}

HarmonicWave waveOf(Complex c) {
    return {std::abs(c), std::arg(c)};
}

// The eigenvalues' ratio of the Hermitian 4 x 4 `g`, from its real 8 x 8
// form by Jacobi rotations.
double conditionNumber(const std::array<std::array<Complex, 4>, 4>& g) {
    double a[8][8];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            a[i][j] = a[i + 4][j + 4] = g[size_t(i)][size_t(j)].real();
            a[i + 4][j] = g[size_t(i)][size_t(j)].imag();
            a[i][j + 4] = -g[size_t(i)][size_t(j)].imag();
        }
    for (int sweep = 0; sweep < 50; ++sweep) {
        double off = 0;
        for (int p = 0; p < 8; ++p)
            for (int q = p + 1; q < 8; ++q)
                off += a[p][q] * a[p][q];
        if (off < 1e-30) break;
        for (int p = 0; p < 8; ++p)
            for (int q = p + 1; q < 8; ++q) {
                if (std::abs(a[p][q]) < 1e-300) continue;
                const double theta = (a[q][q] - a[p][p]) / (2 * a[p][q]);
                const double t =
                    (theta >= 0 ? 1 : -1) / (std::abs(theta) + std::sqrt(theta * theta + 1));
                const double c = 1 / std::sqrt(t * t + 1), s = t * c;
                for (int k = 0; k < 8; ++k) {
                    const double kp = a[k][p], kq = a[k][q];
                    a[k][p] = c * kp - s * kq;
                    a[k][q] = s * kp + c * kq;
                }
                for (int k = 0; k < 8; ++k) {
                    const double pk = a[p][k], qk = a[q][k];
                    a[p][k] = c * pk - s * qk;
                    a[q][k] = s * pk + c * qk;
                }
            }
    }
    double lo = INFINITY, hi = 0;
    for (int i = 0; i < 8; ++i) {
        lo = std::min(lo, a[i][i]);
        hi = std::max(hi, a[i][i]);
    }
    return lo > 0 ? hi / lo : INFINITY;
}

// The bound (2k) and free (k2) waves at 2f, incident and reflected, that fit
// the gauges' coefficients `b` in the least-squares sense.
bool secondHarmonic(const std::vector<double>& x, double k1, double k2,
                    const std::vector<Complex>& b, RegularReflectionResult& r) {
    const double k[4] = {-2 * k1, 2 * k1, -k2, k2};
    std::array<std::array<Complex, 4>, 4> g{};
    std::array<Complex, 4> rhs{};
    for (size_t p = 0; p < x.size(); ++p) {
        Complex e[4];
        for (int u = 0; u < 4; ++u)
            e[u] = std::polar(1.0, k[u] * x[p]);
        for (int u = 0; u < 4; ++u) {
            rhs[size_t(u)] += std::conj(e[u]) * b[p];
            for (int v = 0; v < 4; ++v)
                g[size_t(u)][size_t(v)] += std::conj(e[u]) * e[v];
        }
    }
    r.secondCondition = conditionNumber(g);
    if (!(r.secondCondition <= MAX_SECOND_HARMONIC_CONDITION)) return false;
    double a[64], c[8];
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const Complex v = g[size_t(i)][size_t(j)];
            a[i * 8 + j] = a[(i + 4) * 8 + j + 4] = v.real();
            a[(i + 4) * 8 + j] = v.imag();
            a[i * 8 + j + 4] = -v.imag();
        }
        c[i] = rhs[size_t(i)].real();
        c[i + 4] = rhs[size_t(i)].imag();
    }
    if (mat_solve(8, a, c) == 0) return false;
    r.boundIncident = waveOf({c[0], c[4]});
    r.boundReflected = waveOf({c[1], c[5]});
    r.freeIncident = waveOf({c[2], c[6]});
    r.freeReflected = waveOf({c[3], c[7]});
    return true;
}

} // namespace

bool separateRegularReflection(const std::vector<BlockValues>& gauges,
                               const RegularReflectionOptions& options,
                               RegularReflectionResult& out, std::string* error) {
    std::string bad = reflectionGaugeRefusal(gauges, options.positions, options.depth);
    if (!bad.empty()) return fail(error, bad);
    const double rate = gauges[0].sampleRate;
    if (!(rate > 0) || !std::isfinite(rate)) return fail(error, "the sample rate is not positive");
    if (gauges[0].values.size() < 16) return fail(error, "the block is too short for a wave");
    std::vector<std::vector<double>> centred;
    for (const BlockValues& g : gauges) {
        centred.push_back(g.values);
        detrendValues(centred.back(), options.detrend);
    }
    RegularReflectionResult r;
    r.frequency = peakFrequency(centred, rate, r.lineShare);
    if (!std::isfinite(r.frequency))
        return fail(error, "the Fourier transform could not be made (out of memory?)");
    if (r.lineShare < MIN_REGULAR_LINE_SHARE)
        return fail(error, "the record's peak is not one harmonic line (the line at " +
                               parameterNumber(r.frequency) + " Hz holds " +
                               parameterNumber(std::round(r.lineShare * 100)) +
                               " % of the variance around it): not a regular wave");
    const double omega = 2 * PI * r.frequency;
    r.k1 = waveNumber(omega, options.depth);
    r.k2 = waveNumber(2 * omega, options.depth);
    std::vector<Complex> b1, b2;
    for (const auto& g : centred) {
        std::vector<Complex> c;
        if (!harmonicFit(g, rate, omega, 3, c))
            return fail(error, "the harmonics could not be fitted to the record");
        b1.push_back(c[0]);
        b2.push_back(c[1]);
    }
    ReflectionSystem first;
    if (!first.make(options.positions, r.k1))
        return fail(error, "the gauges cannot separate the first harmonic (their spacing is near "
                           "a multiple of half its wave length)");
    Complex aI, aR;
    first.solve(b1.data(), b1.size(), aI, aR);
    r.incident = waveOf(aI);
    r.reflected = waveOf(aR);
    r.kr = r.incident.amplitude > 0 ? r.reflected.amplitude / r.incident.amplitude : NAN;
    if (options.positions.size() >= 4) {
        if (!secondHarmonic(options.positions, r.k1, r.k2, b2, r))
            return fail(error, "the gauges cannot tell bound from free waves at 2f (condition "
                               "number " +
                                   parameterNumber(r.secondCondition) + ")");
        r.secondHarmonic = true;
    }
    out = r;
    return true;
}

std::vector<std::string> regularReflectionLines(const RegularReflectionResult& r,
                                                const char* unit) {
    const std::string u = std::string(" (") + unit + ")";
    std::vector<std::string> lines = {
        parameterLine("Frequency (Hz)", r.frequency),
        parameterLine("Line share", r.lineShare),
        parameterLine("a incident" + u, r.incident.amplitude),
        parameterLine("Phase incident (rad)", r.incident.phase),
        parameterLine("a reflected" + u, r.reflected.amplitude),
        parameterLine("Phase reflected (rad)", r.reflected.phase),
        parameterLine("Kr", r.kr),
    };
    if (!r.secondHarmonic) return lines;
    const std::pair<const char*, const HarmonicWave*> second[] = {
        {"2f bound incident", &r.boundIncident},
        {"2f bound reflected", &r.boundReflected},
        {"2f free incident", &r.freeIncident},
        {"2f free reflected", &r.freeReflected}};
    for (const auto& [name, wave] : second) {
        lines.push_back(parameterLine(std::string("a ") + name + u, wave->amplitude));
        lines.push_back(parameterLine(std::string("Phase ") + name + " (rad)", wave->phase));
    }
    lines.push_back(parameterLine("2f condition number", r.secondCondition));
    return lines;
}
