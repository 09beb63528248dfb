#include "view/view_state.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "numeric/constants.h"
#include "view/channel_ranges.h"

namespace {

// Content sizes and pixel positions stay far inside int32 even for absurd
// zooms; scroll bars cannot take more anyway.
constexpr int64_t MAX_PIXEL = int64_t(1) << 30;

int64_t roundPixel(double v) {
    if (!(v > -double(MAX_PIXEL))) return -MAX_PIXEL;
    if (v > double(MAX_PIXEL)) return MAX_PIXEL;
    return int64_t(std::floor(v + 0.5));
}

} // namespace

int32_t ScrollRange::lastPosition() const {
    int32_t last = maximum - page + 1;
    return last < minimum ? minimum : last;
}

int32_t ScrollRange::clamp(int64_t position) const {
    if (position < minimum) return minimum;
    if (position > lastPosition()) return lastPosition();
    return int32_t(position);
}

MeasureViewState::MeasureViewState()
    : measure(nullptr), y_factor(1), block{0, 0, 0}, drag(0), drag_offset(0), cursor_sample(0),
      cursor_channel(-1), visible_samples(INITIAL_VISIBLE_SAMPLES), channels_per_screen(1),
      plot_mode(PLOT_SIGNAL), client_width(0), client_height(0), strip_height(0),
      pixels_per_sample(0.0), scroll_x(0), scroll_y(0) {
    for (int c = 0; c < MAX_CHANNELS; ++c) {
        expanded[c] = 1;
        range_min[c] = range_max[c] = range_mod[c] = 0.0f;
        overlay_of[c] = -1;
    }
}

bool MeasureViewState::isOverlay(int32_t c) const {
    const int32_t host = c >= 0 && c < MAX_CHANNELS ? overlay_of[c] : -1;
    return host >= 0 && host != c && host < channelCount() && c < channelCount();
}

int32_t MeasureViewState::sampleCount() const {
    int32_t n = measure && measure->sampleCount > 0 ? measure->sampleCount : 0;
    int32_t limited = limitedRows();
    return limited >= 0 && limited < n ? limited : n;
}

void MeasureViewState::SetXLimit(double limit) {
    // Without its limit the view starts over, as on the whole record.
    if (x_limit >= 0.0 && !(limit >= 0.0)) visible_samples = INITIAL_VISIBLE_SAMPLES;
    x_limit = limit;
}

int32_t MeasureViewState::limitedRows() const {
    const double rate = measure ? measure->sampleRate : 0.0;
    if (!measure || !(x_limit >= 0.0) || !(rate > 0.0)) return -1;
    // Sample k lies at x = k / rate; the one at the limit is still shown.
    const double rows = std::floor(x_limit * rate) + 1.0;
    const int32_t stored = storedRows(*measure);
    return rows < double(stored) ? int32_t(rows) : stored;
}

const char* MeasureViewState::valueUnit(int32_t c) const {
    if (plotsPhase(plot_mode)) return "rad";
    return measure && measure->hasChannel(c) ? measure->channels[c].unit : "";
}

int32_t MeasureViewState::channelCount() const {
    if (!measure || measure->channelCount < 0) return 0;
    return measure->channelCount > MAX_CHANNELS ? MAX_CHANNELS : measure->channelCount;
}

void MeasureViewState::ComputeRanges(const ChannelExtremes* known) {
    if (!measure) return;
    ::ComputeRanges(*measure, known, sampleCount(), range_min, range_max, range_mod);
    for (int32_t c = 0; c < channelCount(); ++c)
        if (isOverlay(c)) {
            const int32_t host = overlay_of[c];
            range_min[host] = std::min(range_min[host], range_min[c]);
            range_max[host] = std::max(range_max[host], range_max[c]);
            range_mod[host] = std::max(range_mod[host], range_mod[c]);
        }
}

void MeasureViewState::Rescan(const ChannelExtremes* known) {
    ComputeRanges(known);
    for (int c = 0; c < MAX_CHANNELS; ++c)
        expanded[c] = 1;
    if (visible_samples < 20) visible_samples = 1000;
    int32_t n = sampleCount();
    if (n > 100 && n < visible_samples) visible_samples = n;
    // A view limited in x shows all it may, however short; a result that is
    // still growing is not zoomed in on the part computed so far.
    if (limitedRows() > 0) visible_samples = limitedRows();
    clampBlock();
}

// The measurement may have shrunk or lost channels since the block was made.
void MeasureViewState::clampBlock() {
    if (block.channel < 0 || block.channel >= channelCount()) {
        block = BlockRange{0, 0, 0};
        return;
    }
    block.from = clampSample(block.from);
    block.to = clampSample(block.to);
}

