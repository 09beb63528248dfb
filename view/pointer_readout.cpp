#include "view/pointer_readout.h"

#include <cstdio>

#include "measure/text_encoding.h"

std::vector<std::string> PointerReadoutLines(const MeasureViewState& view, int32_t contentX) {
    std::vector<std::string> lines;
    const CMeasure* m = view.measure;
    if (!m || !m->samples || view.sampleCount() == 0 || !(view.pixels_per_sample > 0.0))
        return lines;
    int32_t sample = view.SampleAt(contentX);
    if (sample >= view.sampleCount()) sample = view.sampleCount() - 1;
    char text[160];
    const bool hertz = std::string(view.x_unit) == "Hz";
    std::snprintf(text, sizeof text, "%s = %.4f %s", hertz ? "f" : "t", sample / m->sampleRate,
                  view.x_unit);
    lines.push_back(text);
    for (int32_t c = 0; c < view.channelCount(); ++c) {
        if (!view.expanded[c]) continue;
        std::snprintf(text, sizeof text, "%s: %.4f %s", displayText(m->channels[c].name).c_str(),
                      double(m->at(c, sample).re), displayText(m->channels[c].unit).c_str());
        lines.push_back(text);
    }
    return lines;
}
