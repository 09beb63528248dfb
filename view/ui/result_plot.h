// A result's plot: curves over one pair of axes, each in its own colour and
// dash pattern, a shaded band, titles naming each axis's quantity and unit,
// tick labels that fit the font and a legend when there is more than one
// curve. Every text it draws can be recorded, so that a test sees where the
// labels went without reading pixels.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>

#include <utility>
#include <vector>

#include "view/fitted_ticks.h"

class QPainter;

struct PlotCurve {
    QString name;
    std::vector<double> x, y;
    QColor colour;
    Qt::PenStyle style = Qt::SolidLine;
    bool markers = false; // small circles along it too, for greyscale print
};

// The region between `lower` and `upper`, shaded under the curves.
struct PlotBand {
    QString name;
    std::vector<double> x, lower, upper;
    QColor colour;
};

struct PlotAxes {
    QString xTitle, yTitle;
    TickFormat xFormat = TickFormat::Decimal;
    TickFormat yFormat = TickFormat::Decimal;
    // The y axis starts at 0 when every value is above it (a density, a height).
    bool yFromZero = false;
    // Values below this are left out of the y range (the far tail of a
    // log10 probability); -infinity for none.
    double yLowest = -1e300;
};

// Each text painted and the rectangle it took, in the plot's pixels.
using PlotTextLog = std::vector<std::pair<QRect, QString>>;

class CResultPlot : public QWidget {
  public:
    explicit CResultPlot(QWidget* parent);

    void setPlot(const PlotAxes& axes, std::vector<PlotCurve> curves, std::vector<PlotBand> bands);
    // Paints the plot into `size`; the texts go to `log` when there is one.
    void paint(QPainter& painter, QSize size, PlotTextLog* log) const;

    const PlotAxes& axes() const { return axes_; }
    const std::vector<PlotCurve>& curves() const { return curves_; }
    const std::vector<PlotBand>& bands() const { return bands_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    PlotAxes axes_;
    std::vector<PlotCurve> curves_;
    std::vector<PlotBand> bands_;
};
