#include "view/ui/plot_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>

#include "measure/text_encoding.h"
#include "view/axis_ticks.h"
#include "view/channel_ranges.h"
#include "view/column_reduction.h"
#include "view/curve_painter.h"
#include "view/strip_scale.h"

namespace {

// Labels stand on a box of the strip's colour, so that a curve passing
// under them does not hide them.
constexpr int LABEL_ALPHA = 220;
constexpr int LABEL_LEFT = 40; // where the value lines start, right of their labels

int32_t roundToInt(double v) {
    constexpr double LIMIT = double(1 << 24);
    if (!(v > -LIMIT)) return -(1 << 24);
    if (v > LIMIT) return 1 << 24;
    return int32_t(std::floor(v + 0.5));
}

// Text with its top-left corner at (x, y), as the labels are placed.
void drawTextAt(QPainter& p, int x, int y, const QString& text) {
    p.drawText(QRect(x, y, 1 << 16, 1 << 12), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
               text);
}

// The image `screen` paints on when the bands can be painted into it
// directly: an image of 32-bit pixels at least `width` wide, drawn on without
// a transformation or clipping, where copying a band is copying its pixels.
QImage* directTarget(QPainter& screen, int32_t width) {
    QPaintDevice* device = screen.device();
    if (!device || device->devType() != QInternal::Image) return nullptr;
    auto* image = static_cast<QImage*>(device);
    if (image->format() != QImage::Format_RGB32 || image->width() < width) return nullptr;
    if (!screen.transform().isIdentity() || screen.hasClipping()) return nullptr;
    return image;
}

// A font "12 pixels high" is 12 pixels from the top of its tallest letter to
// the bottom of its descenders, as tall as the bands it writes in: the
// largest pixel size whose full height fits.
QFont cellFont(const QString& family, int cellHeight) {
    QFont font(family);
    for (int size = cellHeight; size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= cellHeight) break;
    }
    return font;
}

} // namespace

const QFont& plotFont() {
    // Every paint writes in the same font; it is looked for once.
    static const QFont font = cellFont(QStringLiteral("Tahoma"), HEADER_HEIGHT);
    return font;
}

PlotPainter::PlotPainter(const MeasureViewState& view)
    : view_(view), font_(plotFont()), bandBrush_(BAND_COLOUR), barBrush_(BAR_COLOUR),
      zeroPen_(ZERO_LINE_COLOUR, 1, Qt::DashLine), gridPen_(GRID_COLOUR, 0, Qt::DashLine),
      curvePen_(CURVE_COLOUR, 0, Qt::SolidLine), blockBrush_(Qt::black, Qt::BDiagPattern),
      blockPen_(Qt::black, 1, Qt::DotLine) {}

void PlotPainter::paint(QPainter& screen) {
    const int32_t width = view_.client_width;
    const int32_t height = view_.client_height;
    const CMeasure* m = view_.measure;
    if (width <= 0 || height <= 0) return;
    // The rows counted and stored, up to the view's limit.
    const int32_t rows = m ? std::min(storedRows(*m), view_.sampleCount()) : 0;
    // Without samples there is nothing to scale a strip by, nor to show.
    if (!m || view_.channelCount() == 0 || rows == 0) {
        screen.fillRect(0, 0, width, height, Qt::white);
        return;
    }
    const double p = view_.pixels_per_sample;
    s0_ = p > 0.0 ? roundToInt(view_.scroll_x / p) : 0;
    int32_t count = rows - s0_ < view_.visible_samples ? rows - s0_ : view_.visible_samples;
    CurvePainter curves(*m, s0_, count, p);
    curves.setOneVertexPerSample(oneVertexPerSample_);
    curves.setLinePlot(view_.line_plot);

    const int32_t H = view_.strip_height;
    QImage* direct = directTarget(screen, width);
    int64_t y = -int64_t(view_.scroll_y);
    for (int32_t c = 0; c < view_.channelCount(); ++c) {
        if (y + HEADER_HEIGHT > 0 && y < height)
            paintBand(screen, direct, y, HEADER_HEIGHT,
                      [&](QImage& target) { paintHeader(c, target); });
        y += HEADER_HEIGHT;
        if (!view_.expanded[c]) continue;
        if (y + H > 0 && y < height && H > 0)
            paintBand(screen, direct, y, H, [&](QImage& target) { paintStrip(c, curves, target); });
        y += H;
    }
    if (y < height) screen.fillRect(0, int(y), width, int(height - y), Qt::white);
}

// A band wholly on a `direct` image is painted in place, through an image
// that shares its rows (a large record's single strip is megabytes of
// pixels, which need not be allocated and copied once more); any other into
// band_ and copied onto the screen.
template <typename Paint>
void PlotPainter::paintBand(QPainter& screen, QImage* direct, int64_t top, int32_t rows,
                            Paint paintInto) {
    const int32_t width = view_.client_width;
    if (direct && top >= 0 && top + rows <= direct->height()) {
        const qsizetype line = direct->bytesPerLine();
        QImage rowsOfScreen(direct->bits() + top * line, width, rows, line, QImage::Format_RGB32);
        paintInto(rowsOfScreen);
        return;
    }
    if (band_.width() != width || band_.height() < rows)
        band_ = QImage(width, std::max(rows, band_.height()), QImage::Format_RGB32);
    paintInto(band_);
    screen.drawImage(QPoint(0, int(top)), band_, QRect(0, 0, width, rows));
}