void MeasureViewState::Layout(int32_t width, int32_t height) {
    client_width = width > 0 ? width : 0;
    client_height = height > 0 ? height : 0;
    int32_t per_screen = channels_per_screen > 0 ? channels_per_screen : 1;
    strip_height = (client_height - per_screen * HEADER_HEIGHT) / per_screen;
    // A client lower than its headers leaves no strip at all.
    if (strip_height < 0) strip_height = 0;
    int32_t visible = visible_samples > 0 ? visible_samples : 1;
    pixels_per_sample = double(client_width) / double(visible);
    clampScroll();
}

int32_t MeasureViewState::contentWidth() const {
    if (!measure) return MIN_CONTENT;
    int64_t width = roundPixel(double(sampleCount()) * pixels_per_sample);
    return width < MIN_CONTENT ? MIN_CONTENT : int32_t(width);
}

int32_t MeasureViewState::contentHeight() const {
    if (!measure) return MIN_CONTENT;
    int64_t height = int64_t(channelCount()) * HEADER_HEIGHT;
    for (int c = 0; c < channelCount(); ++c)
        if (expanded[c]) height += strip_height;
    if (height > MAX_PIXEL) height = MAX_PIXEL;
    return height < MIN_CONTENT ? MIN_CONTENT : int32_t(height);
}

ScrollRange MeasureViewState::horizontalScroll() const {
    return ScrollRange{0, measure ? contentWidth() : 0, client_width + 1};
}

ScrollRange MeasureViewState::verticalScroll() const {
    return ScrollRange{0, measure ? contentHeight() : 0, client_height + 1};
}

void MeasureViewState::clampScroll() {
    scroll_x = horizontalScroll().clamp(scroll_x);
    scroll_y = verticalScroll().clamp(scroll_y);
}

ChannelHit MeasureViewState::ChannelAt(int32_t y) const {
    int64_t rest = y;
    for (int32_t c = 0; c < channelCount(); ++c) {
        rest -= HEADER_HEIGHT;
        if (rest < 0) return ChannelHit{c, true, 0};
        if (expanded[c]) {
            if (rest < strip_height) return ChannelHit{c, false, int32_t(rest)};
            rest -= strip_height;
        }
    }
    return ChannelHit{-1, false, 0};
}

int32_t MeasureViewState::clampSample(int64_t sample) const {
    if (sample < 0) return 0;
    return sample > sampleCount() ? sampleCount() : int32_t(sample);
}

int32_t MeasureViewState::SampleAt(int32_t x) const {
    if (!(pixels_per_sample > 0.0)) return 0;
    return clampSample(roundPixel(double(x) / pixels_per_sample));
}

int64_t MeasureViewState::PixelOf(int64_t sample) const {
    return roundPixel(double(sample) * pixels_per_sample);
}

ValuePoint MeasureViewState::ValueAt(int32_t x, int32_t y, int32_t c) const {
    ValuePoint value{0.0, 0.0};
    if (pixels_per_sample > 0.0 && measure) value.x = x / pixels_per_sample / measure->sampleRate;
    AxisRange axis = VerticalAxis(c);
    int32_t data_height = strip_height - LABEL_HEIGHT;
    value.y = axis.lo;
    if (data_height > 0) value.y += double(data_height - y) * (axis.hi - axis.lo) / data_height;
    return value;
}

int32_t MeasureViewState::EdgeAt(int32_t x, int32_t c) const {
    if (block.from == block.to || c != block.channel) return 0;
    if (std::llabs(x - PixelOf(block.to)) < EDGE_GRAB) return 2;
    if (std::llabs(x - PixelOf(block.from)) < EDGE_GRAB) return 1;
    return 0;
}

AxisRange MeasureViewState::VerticalAxis(int32_t c) const {
    if (c < 0 || c >= MAX_CHANNELS) return NiceRange(-1.0, 1.0);
    int32_t factor = y_factor > 0 ? y_factor : 1;
    if (plotsModule(plot_mode)) {
        double hi = double(range_mod[c]) / factor;
        // Bars rise from zero even when every modulus is zero.
        return NiceRange(0.0, hi > 0.0 ? hi : 1.0);
    }
    if (plotsPhase(plot_mode)) return NiceRange(-PI / factor, PI / factor);
    return NiceRange(double(range_min[c]) / factor, double(range_max[c]) / factor);
}

bool MeasureViewState::YRange(int32_t direction) {
    int32_t before = y_factor;
    if (direction > 0 && y_factor < MAX_Y_FACTOR) y_factor *= 2;
    if (direction < 0 && y_factor >= 2) y_factor /= 2;
    return y_factor != before;
}

bool MeasureViewState::ZoomX(int32_t direction) {
    int32_t before = visible_samples;
    if (direction > 0 && visible_samples > MIN_VISIBLE_SAMPLES) visible_samples /= 2;
    // Zooming out stops at the whole record; a view that already shows more
    // than the record (a short one) is left alone rather than zoomed in.
    int32_t n = sampleCount();
    if (direction < 0 && visible_samples < n)
        visible_samples = int64_t(visible_samples) * 2 > n ? n : visible_samples * 2;
    return visible_samples != before;
}

