#include "view/ui/plot_painter.h"

#include <QPainter>
#include <QString>

#include <cmath>
#include <cstdio>

#include "measure/text_encoding.h"
#include "view/channel_ranges.h"
#include "view/column_reduction.h"
#include "view/curve_painter.h"
#include "view/strip_scale.h"

namespace {

// A grid never needs more lines than this; it only bounds a broken axis.
constexpr int64_t MAX_GRID_LINES = 1000;

int32_t roundToInt(double v) {
    constexpr double LIMIT = double(1 << 24);
    if (!(v > -LIMIT)) return -(1 << 24);
    if (v > LIMIT) return 1 << 24;
    return int32_t(std::floor(v + 0.5));
}

QString numberText(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%4.2f", v);
    return QString::fromLatin1(text);
}

// Text with its top-left corner at (x, y), as the labels are placed.
void drawTextAt(QPainter& p, int x, int y, const QString& text) {
    p.drawText(QRect(x, y, 1 << 16, 1 << 12), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
               text);
}

} // namespace

PlotPainter::PlotPainter(const MeasureViewState& view)
    : view_(view), font_(QStringLiteral("Tahoma")), bandBrush_(BAND_COLOUR), barBrush_(BAR_COLOUR),
      zeroPen_(ZERO_LINE_COLOUR, 1, Qt::DashLine), gridPen_(GRID_COLOUR, 0, Qt::DashLine),
      curvePen_(CURVE_COLOUR, 0, Qt::SolidLine), blockBrush_(Qt::black, Qt::BDiagPattern),
      blockPen_(Qt::black, 1, Qt::DotLine) {
    font_.setPixelSize(12);
}

void PlotPainter::paint(QPainter& screen) {
    const int32_t width = view_.client_width;
    const int32_t height = view_.client_height;
    const CMeasure* m = view_.measure;
    if (width <= 0 || height <= 0) return;
    const int32_t rows = m ? storedRows(*m) : 0;
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

    const int32_t H = view_.strip_height;
    band_ = QImage(width, H > HEADER_HEIGHT ? H : HEADER_HEIGHT, QImage::Format_RGB32);
    int64_t y = -int64_t(view_.scroll_y);
    for (int32_t c = 0; c < view_.channelCount(); ++c) {
        if (y + HEADER_HEIGHT > 0 && y < height) {
            paintHeader(c);
            screen.drawImage(QPoint(0, int(y)), band_, QRect(0, 0, width, HEADER_HEIGHT));
        }
        y += HEADER_HEIGHT;
        if (!view_.expanded[c]) continue;
        if (y + H > 0 && y < height && H > 0) {
            paintStrip(c, curves);
            screen.drawImage(QPoint(0, int(y)), band_, QRect(0, 0, width, H));
        }
        y += H;
    }
    if (y < height) screen.fillRect(0, int(y), width, int(height - y), Qt::white);
}

void PlotPainter::paintHeader(int32_t c) {
    const int32_t width = view_.client_width;
    QPainter band(&band_);
    band.setClipRect(0, 0, width, HEADER_HEIGHT);
    band.fillRect(0, 0, width, HEADER_HEIGHT, bandBrush_);
    band.setFont(font_);
    band.setPen(Qt::black);
    drawTextAt(band, 50, 0, QString::fromStdString(displayText(view_.measure->channels[c].name)));
    band.setPen(curvePen_);
    band.drawLine(0, 0, width, 0);
}

void PlotPainter::paintStrip(int32_t c, CurvePainter& curves) {
    const int32_t width = view_.client_width;
    const int32_t H = view_.strip_height;
    const int32_t dataHeight = H - LABEL_HEIGHT;
    StripScale scale(view_.VerticalAxis(c), dataHeight);
    {
        QPainter band(&band_);
        band.setClipRect(0, 0, width, H);
        band.fillRect(0, dataHeight, width, LABEL_HEIGHT, bandBrush_);
        // A strip lower than its label band has no data area to draw in.
        if (dataHeight <= 0) return;
        band.fillRect(0, 0, width, dataHeight, c % 2 ? ODD_STRIP_COLOUR : EVEN_STRIP_COLOUR);
        band.setFont(font_);
        paintGrid(band, c, dataHeight);
        band.setClipRect(0, 0, width, dataHeight);
        band.setPen(zeroPen_);
        band.drawLine(40, scale.Y(0.0), width, scale.Y(0.0));
    }
    // The curves go straight into the pixels, clipped to the data area.
    PixelSurface area{reinterpret_cast<uint32_t*>(band_.bits()), int32_t(band_.bytesPerLine() / 4),
                      width, dataHeight};
    curves.draw(area, c, view_.plot_mode, scale, CURVE_COLOUR.rgb(), BAR_COLOUR.rgb());
    if (view_.block.channel == c) {
        QPainter band(&band_);
        band.setClipRect(0, 0, width, dataHeight);
        paintBlock(band, dataHeight);
    }
}

void PlotPainter::paintGrid(QPainter& band, int32_t c, int32_t dataHeight) {
    const int32_t width = view_.client_width;
    const double rate = view_.measure->sampleRate;
    const double p = view_.pixels_per_sample;

    // Vertical lines at whole steps of the time axis, x0' + sx .. x1'.
    double x0 = s0_ / rate;
    AxisRange xAxis = NiceRange(x0, x0 + view_.visible_samples / rate);
    int64_t first = std::llround(xAxis.lo / xAxis.step);
    int64_t last = std::llround(xAxis.hi / xAxis.step);
    if (last - first > MAX_GRID_LINES) last = first + MAX_GRID_LINES;
    for (int64_t k = first + 1; k <= last; ++k) {
        double X = double(k) * xAxis.step;
        double i = std::floor(X * rate + 0.5);
        int32_t px = roundToInt((i - s0_) * p);
        band.setPen(gridPen_);
        band.drawLine(px, 0, px, dataHeight);
        band.setPen(LABEL_COLOUR);
        drawTextAt(band, px - 12, dataHeight, numberText(X));
    }

    // Horizontal lines lo' + sy .. hi' - sy, labelled with the unit.
    AxisRange yAxis = view_.VerticalAxis(c);
    StripScale scale(yAxis, dataHeight);
    QString unit = QString::fromStdString(displayText(view_.measure->channels[c].unit));
    first = std::llround(yAxis.lo / yAxis.step);
    last = std::llround(yAxis.hi / yAxis.step);
    if (last - first > MAX_GRID_LINES) last = first + MAX_GRID_LINES;
    for (int64_t k = first + 1; k <= last - 1; ++k) {
        double v = double(k) * yAxis.step;
        int32_t Y = scale.Y(v);
        band.setPen(gridPen_);
        band.drawLine(40, Y, width, Y);
        band.setPen(LABEL_COLOUR);
        drawTextAt(band, 0, Y - 8, numberText(v) + QLatin1Char(' ') + unit);
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
