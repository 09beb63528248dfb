#include "view/curve_painter.h"

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
    const Sample& s = m_.at(channel, s0_ + d);
    switch (q) {
    case Quantity::Real:
        return s.re;
    case Quantity::Imaginary:
        return s.im;
    case Quantity::ModulePlus:
        return moduleOf(s);
    case Quantity::ModuleMinus:
        return -moduleOf(s);
    }
    return 0.0;
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
        const ColumnExtremes& e = r.extremes(i, channel);
        double low = 0.0, high = 0.0;
        switch (q) {
        case Quantity::Real:
            low = e.reMin, high = e.reMax;
            break;
        case Quantity::Imaginary:
            low = e.imMin, high = e.imMax;
            break;
        case Quantity::ModulePlus:
            low = e.modMin, high = e.modMax;
            break;
        case Quantity::ModuleMinus:
            low = -e.modMax, high = -e.modMin;
            break;
        }
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

void CurvePainter::drawBars(PixelSurface& area, int32_t channel, const StripScale& scale,
                            uint32_t colour) {
    const int64_t zero = scale.Y(0.0);
    // Three pixels wide, from one row above the value down to (not including)
    // the zero row.
    auto bar = [&](int64_t x, double module) {
        int64_t top = int64_t(scale.Y(module)) - 1;
        fillRect(area, x - 1, top, 3, zero - top, colour);
    };
    if (oneVertexPerSample_) {
        for (int32_t d = 0; d < count_; ++d)
            bar(ColumnReduction::columnOf(d, p_), valueOf(channel, d, Quantity::ModulePlus));
        return;
    }
    // The bars of one column share their sides and their bottom, so the
    // tallest covers all the others.
    const ColumnReduction& r = reduction();
    for (size_t i = 0; i < r.columns().size(); ++i)
        bar(r.columns()[i].x, r.extremes(i, channel).modMax);
}

void CurvePainter::draw(PixelSurface& area, int32_t channel, PlotMode mode, const StripScale& scale,
                        uint32_t curveColour, uint32_t barColour) {
    if (count_ <= 0 || !(p_ > 0.0) || !m_.hasChannel(channel)) return;
    if (mode & PLOT_MODULE) {
        drawBars(area, channel, scale, barColour);
        return;
    }
    if (mode & PLOT_SIGNAL) drawCurve(area, channel, Quantity::Real, scale, curveColour);
    if (mode & PLOT_COSIGNAL) drawCurve(area, channel, Quantity::Imaginary, scale, curveColour);
    if (mode & PLOT_ENVELOPE) {
        drawCurve(area, channel, Quantity::ModulePlus, scale, curveColour);
        drawCurve(area, channel, Quantity::ModuleMinus, scale, curveColour);
    }
}