bool MeasureViewState::ZoomXAround(int32_t direction, double anchorSample, int32_t anchorPixel) {
    if (!ZoomX(direction)) return false;
    Layout(client_width, client_height);
    scroll_x = horizontalScroll().clamp(roundPixel(anchorSample * pixels_per_sample) - anchorPixel);
    return true;
}

double MeasureViewState::ZoomAnchor(int32_t& pixel) const {
    if (pixels_per_sample > 0.0 && block.from != block.to) {
        double middle = 0.5 * (double(block.from) + double(block.to));
        int64_t x = roundPixel(middle * pixels_per_sample) - scroll_x;
        if (x >= 0 && x < client_width) {
            pixel = int32_t(x);
            return middle;
        }
    }
    pixel = client_width / 2;
    return pixels_per_sample > 0.0 ? (scroll_x + pixel) / pixels_per_sample : 0.0;
}

int32_t MeasureViewState::timeStep() const {
    return client_width >= 10 ? client_width / 10 : 1;
}

int32_t MeasureViewState::channelStep() const {
    return strip_height + HEADER_HEIGHT;
}

bool MeasureViewState::ScrollXBy(int64_t pixels) {
    int32_t before = scroll_x;
    scroll_x = horizontalScroll().clamp(int64_t(scroll_x) + pixels);
    return scroll_x != before;
}

bool MeasureViewState::ScrollYBy(int64_t pixels) {
    int32_t before = scroll_y;
    scroll_y = verticalScroll().clamp(int64_t(scroll_y) + pixels);
    return scroll_y != before;
}

bool MeasureViewState::ZoomY(int32_t direction) {
    int32_t before = channels_per_screen;
    if (direction > 0 && channels_per_screen > 1) --channels_per_screen;
    if (direction < 0 && channels_per_screen < channelCount()) ++channels_per_screen;
    return channels_per_screen != before;
}

bool MeasureViewState::SetBlock(int32_t channel, int32_t from, int32_t to) {
    if (channel < 0 || channel >= channelCount()) return false;
    block = BlockRange{channel, clampSample(from), clampSample(to)};
    return true;
}

void MeasureViewState::SetPopupPosition(int32_t x, int32_t y) {
    cursor_channel = ChannelAt(y).channel;
    cursor_sample = SampleAt(x);
}

bool MeasureViewState::BeginBlock() {
    if (cursor_channel < 0 || cursor_channel >= channelCount()) return false;
    int32_t sample = clampSample(cursor_sample);
    if (cursor_channel != block.channel) {
        block.channel = cursor_channel;
        block.to = sample;
    }
    block.from = sample;
    return true;
}

bool MeasureViewState::EndBlock() {
    if (cursor_channel < 0 || cursor_channel >= channelCount()) return false;
    int32_t sample = clampSample(cursor_sample);
    if (cursor_channel != block.channel) {
        block.channel = cursor_channel;
        block.from = sample;
    }
    block.to = sample;
    return true;
}

bool MeasureViewState::SelectAll() {
    if (cursor_channel < 0 || cursor_channel >= channelCount()) return false;
    block = BlockRange{cursor_channel, 0, sampleCount()};
    return true;
}

PressAction MeasureViewState::Press(int32_t x, int32_t y) {
    ChannelHit hit = ChannelAt(y);
    if (hit.channel < 0) return PressAction::None;
    if (hit.header) {
        expanded[hit.channel] = !expanded[hit.channel];
        return PressAction::ToggledStrip;
    }
    switch (EdgeAt(x, hit.channel)) {
    case 1:
        drag = 1;
        drag_offset = int32_t(x - PixelOf(block.from));
        return PressAction::GrabbedEdge;
    case 2:
        drag = 2;
        drag_offset = int32_t(x - PixelOf(block.to));
        return PressAction::GrabbedEdge;
    default:
        drag_offset = 0;
        block.from = block.to = SampleAt(x);
        block.channel = hit.channel;
        drag = 2;
        return PressAction::NewBlock;
    }
}

PointerInfo MeasureViewState::PointerMoved(int32_t x, int32_t y) {
    PointerInfo info{};
    ChannelHit hit = ChannelAt(y);
    if (hit.header) {
        info.arrowCursor = true;
        return info;
    }
    if (drag == 1 || drag == 2) {
        int32_t sample = SampleAt(x - drag_offset);
        (drag == 1 ? block.from : block.to) = sample;
        info.dragged = true;
    }
    if (hit.channel < 0) return info;
    info.readout = true;
    info.channel = hit.channel;
    info.value = ValueAt(x, hit.y, hit.channel);
    info.resizeCursor = EdgeAt(x, hit.channel) != 0;
    return info;
}

bool MeasureViewState::Release() {
    if (drag == 0) return false;
    drag = 0;
    return true;
}
