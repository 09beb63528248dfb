// Paints the measurement view's client area: channel headers, strips with
// their backgrounds, grids and labels, the curves and the hatched block.
// Each band is drawn into an off-screen image and copied to the screen in
// one piece, and only bands that reach into the client are drawn.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>

#include <cstdint>
#include <vector>

#include "view/axis_ticks.h"
#include "view/view_state.h"

class QPainter;
class CurvePainter;

// Colours of the picture.
const QColor BAND_COLOUR(220, 255, 220);
const QColor ODD_STRIP_COLOUR(255, 255, 220);
const QColor EVEN_STRIP_COLOUR(255, 255, 255);
const QColor BAR_COLOUR(0, 0, 255);
const QColor ZERO_LINE_COLOUR(127, 127, 127);
const QColor GRID_COLOUR(180, 180, 180);
const QColor LABEL_COLOUR(96, 96, 96);
const QColor CURVE_COLOUR(0, 0, 0);
const QColor OVERLAY_COLOUR(150, 170, 230); // channels drawn over another's strip

// The font of the channel names and the axis labels: "Tahoma" (or what
// stands in for it) at the largest size whose full height, descenders
// included, fits the 12-pixel bands.
const QFont& plotFont();

class PlotPainter {
  public:
    explicit PlotPainter(const MeasureViewState& view);

    // Draws every sample as its own vertex (the slow reference drawing).
    void setOneVertexPerSample(bool on) { oneVertexPerSample_ = on; }

    // Paints the client (client_width x client_height at the view's scroll
    // position) onto `screen`, whose origin is the client's top-left corner.
    void paint(QPainter& screen);

  private:
    // Paints one header or strip of `rows` rows, its top at `top` of the
    // screen, through `paintInto`.
    template <typename Paint>
    void paintBand(QPainter& screen, QImage* direct, int64_t top, int32_t rows, Paint paintInto);
    void paintHeader(int32_t c, QImage& target);
    void paintStrip(int32_t c, CurvePainter& curves, QImage& target);
    void paintGrid(QPainter& band, const std::vector<AxisTick>& times,
                   const std::vector<AxisTick>& values, int32_t dataHeight);
    // After the curves: labels drawn over them stay readable.
    void paintLabels(QPainter& band, const std::vector<AxisTick>& times,
                     const std::vector<AxisTick>& values, const QString& unit,
                     const QColor& background, int32_t dataHeight);
    void paintBlock(QPainter& band, int32_t dataHeight);

    const MeasureViewState& view_;
    bool oneVertexPerSample_ = false;
    int32_t s0_ = 0;
    QImage band_; // where a band is painted before it is copied onto the screen
    QFont font_;
    QBrush bandBrush_;
    QBrush barBrush_;
    QPen zeroPen_;
    QPen gridPen_;
    QPen curvePen_;
    QBrush blockBrush_;
    QPen blockPen_;
};
