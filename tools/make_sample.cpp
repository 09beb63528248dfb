// Writes the sample measurement bundled with Ondarix: a regular wave train in a
// flume as three wave gauges and the wave-maker flap would record it, with a
// smooth start, a little second harmonic and gauge noise. Deterministic, so the
// bundled file can be checked against a fresh run.
//
// usage: make-sample OUT.INT
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "measure/int_format.h"
#include "measure/measure.h"
#include "numeric/constants.h"

namespace {

constexpr double RATE = 50.0;     // Hz
constexpr int32_t SAMPLES = 4096; // about 82 s
constexpr double PERIOD = 1.6;    // s
constexpr double RISE = 12.0;     // s until the train is steady

// A small deterministic normal noise source (xorshift and Box-Muller).
class Noise {
  public:
    double next() {
        double u1 = (double(step() >> 11) + 0.5) / 9007199254740992.0;
        double u2 = (double(step() >> 11) + 0.5) / 9007199254740992.0;
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * PI * u2);
    }

  private:
    uint64_t step() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

double envelope(double t) {
    if (t >= RISE) return 1.0;
    double s = t / RISE;
    return s * s * (3.0 - 2.0 * s);
}

// Surface elevation in metres at a gauge `delay` seconds of travel from the flap.
double elevation(double t, double delay, double amplitude) {
    double tau = t - delay;
    if (tau <= 0.0) return 0.0;
    double w = 2.0 * PI / PERIOD;
    return envelope(tau) *
           (amplitude * std::cos(w * tau) + 0.12 * amplitude * std::cos(2.0 * w * tau + 0.4));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-sample OUT.INT\n");
        return 2;
    }
    CMeasure m;
    m.channelCount = 4;
    m.sampleCount = SAMPLES;
    m.sampleRate = RATE;
    m.sampleFormat = SAMPLE_FORMAT_REAL;
    m.date = packDosDate(2026, 11, 23, 10, 15, 42);
    copyField(m.name, sizeof m.name, "Regular waves T=1.6 s H=0.08 m, sample");
    setChannelInfo(m.channels[0], 1.0, 0.0, "m", "Flap displacement");
    setChannelInfo(m.channels[1], 1.0, 0.0, "m", "Gauge 1, x = 4 m");
    setChannelInfo(m.channels[2], 1.0, 0.0, "m", "Gauge 2, x = 8 m");
    setChannelInfo(m.channels[3], 1.0, 0.0, "m", "Gauge 3, x = 12 m");
    for (int c = 0; c < m.channelCount; ++c)
        resetParameters(m.signalParameters[c]);
    if (!m.allocateSamples()) return 1;
    Noise noise;
    const double celerity = 2.2; // m/s, roughly the group of a 1.6 s wave in 0.6 m of water
    for (int32_t j = 0; j < SAMPLES; ++j) {
        double t = j / RATE;
        m.setSample(
            0, j, Sample{float(0.8 * envelope(t) * 0.05 * std::sin(2.0 * PI * t / PERIOD)), 0.0f});
        for (int g = 1; g <= 3; ++g) {
            double x = 4.0 * g;
            double v = elevation(t, x / celerity, 0.04) + 0.0008 * noise.next();
            m.setSample(g, j, Sample{float(v), 0.0f});
        }
    }
    if (!writeInt(m, argv[1])) {
        std::fprintf(stderr, "make-sample: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
