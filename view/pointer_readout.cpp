#include "view/pointer_readout.h"

#include <cmath>
#include <cstdio>

#include "measure/text_encoding.h"
#include "view/channel_ranges.h"

namespace {

std::string number(const char* label, double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%s%.4f", label, v);
    return text;
}

// The quantities of `s` that `mode` draws, as the readout writes them.
std::string drawnValueText(const Sample& s, PlotMode mode) {
    if (plotsModule(mode)) return number("", moduleOf(s));
    if (plotsPhase(mode)) return number("", std::atan2(double(s.im), double(s.re)));
    const bool real = mode & PLOT_SIGNAL, imaginary = mode & PLOT_COSIGNAL,
               envelope = mode & PLOT_ENVELOPE;
    if (!imaginary && !envelope) return number("", s.re);
    if (!real && !envelope) return number("", s.im);
    if (!real && !imaginary) return number("", moduleOf(s));
    std::string text;
    if (real) text += number("re ", s.re);
    if (imaginary) text += (text.empty() ? "" : "  ") + number("im ", s.im);
    if (envelope) text += (text.empty() ? "" : "  ") + number("|z| ", moduleOf(s));
    return text;
}

} // namespace

std::vector<std::string> PointerReadoutLines(const MeasureViewState& view, int32_t contentX) {
    std::vector<std::string> lines;
    const CMeasure* m = view.measure;
    if (!m || !m->hasSamples() || view.sampleCount() == 0 || !(view.pixels_per_sample > 0.0))
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
        lines.push_back(displayText(m->channels[c].name) + ": " +
                        drawnValueText(m->sample(c, sample), view.plot_mode) + " " +
                        displayText(view.valueUnit(c)));
    }
    return lines;
}
