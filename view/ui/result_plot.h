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

#include <vector>

#include "view/fitted_ticks.h"
#include "view/ui/plot_text_log.h"

class QFont;
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

// One plot's axes and what is drawn over them.
struct ResultPlotContent {
    PlotAxes axes;
    std::vector<PlotCurve> curves;
    std::vector<PlotBand> bands;
};

// Paints `plot` into `size` in `font` as the widget does, for pictures made
// without one (a report, an export); the texts go to `log` when there is one.
void paintResultPlot(QPainter& painter, QSize size, const QFont& font,
                     const ResultPlotContent& plot, PlotTextLog* log);

class CResultPlot : public QWidget {
  public:
    explicit CResultPlot(QWidget* parent);

    void setPlot(const PlotAxes& axes, std::vector<PlotCurve> curves, std::vector<PlotBand> bands);
    // Paints the plot into `size`; the texts go to `log` when there is one.
    void paint(QPainter& painter, QSize size, PlotTextLog* log) const;

    const PlotAxes& axes() const { return plot_.axes; }
    const std::vector<PlotCurve>& curves() const { return plot_.curves; }
    const std::vector<PlotBand>& bands() const { return plot_.bands; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    ResultPlotContent plot_;
};
