// Telling an edited measurement description from an unchanged one.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "measure/same_description.h"

namespace {

std::unique_ptr<CHeader> described() {
    auto h = std::make_unique<CHeader>();
    h->channelCount = 2;
    h->sampleCount = 100;
    h->sampleRate = 10.0;
    copyField(h->name, sizeof h->name, "run");
    for (int c = 0; c < 2; ++c) {
        setChannelInfo(h->channels[c], 1.0, 0.0, "m", "gauge");
        resetParameters(h->signalParameters[c]);
    }
    SignalComponent wave{};
    copyField(wave.name, sizeof wave.name, "first");
    wave.frequency = 0.5;
    appendComponent(h->signalParameters[1], wave);
    return h;
}

} // namespace

TEST(SameDescriptionTest, EveryEditedFieldCountsAndNothingElse) {
    const std::vector<std::function<void(CHeader&)>> edits = {
        [](CHeader& h) { copyField(h.name, sizeof h.name, "renamed"); },
        [](CHeader& h) { h.sampleRate = 25.0; },
        [](CHeader& h) { copyField(h.channels[1].name, sizeof h.channels[1].name, "B"); },
        [](CHeader& h) { copyField(h.channels[0].unit, sizeof h.channels[0].unit, "cm"); },
        [](CHeader& h) { h.channels[1].coefficient = 2.0; },
        [](CHeader& h) { h.channels[0].constant = -0.0; },
        [](CHeader& h) { h.signalParameters[1].components[0].amplitude = 0.04; },
        [](CHeader& h) { h.signalParameters[1].level = 1.0; },
        [](CHeader& h) { removeComponent(h.signalParameters[1], 0); },
        [](CHeader& h) { h.date = 7; },
    };
    auto before = described();
    for (size_t i = 0; i < edits.size(); ++i) {
        auto after = described();
        edits[i](*after);
        EXPECT_FALSE(sameDescription(*before, *after)) << i;
    }
    // The path is where it is kept, not what it says; slots past the counts
    // and bytes past a name's end hold nothing.
    auto after = described();
    copyField(after->path, sizeof after->path, "/elsewhere.INT");
    after->signalParameters[1].components[5].frequency = 9.0;
    after->channels[0].name[20] = 'x';
    after->channels[3].coefficient = 3.0;
    EXPECT_TRUE(sameDescription(*before, *after));
    // A NaN left as it was is no change.
    before->signalParameters[0].level = std::numeric_limits<double>::quiet_NaN();
    after->signalParameters[0].level = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(sameDescription(*before, *after));
}
