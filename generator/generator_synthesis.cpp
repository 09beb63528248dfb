#include "generator/generator_synthesis.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "generator/envelope_chain.h"
#include "generator/envelopes.h"
#include "generator/generator_layout.h"
#include "generator/random_envelopes.h"
#include "measure/derive_velocity.h"
#include "numeric/noise.h"

namespace {

const char* const GENERATED = "Generated";

// The time alone would repeat a realisation when two syntheses fall within
// one second; a per-process count keeps every one of them new.
unsigned freshNoiseSeed() {
    static std::atomic<unsigned> count{0};
    return unsigned(std::time(nullptr)) + 0x9E3779B9u * ++count;
}

// Layout steps that hold whatever the parameters: format, name, date and the
// two channel descriptions; no samples yet.
void describeChannels(CGenerator& g) {
    g.sampleFormat = SAMPLE_FORMAT_COMPLEX;
    copyField(g.name, MAX_NAME + 1, GENERATED);
    g.stampDate();
    g.channelCount = 2;
    char diff[MAX_CHANNEL_NAME + 1];
    std::snprintf(diff, sizeof diff, "%s diff", GENERATED);
    setChannelInfo(g.channels[0], 1.0, 0.0, "cm", GENERATED);
    setChannelInfo(g.channels[1], 1.0, 0.0, "cm/s", diff);
    g.sampleCount = 0;
    g.releaseSamples();
}

bool reject(CGenerator& g, const GeneratorLayout& layout, const std::string& reason,
            std::string* error) {
    describeChannels(g);
    double dt = g.parameters.okres_probkowania;
    if (std::isfinite(1.0 / dt) && dt > 0.0) g.sampleRate = 1.0 / dt;
    bool known = std::isfinite(layout.period) && layout.period > 0.0;
    g.parameters.period = known ? layout.period : 0.0;
    if (error) *error = reason;
    return false;
}

// cos and sin of the carrier phase theta = i omega dt of sample i.
struct Carrier {
    double c;
    double s;
};

Carrier carrierAt(int32_t i, const GeneratorLayout& layout) {
    double theta = double(i) * layout.omega * layout.dt;
    return {std::cos(theta), std::sin(theta)};
}

void writePlain(CGenerator& g, const GeneratorLayout& layout, const Envelopes& e) {
    for (int32_t i = 0; i < layout.sampleCount; ++i) {
        Carrier k = carrierAt(i, layout);
        double v = e.v()[i], w = e.w()[i];
        double signal = k.c * v + k.s * w;
        double quadrature = k.c * w - k.s * v;
        double derivative = layout.omega * quadrature + k.c * e.A()[i] + k.s * e.B()[i];
        g.setSample(0, i, Sample{float(signal), float(quadrature)});
        g.setSample(1, i, Sample{float(derivative), float(derivative)});
    }
}

// The Stokes series C1 z + C2 z^2 + C3 z^3 of z = F + i G2, in the sign
// convention of the carrier (for v = 0 the real part is the sine series).
void writeStokes(CGenerator& g, const GeneratorLayout& layout, const Envelopes& e,
                 const GeneratorParameters& p) {
    const double C1 = p.wspolczynnik_w1, C2 = p.wspolczynnik_w2, C3 = p.wspolczynnik_w3;
    for (int32_t i = 0; i < layout.sampleCount; ++i) {
        Carrier k = carrierAt(i, layout);
        double v = e.v()[i], w = e.w()[i];
        double F = k.c * v + k.s * w;
        double G2 = k.c * w - k.s * v;
        double H = F * F - G2 * G2;
        double I = 2.0 * F * G2;
        double re = C1 * F + C2 * I - C3 * (F * H - G2 * I);
        double im = C1 * G2 - C2 * H + C3 * (G2 * H + F * I);
        g.setSample(0, i, Sample{float(re), float(im)});
        g.setSample(1, i, Sample{0.0f, 0.0f});
    }
    deriveVelocity(g);
}

// Groups: both envelopes scaled by 1 + Cr cos(theta / (2 NW) + Fio), one group
// every 2 NW waves.
void writeGroups(CGenerator& g, const GeneratorLayout& layout, const Envelopes& e,
                 const GeneratorParameters& p) {
    for (int32_t i = 0; i < layout.sampleCount; ++i) {
        double theta = double(i) * layout.omega * layout.dt;
        double factor = 1.0 + p.wspolczynnik_cr *
                                  std::cos(theta / (2.0 * p.wielkosc_grupy) + p.wspolczynnik_fio);
        e.v()[i] *= factor;
        e.w()[i] *= factor;
    }
    writePlain(g, layout, e);
    for (int32_t i = 0; i < layout.sampleCount; ++i)
        g.setSample(1, i, Sample{0.0f, 0.0f});
    deriveVelocity(g);
}

// Huge but finite coefficients (or a group size so small that its phase
// overflows) can still leave values that single precision cannot hold.
bool allSamplesFinite(const CGenerator& g) {
    const int64_t values = int64_t(2) * g.channelCount * g.sampleCount;
    const float* v = &g.pairRows()->re;
    for (int64_t k = 0; k < values; ++k)
        if (!std::isfinite(v[k])) return false;
    return true;
}

bool fillEnvelopes(const EnvelopeChain& chain, const GeneratorLayout& layout, unsigned seed,
                   int32_t model, Envelopes& envelopes) {
    if (model != 4) return fillDeterministicEnvelopes(chain, layout, envelopes);
    NoiseSource source;
    noise_seed(source, seed);
    return fillRandomEnvelopes(chain, layout, source, envelopes);
}

void writeOutput(CGenerator& g, const GeneratorLayout& layout, const Envelopes& envelopes) {
    const GeneratorParameters& p = g.parameters;
    if (p.model_generacji == 5)
        writeStokes(g, layout, envelopes, p);
    else if (p.model_generacji == 6)
        writeGroups(g, layout, envelopes, p);
    else
        writePlain(g, layout, envelopes);
}

bool synthesize(CGenerator& g, unsigned seed, std::string* error) {
    GeneratorLayout layout;
    std::string reason = planGeneratorLayout(g.parameters, layout);
    if (!reason.empty()) return reject(g, layout, reason, error);
    EnvelopeChain chain;
    reason = chain.build(layout.n, layout.b, layout.dt);
    if (!reason.empty()) return reject(g, layout, reason, error);

    describeChannels(g);
    g.sampleRate = 1.0 / layout.dt;
    g.parameters.period = layout.period;
    Envelopes envelopes;
    g.sampleCount = layout.sampleCount;
    if (!g.allocateSamples() || !envelopes.allocate(layout.sampleCount) ||
        !fillEnvelopes(chain, layout, seed, g.parameters.model_generacji, envelopes))
        return reject(g, layout, "not enough memory for the signal", error);
    writeOutput(g, layout, envelopes);
    if (!allSamplesFinite(g))
        return reject(g, layout,
                      "the signal does not fit in single precision; use smaller "
                      "coefficients or a larger NW",
                      error);
    if (error) error->clear();
    return true;
}

} // namespace

std::string checkGeneratorParameters(const GeneratorParameters& p) {
    GeneratorLayout layout;
    std::string reason = planGeneratorLayout(p, layout);
    if (!reason.empty()) return reason;
    EnvelopeChain chain;
    return chain.build(layout.n, layout.b, layout.dt);
}

bool GeneratorSynthesis(CGenerator& generator, std::string* error) {
    return synthesize(generator, freshNoiseSeed(), error);
}

bool GeneratorSynthesisSeeded(CGenerator& generator, unsigned seed, std::string* error) {
    return synthesize(generator, seed, error);
}
