#include "view/curve_painter.h"

#include <algorithm>
#include <cmath>

#include "view/channel_ranges.h"

CurvePainter::CurvePainter(const CMeasure& m, int32_t s0, int32_t count, double p)
    : m_(m), s0_(s0), count_(count), p_(p) {}

const ColumnReduction& CurvePainter::reduction() {
    // One pass over the rows serves every strip of the paint.
    if (!reduced_) reduction_.reduce(m_, s0_, count_, p_);
    reduced_ = true;
    return reduction_;
}

double CurvePainter::valueOf(int32_t channel, int32_t d, Quantity q) const {
    const Sample s = m_.sample(channel, s0_ + d);
    switch (q) {
    case Quantity::Real:
        return s.re;
    case Quantity::Imaginary:
        return s.im;
    case Quantity::ModulePlus:
        return moduleOf(s);
    case Quantity::ModuleMinus:
        return -moduleOf(s);
    case Quantity::Phase:
        return std::atan2(double(s.im), double(s.re));
    }
    return 0.0;
}

void CurvePainter::columnRange(size_t i, int32_t channel, Quantity q, double& low, double& high) {
    const ColumnExtremes& e = reduction().extremes(i, channel);
    switch (q) {
    case Quantity::Real:
        low = e.reMin, high = e.reMax;
        return;
    case Quantity::Imaginary:
        low = e.imMin, high = e.imMax;
        return;
    case Quantity::ModulePlus:
        low = e.modMin, high = e.modMax;
        return;
    case Quantity::ModuleMinus:
        low = -e.modMax, high = -e.modMin;
        return;
    case Quantity::Phase:
        // The reduction keeps no angles; a spectrum's columns are short.
        const PixelColumn& col = reduction().columns()[i];
        low = high = valueOf(channel, col.first, q);
        for (int32_t d = col.first + 1; d <= col.last; ++d) {
            const double v = valueOf(channel, d, q);
            low = std::min(low, v);
            high = std::max(high, v);
        }
        return;
    }
}

void CurvePainter::appendSample(int32_t channel, int32_t d, Quantity q, const StripScale& scale) {
    points_.push_back(
        PixelPoint{int32_t(ColumnReduction::columnOf(d, p_)), scale.Y(valueOf(channel, d, q))});
}

void CurvePainter::drawCurve(PixelSurface& area, int32_t channel, Quantity q,
                             const StripScale& scale, uint32_t colour) {
    points_.clear();
    if (oneVertexPerSample_) {
        for (int32_t d = 0; d < count_; ++d)
            appendSample(channel, d, q, scale);
        drawPolyline(area, points_.data(), points_.size(), colour);
        return;
    }
    const ColumnReduction& r = reduction();
    const size_t columns = r.columns().size();
    for (size_t i = 0; i + 1 < columns; ++i) {
        const PixelColumn& col = r.columns()[i];
        appendSample(channel, col.first, q, scale);
        if (col.first == col.last) continue;
        double low = 0.0, high = 0.0;
        columnRange(i, channel, q, low, high);
        // Down to one extreme and up to the other covers every pixel the
        // column's samples cover; the last sample starts the next column's
        // segment as it does in the full run.
        points_.push_back(PixelPoint{col.x, scale.Y(low)});
        points_.push_back(PixelPoint{col.x, scale.Y(high)});
        appendSample(channel, col.last, q, scale);
    }
    // The polyline's own last pixel is not drawn, so whether the last
    // column's end pixel shows depends on the samples before it: that column
    // is drawn in full.
    if (columns > 0)
        for (int32_t d = r.columns().back().first; d <= r.columns().back().last; ++d)
            appendSample(channel, d, q, scale);
    drawPolyline(area, points_.data(), points_.size(), colour);
}

void CurvePainter::drawBars(PixelSurface& area, int32_t channel, Quantity q,
                            const StripScale& scale, uint32_t colour) {
    const int64_t zero = scale.Y(0.0);
    // Three pixels wide, from one row beyond the value to (not including)
    // the zero row; a negative value hangs below it.
    auto bar = [&](int64_t x, double value) {
        const int64_t y = scale.Y(value);
        if (y <= zero)
            fillRect(area, x - 1, y - 1, 3, zero - y + 1, colour);
        else
            fillRect(area, x - 1, zero + 1, 3, y - zero + 1, colour);
    };
    if (oneVertexPerSample_) {
        for (int32_t d = 0; d < count_; ++d)
            bar(ColumnReduction::columnOf(d, p_), valueOf(channel, d, q));
        return;
    }
    // The bars of one column share their sides and the zero row, so the
    // highest and the lowest cover all the others.
    const ColumnReduction& r = reduction();
    for (size_t i = 0; i < r.columns().size(); ++i) {
        double low = 0.0, high = 0.0;
        columnRange(i, channel, q, low, high);
        if (high >= 0.0) bar(r.columns()[i].x, high);
        if (low < 0.0) bar(r.columns()[i].x, low);
    }
}

void CurvePainter::draw(PixelSurface& area, int32_t channel, PlotMode mode, const StripScale& scale,
                        uint32_t curveColour, uint32_t barColour) {
    if (count_ <= 0 || !(p_ > 0.0) || !m_.hasChannel(channel)) return;
    if (plotsModule(mode) || plotsPhase(mode)) {
        const Quantity q = plotsModule(mode) ? Quantity::ModulePlus : Quantity::Phase;
        if (linePlot_)
            drawCurve(area, channel, q, scale, curveColour);
        else
            drawBars(area, channel, q, scale, barColour);
        return;
    }
    if (mode & PLOT_SIGNAL) drawCurve(area, channel, Quantity::Real, scale, curveColour);
    if (mode & PLOT_COSIGNAL) drawCurve(area, channel, Quantity::Imaginary, scale, curveColour);
    if (mode & PLOT_ENVELOPE) {
        drawCurve(area, channel, Quantity::ModulePlus, scale, curveColour);
        drawCurve(area, channel, Quantity::ModuleMinus, scale, curveColour);
    }
}
