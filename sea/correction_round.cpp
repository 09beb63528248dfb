#include "sea/correction_round.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "waves/block_values.h"

namespace {

bool fail(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

} // namespace

double metresPerUnit(const char* unit) {
    if (std::strcmp(unit, "cm") == 0) return 0.01;
    if (std::strcmp(unit, "mm") == 0) return 0.001;
    return 1;
}

bool driveDisplacement(const CMeasure& drive, const SeaParameters& p,
                       std::vector<double>& displacement, std::string* error) {
    if (!drive.hasSamples() || drive.channelCount < 1 || drive.sampleCount < 16)
        return fail(error, "the previous drive holds no signal");
    if (!(drive.sampleRate > 0)) return fail(error, "the previous drive has no sample rate");
    // Taking the drive's length instead would make another sea than the one asked for.
    const double rate = 1 / p.dt;
    if (int64_t(drive.sampleCount) != seaSampleCount(p) ||
        !(std::fabs(drive.sampleRate - rate) <= 1e-6 * rate)) {
        char text[240];
        std::snprintf(text, sizeof text,
                      "the previous drive has %d samples at %g Hz, the sea's parameters %lld at "
                      "%g Hz",
                      int(drive.sampleCount), drive.sampleRate, (long long)seaSampleCount(p), rate);
        return fail(error, text);
    }
    const double scale = metresPerUnit(drive.channels[0].unit);
    displacement.resize(size_t(drive.sampleCount));
    for (int32_t i = 0; i < drive.sampleCount; ++i)
        displacement[size_t(i)] = double(drive.value(0, i)) * scale;
    return true;
}

bool correctionRound(const SeaParameters& p, const CMeasure* previous, const CMeasure& measured,
                     const BlockRange& block, int32_t smooth, SeaDrive& out, std::string* error) {
    if (const char* why = notCorrectable(p)) return fail(error, why);
    const std::string why = validateSeaParameters(p);
    if (!why.empty()) return fail(error, why);
    std::vector<double> displacement;
    if (previous && !driveDisplacement(*previous, p, displacement, error)) return false;
    BlockValues record;
    if (!blockValues(measured, block, record)) return fail(error, "the measured block is empty");
    const double scale = metresPerUnit(measured.channels[block.channel].unit);
    for (double& x : record.values)
        x *= scale;
    SeaDrive d;
    if (!prepareSea(p, d, error)) return false;
    if (previous && !componentsFromDisplacement(p, displacement, d, error)) return false;
    const bool ok = correctSeaDrive(p, record, smooth, d, error);
    d.report.measuredFirst += block.from; // rows of the record, not of the block
    d.report.measuredLast += block.from;
    out = std::move(d);
    return ok;
}
