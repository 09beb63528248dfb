#include "view/ui/result_plot.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <limits>

#include "view/legend_layout.h"

namespace {

constexpr int PAD = 6;
constexpr int SWATCH = 28; // a legend entry's sample line
constexpr int MARKER_SPACING = 10;

struct Range {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    void take(double v, double lowest = -1e300) {
        if (!std::isfinite(v) || v < lowest) return;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    bool valid() const { return std::isfinite(lo) && std::isfinite(hi); }
};

// A range with room to draw: a flat curve opened around its value.
void openRange(Range& r) {
    if (!r.valid()) r = {0.0, 1.0};
    if (!(r.hi > r.lo)) {
        const double half = r.lo == 0.0 ? 1.0 : std::fabs(r.lo) * 0.1;
        r = {r.lo - half, r.hi + half};
    }
}

// Draws the plot's texts and tells the log where each went.
class PlotText {
  public:
    PlotText(QPainter& painter, PlotTextLog* log) : painter_(painter), log_(log) {}
    void draw(const QRect& box, int flags, const QString& text) {
        if (text.isEmpty()) return;
        painter_.drawText(box, flags, text);
        keep(painter_.boundingRect(box, flags, text), text);
    }
    // Text turned a quarter anticlockwise, centred on `centre`.
    void drawUpwards(QPoint centre, const QString& text) {
        if (text.isEmpty()) return;
        const QFontMetrics fm = painter_.fontMetrics();
        const int w = fm.horizontalAdvance(text), h = fm.height();
        painter_.save();
        painter_.translate(centre);
        painter_.rotate(-90);
        painter_.drawText(QRect(-w / 2, -h / 2, w, h), Qt::AlignCenter, text);
        painter_.restore();
        keep(QRect(centre.x() - h / 2, centre.y() - w / 2, h, w), text);
    }

