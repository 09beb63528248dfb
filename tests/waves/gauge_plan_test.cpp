// Gauge layouts proposed for a band, checked from the generator's side.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "reflected_sea.h"
#include "waves/gauge_plan.h"

using namespace reflected_sea;

TEST(GaugePlan, ProposedLayoutsSeparateTheWholeBand) {
    for (int gauges : {2, 3, 4, 6}) {
        GaugePlanRequest q;
        q.depth = DEPTH;
        q.fmin = 0.4;
        q.fmax = 1.2;
        q.gauges = gauges;
        GaugePlan plan;
        std::string why;
        ASSERT_TRUE(planGauges(q, plan, &why)) << why;
        ASSERT_EQ(plan.positions.size(), size_t(gauges));
        // |S|/P checked from the generator's side: k stepped finely, f from
        // the dispersion relation, every f of the band covered.
        for (double k = 0.3; k < 12; k += 0.002) {
            const double f = frequencyOf(k);
            if (f < q.fmin || f > q.fmax) continue;
            std::complex<double> s = 0;
            for (double p : plan.positions)
                s += std::polar(1.0, 2 * k * p);
            EXPECT_LE(std::abs(s) / gauges, std::cos(0.1 * SEA_PI) + 1e-9)
                << gauges << " gauges, " << f << " Hz";
        }
        if (gauges == 2) {
            const double dx = plan.positions[1] - plan.positions[0];
            EXPECT_GT(dx / plan.lengthAtFmin, 0.05);
            EXPECT_LT(dx / plan.lengthAtFmax, 0.45);
        }
    }
    // Two gauges cannot cover 0.1 .. 3 Hz in 0.5 m: L spans a ratio far above 9.
    GaugePlan plan;
    std::string why;
    EXPECT_FALSE(planGauges({DEPTH, 0.1, 3.0, 2}, plan, &why));
    EXPECT_NE(why.find("narrow the band or add gauges"), std::string::npos) << why;
    EXPECT_FALSE(planGauges({DEPTH, 0.4, 1.2, 17}, plan, &why));
}