void PlotPainter::paintHeader(int32_t c, QImage& target) {
    const int32_t width = view_.client_width;
    QPainter band(&target);
    band.setClipRect(0, 0, width, HEADER_HEIGHT);
    band.fillRect(0, 0, width, HEADER_HEIGHT, bandBrush_);
    band.setFont(font_);
    band.setPen(Qt::black);
    drawTextAt(band, 50, 0, QString::fromStdString(displayText(view_.measure->channels[c].name)));
    band.setPen(curvePen_);
    band.drawLine(0, 0, width, 0);
}

void PlotPainter::paintStrip(int32_t c, CurvePainter& curves, QImage& target) {
    const int32_t width = view_.client_width;
    const int32_t H = view_.strip_height;
    const int32_t dataHeight = H - LABEL_HEIGHT;
    AxisRange yAxis = view_.VerticalAxis(c);
    StripScale scale(yAxis, dataHeight);
    const QColor background = c % 2 ? ODD_STRIP_COLOUR : EVEN_STRIP_COLOUR;
    const std::vector<AxisTick> times =
        timeTicks(s0_, view_.visible_samples, view_.measure->sampleRate, view_.pixels_per_sample);
    const std::vector<AxisTick> values = valueTicks(yAxis, scale);
    {
        QPainter band(&target);
        band.setClipRect(0, 0, width, H);
        band.fillRect(0, dataHeight, width, LABEL_HEIGHT, bandBrush_);
        // A strip lower than its label band has no data area to draw in.
        if (dataHeight <= 0) return;
        band.fillRect(0, 0, width, dataHeight, background);
        band.setFont(font_);
        paintGrid(band, times, values, dataHeight);
        band.setClipRect(0, 0, width, dataHeight);
        band.setPen(zeroPen_);
        band.drawLine(LABEL_LEFT, scale.Y(0.0), width, scale.Y(0.0));
    }
    // The curves go straight into the pixels, clipped to the data area.
    PixelSurface area{reinterpret_cast<uint32_t*>(target.bits()),
                      int32_t(target.bytesPerLine() / 4), width, dataHeight};
    // Overlays first, so that the strip's own curve stays on top.
    for (int32_t o = 0; o < view_.channelCount(); ++o)
        if (view_.isOverlay(o) && view_.overlay_of[o] == c)
            curves.draw(area, o, view_.plot_mode, scale, OVERLAY_COLOUR.rgb(),
                        OVERLAY_COLOUR.rgb());
    curves.draw(area, c, view_.plot_mode, scale, CURVE_COLOUR.rgb(), BAR_COLOUR.rgb());
    QPainter band(&target);
    band.setClipRect(0, 0, width, dataHeight);
    if (view_.block.channel == c) paintBlock(band, dataHeight);
    band.setClipRect(0, 0, width, H);
    band.setFont(font_);
    QString unit = QString::fromStdString(displayText(view_.valueUnit(c)));
    paintLabels(band, times, values, unit, background, dataHeight);
}

void PlotPainter::paintGrid(QPainter& band, const std::vector<AxisTick>& times,
                            const std::vector<AxisTick>& values, int32_t dataHeight) {
    band.setPen(gridPen_);
    for (const AxisTick& t : times)
        band.drawLine(t.pixel, 0, t.pixel, dataHeight);
    for (const AxisTick& t : values)
        band.drawLine(LABEL_LEFT, t.pixel, view_.client_width, t.pixel);
}

void PlotPainter::paintLabels(QPainter& band, const std::vector<AxisTick>& times,
                              const std::vector<AxisTick>& values, const QString& unit,
                              const QColor& background, int32_t dataHeight) {
    const int32_t width = view_.client_width;
    const QFontMetrics metrics(font_);
    band.setPen(LABEL_COLOUR);
    // Time labels in the band below, moved left rather than cut at the right
    // edge; the last one in view names the axis's unit.
    const AxisTick* last = nullptr;
    for (const AxisTick& t : times)
        if (t.pixel >= 0 && t.pixel < width) last = &t;
    for (const AxisTick& t : times) {
        if (t.pixel < 0 || t.pixel >= width) continue; // its line is not in view
        QString text = QString::fromStdString(t.label);
        if (&t == last && *view_.x_unit)
            text += QLatin1Char(' ') + QString::fromLatin1(view_.x_unit);
        int x = std::min(t.pixel - 12, width - metrics.horizontalAdvance(text) - 2);
        drawTextAt(band, std::max(x, 0), dataHeight, text);
    }
    QColor box = background;
    box.setAlpha(LABEL_ALPHA);
    for (const AxisTick& t : values) {
        QString text = QString::fromStdString(t.label) + QLatin1Char(' ') + unit;
        QRect area(0, t.pixel - 8, metrics.horizontalAdvance(text) + 4, metrics.height());
        band.fillRect(area, box);
        drawTextAt(band, 1, t.pixel - 8, text);
    }
}

void PlotPainter::paintBlock(QPainter& band, int32_t dataHeight) {
    const BlockRange& block = view_.block;
    if (block.from == block.to) return;
    const double p = view_.pixels_per_sample;
    int32_t a = block.from < block.to ? block.from : block.to;
    int32_t b = block.from < block.to ? block.to : block.from;
    int32_t xa = roundToInt(double(a - s0_) * p);
    int32_t xb = roundToInt(double(b - s0_) * p);
    const int32_t width = view_.client_width;
    if (xb < 0 || xa >= width) return;
    // Edges far outside only need to stay outside the clip.
    if (xa < -2) xa = -2;
    if (xb > width + 2) xb = width + 2;
    band.setPen(blockPen_);
    band.setBrush(blockBrush_);
    // The rectangle covers xa .. xb - 1 and the data rows, outline included.
    int32_t w = xb - xa - 1 > 0 ? xb - xa - 1 : 0;
    band.drawRect(QRect(xa, 0, w, dataHeight - 1));
    band.setBrush(Qt::NoBrush);
}