  private:
    void keep(const QRect& r, const QString& text) {
        if (log_) log_->push_back({r, text});
    }
    QPainter& painter_;
    PlotTextLog* log_;
};

QPen curvePen(const QColor& colour, Qt::PenStyle style) {
    QPen pen(colour, 1.5, style);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

// What the legend names: the bands first, then the curves in their order.
struct LegendEntry {
    QString name;
    const PlotCurve* curve;
    const PlotBand* band;
    int width; // sample, gap and name, at most the legend's width
};

std::vector<LegendEntry> legendEntries(const std::vector<PlotCurve>& curves,
                                       const std::vector<PlotBand>& bands, const QFontMetrics& fm,
                                       int legendWidth) {
    std::vector<LegendEntry> entries;
    for (const PlotBand& b : bands)
        entries.push_back({b.name, nullptr, &b, 0});
    for (const PlotCurve& c : curves)
        entries.push_back({c.name, &c, nullptr, 0});
    // In a narrow plot an entry gets a row of its own, its name cut short.
    for (LegendEntry& e : entries)
        e.width = std::min(SWATCH + 4 + fm.horizontalAdvance(e.name), legendWidth);
    return entries;
}

void drawLegend(QPainter& painter, PlotText& text, const std::vector<LegendEntry>& entries,
                const std::vector<LegendSlot>& placed) {
    const QFontMetrics fm = painter.fontMetrics();
    const int th = fm.height();
    for (size_t i = 0; i < placed.size(); ++i) {
        const LegendEntry& e = entries[i];
        const int x = PAD + placed[i].x, y = PAD + placed[i].row * th;
        const QRect sample(x, y + 2, SWATCH, th - 4);
        if (e.band) {
            painter.fillRect(sample, e.band->colour);
        } else {
            painter.setPen(curvePen(e.curve->colour, e.curve->style));
            painter.drawLine(sample.left(), sample.center().y(), sample.right(),
                             sample.center().y());
            if (e.curve->markers) painter.drawEllipse(sample.center(), 2, 2);
        }
        painter.setPen(Qt::black);
        const int room = e.width - SWATCH - 4;
        const QString name = fm.horizontalAdvance(e.name) > room
                                 ? fm.elidedText(e.name, Qt::ElideRight, room)
                                 : e.name;
        text.draw(QRect(x + SWATCH + 4, y, room, th), Qt::AlignLeft | Qt::AlignVCenter, name);
    }
}

// The values the axes span: every finite point of the curves and bands, y
// above `axes.yLowest`, from 0 when asked, whole decades on a power axis.
void dataRanges(const PlotAxes& axes, const std::vector<PlotCurve>& curves,
                const std::vector<PlotBand>& bands, Range& xs, Range& ys) {
    for (const PlotCurve& c : curves) {
        for (double v : c.x)
            xs.take(v);
        for (double v : c.y)
            ys.take(v, axes.yLowest);
    }
    for (const PlotBand& b : bands)
        for (size_t i = 0; i < b.x.size(); ++i) {
            xs.take(b.x[i]);
            ys.take(b.lower[i], axes.yLowest);
            ys.take(b.upper[i], axes.yLowest);
        }
    openRange(xs);
    openRange(ys);
    if (axes.yFromZero && ys.lo > 0) ys.lo = 0;
    if (axes.yFormat == TickFormat::Power) {
        ys.lo = std::floor(ys.lo);
        ys.hi = std::max(std::ceil(ys.hi), ys.lo + 1);
    } else {
        ys.hi += 0.05 * (ys.hi - ys.lo); // the peak clear of the frame
    }
}

// The x title centred under the frame; it may use the plot's whole width
// where the frame is narrower than it.
void drawXTitle(PlotText& text, const QFontMetrics& fm, const QString& title, const QRect& frame,
                QSize size) {
    const int th = fm.height();
    const int width = std::max(fm.horizontalAdvance(title), frame.width());
    const int left =
        std::clamp(frame.center().x() - width / 2, PAD, std::max(PAD, size.width() - PAD - width));
    const int room = std::min(width, size.width() - PAD - left);
    text.draw(QRect(left, size.height() - PAD - th, room, th), Qt::AlignCenter,
              fm.horizontalAdvance(title) > room ? fm.elidedText(title, Qt::ElideRight, room)
                                                 : title);
}

void drawGridAndLabels(QPainter& painter, PlotText& text, const QRect& frame, QSize size,
                       const std::vector<FittedTick>& xTicks, const std::vector<FittedTick>& yTicks,
                       int yLabelLeft, int yLabelWidth) {
    const QFontMetrics fm = painter.fontMetrics();
    const int th = fm.height();
    painter.setPen(QPen(QColor(0xd0, 0xd0, 0xd0), 1, Qt::DotLine));
    for (const FittedTick& t : xTicks)
        painter.drawLine(frame.left() + t.pixel, frame.top(), frame.left() + t.pixel,
                         frame.bottom());
    for (const FittedTick& t : yTicks)
        painter.drawLine(frame.left(), frame.bottom() - t.pixel, frame.right(),
                         frame.bottom() - t.pixel);
    painter.setPen(Qt::black);
    for (const FittedTick& t : xTicks) {
        const QString label = QString::fromStdString(t.label);
        const int w = fm.horizontalAdvance(label);
        const int x = frame.left() + t.pixel - w / 2;
        if (x < 0 || x + w > size.width()) continue;
        text.draw(QRect(x, frame.bottom() + 2, w, th), Qt::AlignCenter, label);
    }
    for (const FittedTick& t : yTicks) {
        // A label at the corner rests on the frame's bottom, clear of the
        // x labels' row under it.
        const int y = std::min(frame.bottom() - t.pixel - th / 2, frame.bottom() + 1 - th);
        text.draw(QRect(yLabelLeft, y, yLabelWidth, th), Qt::AlignRight | Qt::AlignVCenter,
                  QString::fromStdString(t.label));
    }
}

// Bands under the curves, then the curves in their order, inside `frame`.
void drawData(QPainter& painter, const QRect& frame, const Range& xs, const Range& ys,
              const std::vector<PlotCurve>& curves, const std::vector<PlotBand>& bands) {
    auto X = [&](double v) { return frame.left() + (v - xs.lo) / (xs.hi - xs.lo) * frame.width(); };
    // A point far below the axis (a probability's far tail) is drawn just
    // under the frame, where the clip cuts it.
    auto Y = [&](double v) {
        v = std::max(v, ys.lo - (ys.hi - ys.lo));
        return frame.bottom() - (v - ys.lo) / (ys.hi - ys.lo) * frame.height();
    };
    painter.save();
    painter.setClipRect(frame.adjusted(0, 0, 1, 1));
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const PlotBand& b : bands) {
        QPainterPath region;
        for (size_t i = 0; i < b.x.size(); ++i) {
            const QPointF p(X(b.x[i]), Y(b.upper[i]));
            if (i == 0)
                region.moveTo(p);
            else
                region.lineTo(p);
        }
        for (size_t i = b.x.size(); i-- > 0;)
            region.lineTo(X(b.x[i]), Y(b.lower[i]));
        region.closeSubpath();
        painter.fillPath(region, b.colour);
    }
    for (const PlotCurve& c : curves) {
        painter.setPen(curvePen(c.colour, c.style));
        QPolygonF line;
        for (size_t i = 0; i < c.x.size() && i < c.y.size(); ++i)
            if (std::isfinite(c.y[i])) line << QPointF(X(c.x[i]), Y(c.y[i]));
        painter.drawPolyline(line);
        if (!c.markers) continue;
        painter.setPen(QPen(c.colour, 1.2));
        double last = -1e9;
        for (const QPointF& p : line)
            if (p.x() - last >= MARKER_SPACING) {
                painter.drawEllipse(p, 2.5, 2.5);
                last = p.x();
            }
    }
    painter.restore();
}

} // namespace

CResultPlot::CResultPlot(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CResultPlot::setPlot(const PlotAxes& axes, std::vector<PlotCurve> curves,
                          std::vector<PlotBand> bands) {
    plot_.axes = axes;
    plot_.curves = std::move(curves);
    plot_.bands = std::move(bands);
    update();
}

void CResultPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, size(), nullptr);
}

