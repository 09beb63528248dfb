// The incident and reflected elevation separated as time series, against the
// waves the record was made of.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "reflected_sea.h"
#include "waves/reflection_series.h"

using namespace reflected_sea;

TEST(ReflectionSeries, SeriesEqualTheIncidentAndReflectedElevation) {
    // Four gauges that separate the whole band: the series at 0.6 m against
    // the waves the record was made of, within 1 % of the incident rms away
    // from the ends. Without noise, so that what is measured is the
    // transform's and the separation's error.
    const std::vector<double> x{0.0, 0.23, 0.61, 1.17};
    const Sea sea = reflectedSea(x, 0.0);
    ReflectionOptions o = optionsFor(x);
    o.band = SpectralBand{0.2, 3.0};
    ReflectionSeries s;
    std::string why;
    ASSERT_TRUE(reflectionSeries(sea.gauges, o, 0.6, s, &why)) << why;
    ASSERT_EQ(s.incident.size(), SAMPLES);
    EXPECT_EQ(s.sampleRate, RATE);
    // The rms errors of both series over rows from..to, relative to the
    // incident rms there.
    auto errors = [&](size_t from, size_t to, double& incidentError, double& reflectedError) {
        double errI = 0, errR = 0, sumI = 0, sumR = 0;
        for (size_t j = from; j < to; ++j) {
            const double t = double(j) / RATE;
            double incident = 0, reflected = 0;
            for (const Component& w : sea.components) {
                incident += w.amplitude * std::cos(w.omega * t - w.k * 0.6 + w.phase);
                reflected += krOf(w.omega / (2 * SEA_PI)) * w.amplitude *
                             std::cos(w.omega * t + w.k * 0.6 + w.phase + 0.7);
            }
            errI += std::pow(s.incident[j] - incident, 2);
            errR += std::pow(s.reflected[j] - reflected, 2);
            sumI += incident * incident;
            sumR += reflected * reflected;
        }
        incidentError = std::sqrt(errI / sumI);
        reflectedError = std::sqrt(errR / sumI);
        EXPECT_GT(sumR, 0.04 * sumI); // the reflected waves are there to be found
    };
    double incident = 0, reflected = 0;
    errors(SAMPLES / 10, SAMPLES - SAMPLES / 10, incident, reflected);
    EXPECT_LT(incident, 0.01);
    EXPECT_LT(reflected, 0.01);
    // Right after the faded ends the periodic transform's leak from the
    // other end (a wrap, or the jump between the ends) would show most.
    const size_t faded = SAMPLES / REFLECTION_TAPER_FRACTION;
    for (size_t from : {faded, SAMPLES - 2 * faded}) {
        errors(from, from + faded, incident, reflected);
        EXPECT_LT(incident, 0.001) << from;
        EXPECT_LT(reflected, 0.001) << from;
    }
}
