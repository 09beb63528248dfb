// The measurement view without its window: what it shows, its zoom and
// scroll, its block, and the geometry that maps content pixels to channels,
// samples and values.
#pragma once

#include <cstdint>

#include "measure/channel_extremes.h"
#include "measure/measure.h"
#include "view/nice_range.h"
#include "view/plot_mode.h"

constexpr int32_t HEADER_HEIGHT = 12; // channel name band
constexpr int32_t LABEL_HEIGHT = 12;  // x-axis labels at the bottom of each strip
constexpr int32_t EDGE_GRAB = 3;      // a block edge is grabbed strictly within this
constexpr int32_t MIN_CONTENT = 10;   // the smallest content size in either direction
constexpr int32_t MAX_Y_FACTOR = 256;
constexpr int32_t MIN_VISIBLE_SAMPLES = 16;
constexpr int32_t INITIAL_VISIBLE_SAMPLES = 2000;

// Where a content y falls: channel -1 is below the last channel.
struct ChannelHit {
    int32_t channel;
    bool header;
    int32_t y; // inside the strip, 0 at its top; 0 in a header
};

// A pointer readout: seconds (or hertz for a spectrum) and the channel's unit.
struct ValuePoint {
    double x;
    double y;
};

// A scroll bar in the view's terms: positions minimum .. maximum with a page
// of `page` pixels; the last position shows the last page.
struct ScrollRange {
    int32_t minimum;
    int32_t maximum;
    int32_t page;
    int32_t lastPosition() const;
    int32_t clamp(int64_t position) const;
};

// What a press of the left button did.
enum class PressAction {
    None,         // below the last channel
    ToggledStrip, // a header: the strip was collapsed or expanded
    GrabbedEdge,  // a block edge is being dragged
    NewBlock,     // a new, empty block starts at the pointer
};

// What a pointer move found.
struct PointerInfo {
    bool dragged;      // a block edge moved
    bool readout;      // `channel` and `value` are valid
    bool resizeCursor; // over or dragging a block edge
    bool arrowCursor;  // over a header
    int32_t channel;
    ValuePoint value;
};

class MeasureViewState {
  public:
    MeasureViewState();

    // Rows and channels of the measurement shown (rows up to x_limit); 0
    // without one.
    int32_t sampleCount() const;
    // The rows up to x_limit of all that the measurement holds; -1 without a limit.
    int32_t limitedRows() const;
    // Sets x_limit; a view that loses its limit shows as much as a new one
    // after the next rescan.
    void SetXLimit(double limit);
    int32_t channelCount() const;

    // `known`: the measurement's extremes gathered while it was read, if any.
    void Rescan(const ChannelExtremes* known = nullptr);
    void ComputeRanges(const ChannelExtremes* known = nullptr);
    // The layout numbers for a client of width x height pixels.
    void Layout(int32_t width, int32_t height);
    int32_t contentWidth() const;
    int32_t contentHeight() const;
    ScrollRange horizontalScroll() const;
    ScrollRange verticalScroll() const;

    ChannelHit ChannelAt(int32_t y) const;
    ValuePoint ValueAt(int32_t x, int32_t y, int32_t c) const;
    int32_t SampleAt(int32_t x) const;
    int64_t PixelOf(int64_t sample) const;
    int32_t EdgeAt(int32_t x, int32_t c) const;
    // lo', hi' and the step of channel c's value axis.
    AxisRange VerticalAxis(int32_t c) const;

    // Each returns whether its value changed.
    bool YRange(int32_t direction);
    bool ZoomX(int32_t direction);
    bool ZoomY(int32_t direction);
    // ZoomX that keeps `anchorSample` at client x `anchorPixel`: lays out
    // again and scrolls so that what the user looked at stays in place.
    bool ZoomXAround(int32_t direction, double anchorSample, int32_t anchorPixel);
    // What a zoom keeps in place: the block's middle when the block is in
    // view, otherwise the middle of the view. Sets `pixel` to its client x.
    double ZoomAnchor(int32_t& pixel) const;

    // Scroll steps: a tenth of the client width in time, one channel strip
    // (with its header) down the stack.
    int32_t timeStep() const;
    int32_t channelStep() const;
    // Scrolls by `pixels` (content pixels); returns whether the position changed.
    bool ScrollXBy(int64_t pixels);
    bool ScrollYBy(int64_t pixels);

    // Block operations. A channel outside the measurement is refused (false,
    // block unchanged); bounds are clamped into 0 .. N.
    bool SetBlock(int32_t channel, int32_t from, int32_t to);
    bool BeginBlock();
    bool EndBlock();
    bool SelectAll();
    // The popup position: where "Begin block" and the others act.
    void SetPopupPosition(int32_t x, int32_t y);

    // Mouse handling in content coordinates.
    PressAction Press(int32_t x, int32_t y);
    PointerInfo PointerMoved(int32_t x, int32_t y);
    bool Release();

    CMeasure* measure;
    int32_t y_factor;
    BlockRange block;
    int32_t drag;
    int32_t drag_offset;
    int32_t cursor_sample;
    int32_t cursor_channel;
    int32_t expanded[MAX_CHANNELS];
    float range_min[MAX_CHANNELS];
    float range_max[MAX_CHANNELS];
    float range_mod[MAX_CHANNELS];
    int32_t visible_samples;
    int32_t channels_per_screen;
    PlotMode plot_mode;
    int32_t client_width;
    int32_t client_height;
    int32_t strip_height;
    double pixels_per_sample;
    // The scroll position in content pixels.
    int32_t scroll_x;
    int32_t scroll_y;
    // The unit of the x axis: seconds, or hertz for a spectrum.
    const char* x_unit = "s";
    // Only the samples up to this x (in x_unit) are shown, all of them in
    // the client's width after a rescan; negative: all.
    double x_limit = -1.0;
    // The modulus and the phase as a line instead of bars.
    bool line_plot = false;
    // Channels also drawn, lighter, in another channel's strip and on its
    // scale (a spectrum's confidence band over its density): overlay_of[c]
    // is the channel whose strip c is drawn in, -1 for none. The strip's
    // range takes in its overlays.
    int32_t overlay_of[MAX_CHANNELS];
    // Whether channel c has a valid overlay_of (a channel other than c).
    bool isOverlay(int32_t c) const;

    // The unit of channel c's values as drawn: radians for the phase.
    const char* valueUnit(int32_t c) const;

  private:
    int32_t clampSample(int64_t sample) const;
    void clampBlock();
    void clampScroll();
};