void CResultPlot::paint(QPainter& painter, QSize size, PlotTextLog* log) const {
    paintResultPlot(painter, size, font(), plot_, log);
}

void paintResultPlot(QPainter& painter, QSize size, const QFont& font,
                     const ResultPlotContent& plot, PlotTextLog* log) {
    painter.save();
    painter.setFont(font);
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const QFontMetrics fm(font);
    const int th = fm.height();
    PlotText text(painter, log);

    // The legend across the top, left out for a single curve, and dropped
    // where the plot is too low for it and the curves both.
    const int legendWidth = size.width() - 2 * PAD;
    const std::vector<LegendEntry> entries =
        legendEntries(plot.curves, plot.bands, fm, legendWidth);
    std::vector<int> widths;
    for (const LegendEntry& e : entries)
        widths.push_back(e.width);
    std::vector<LegendSlot> placed;
    if (entries.size() > 1 && legendWidth > SWATCH + 4 + th)
        placed = legendSlots(widths, legendWidth);
    if (size.height() - legendRows(placed) * th < PAD * 3 + th / 2 + 5 * th) placed.clear();
    const int legendHeight = legendRows(placed) * th;

    // The frame: the legend above, x labels and title below, y labels and
    // title on the left; half a label's height spare at the top for the
    // highest y label.
    const int top = PAD + legendHeight + th / 2 + (legendHeight ? PAD : 0);
    const int plotHeight = size.height() - PAD - 2 * th - 2 - top;
    if (plotHeight < th || size.width() < 4 * th) {
        painter.restore();
        return;
    }
    Range xs, ys;
    dataRanges(plot.axes, plot.curves, plot.bands, xs, ys);
    // Labels read best a line apart upwards and two characters apart across.
    const std::vector<FittedTick> yTicks = fittedTicks(
        {ys.lo, ys.hi, plotHeight, plot.axes.yFormat}, [th](const std::string&) { return 2 * th; });
    int yLabelWidth = 0;
    for (const FittedTick& t : yTicks)
        yLabelWidth = std::max(yLabelWidth, fm.horizontalAdvance(QString::fromStdString(t.label)));
    const int yLabelLeft = PAD + th + 4;
    const int left = yLabelLeft + yLabelWidth + 4;
    const int right = size.width() - PAD - fm.horizontalAdvance(QStringLiteral("0.00")) / 2;
    if (right - left < th) {
        painter.restore();
        return;
    }
    const QRect frame(left, top, right - left, plotHeight);
    const std::vector<FittedTick> xTicks =
        fittedTicks({xs.lo, xs.hi, frame.width(), plot.axes.xFormat}, [&fm](const std::string& s) {
            return fm.horizontalAdvance(QString::fromStdString(s) + QStringLiteral("00"));
        });

    painter.setPen(Qt::black);
    drawXTitle(text, fm, plot.axes.xTitle, frame, size);
    text.drawUpwards(QPoint(PAD + th / 2, frame.center().y()),
                     fm.elidedText(plot.axes.yTitle, Qt::ElideRight, frame.height()));
    drawLegend(painter, text, entries, placed);
    drawGridAndLabels(painter, text, frame, size, xTicks, yTicks, yLabelLeft, yLabelWidth);
    drawData(painter, frame, xs, ys, plot.curves, plot.bands);
    painter.setPen(Qt::black);
    painter.drawRect(frame);
    painter.restore();
}
