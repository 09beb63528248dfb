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

} // namespace

CResultPlot::CResultPlot(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CResultPlot::setPlot(const PlotAxes& axes, std::vector<PlotCurve> curves,
                          std::vector<PlotBand> bands) {
    axes_ = axes;
    curves_ = std::move(curves);
    bands_ = std::move(bands);
    update();
}

void CResultPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, size(), nullptr);
}

void CResultPlot::paint(QPainter& painter, QSize size, PlotTextLog* log) const {
    painter.save();
    painter.setFont(font());
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    const QFontMetrics fm(font());
    const int th = fm.height();
    PlotText text(painter, log);

    // The legend across the top: a sample of each curve and band, then its name.
    struct Entry {
        QString name;
        const PlotCurve* curve;
        const PlotBand* band;
    };
    std::vector<Entry> entries;
    for (const PlotBand& b : bands_)
        entries.push_back({b.name, nullptr, &b});
    for (const PlotCurve& c : curves_)
        entries.push_back({c.name, &c, nullptr});
    std::vector<int> widths;
    for (const Entry& e : entries)
        widths.push_back(SWATCH + 4 + fm.horizontalAdvance(e.name));
    // In a narrow plot an entry gets a row of its own, its name cut short.
    const int legendWidth = size.width() - 2 * PAD;
    for (int& w : widths)
        w = std::min(w, legendWidth);
    std::vector<LegendSlot> placed;
    if (entries.size() > 1 && legendWidth > SWATCH + 4 + th)
        placed = legendSlots(widths, legendWidth);
    // The curves come before their legend: a plot too low for both drops it.
    if (size.height() - legendRows(placed) * th < PAD * 3 + th / 2 + 5 * th) placed.clear();
    const int legendHeight = legendRows(placed) * th;

    // The plot's frame: the legend above, x labels and title below, y labels
    // and title on the left; half a label's height spare at the top for the
    // highest y label.
    const int top = PAD + legendHeight + th / 2 + (legendHeight ? PAD : 0);
    const int bottom = size.height() - PAD - 2 * th - 2;
    Range xs, ys;
    for (const PlotCurve& c : curves_) {
        for (double v : c.x)
            xs.take(v);
        for (double v : c.y)
            ys.take(v, axes_.yLowest);
    }
    for (const PlotBand& b : bands_)
        for (size_t i = 0; i < b.x.size(); ++i) {
            xs.take(b.x[i]);
            ys.take(b.lower[i], axes_.yLowest);
            ys.take(b.upper[i], axes_.yLowest);
        }
    openRange(xs);
    openRange(ys);
    if (axes_.yFromZero && ys.lo > 0) ys.lo = 0;
    if (axes_.yFormat == TickFormat::Power) {
        ys.lo = std::floor(ys.lo);
        ys.hi = std::max(std::ceil(ys.hi), ys.lo + 1);
    } else {
        ys.hi += 0.05 * (ys.hi - ys.lo); // the peak clear of the frame
    }
    const int plotHeight = bottom - top;
    if (plotHeight < th || size.width() < 4 * th) {
        painter.restore();
        return;
    }
    // Labels read best a line apart upwards and two characters apart across.
    const std::vector<FittedTick> yTicks = fittedTicks({ys.lo, ys.hi, plotHeight, axes_.yFormat},
                                                       [th](const std::string&) { return 2 * th; });
    int yLabelWidth = 0;
    for (const FittedTick& t : yTicks)
        yLabelWidth = std::max(yLabelWidth, fm.horizontalAdvance(QString::fromStdString(t.label)));
    const int left = PAD + th + 4 + yLabelWidth + 4;
    const int right = size.width() - PAD - fm.horizontalAdvance(QStringLiteral("0.00")) / 2;
    if (right - left < th) {
        painter.restore();
        return;
    }
    const QRect frame(left, top, right - left, plotHeight);
    const std::vector<FittedTick> xTicks =
        fittedTicks({xs.lo, xs.hi, frame.width(), axes_.xFormat}, [&fm](const std::string& s) {
            return fm.horizontalAdvance(QString::fromStdString(s) + QStringLiteral("00"));
        });
    auto X = [&](double v) { return frame.left() + (v - xs.lo) / (xs.hi - xs.lo) * frame.width(); };
    auto Y = [&](double v) {
        return frame.bottom() - (v - ys.lo) / (ys.hi - ys.lo) * frame.height();
    };

    painter.setPen(Qt::black);
    // The x title may use the whole width where the frame is too narrow for it.
    const int titleWidth = std::max(fm.horizontalAdvance(axes_.xTitle), frame.width());
    const int titleLeft = std::clamp(frame.center().x() - titleWidth / 2, PAD,
                                     std::max(PAD, size.width() - PAD - titleWidth));
    const int titleRoom = std::min(titleWidth, size.width() - PAD - titleLeft);
    text.draw(QRect(titleLeft, size.height() - PAD - th, titleRoom, th), Qt::AlignCenter,
              fm.horizontalAdvance(axes_.xTitle) > titleRoom
                  ? fm.elidedText(axes_.xTitle, Qt::ElideRight, titleRoom)
                  : axes_.xTitle);
    const QString yTitle = fm.elidedText(axes_.yTitle, Qt::ElideRight, frame.height());
    text.drawUpwards(QPoint(PAD + th / 2, frame.center().y()), yTitle);
    for (size_t i = 0; i < placed.size(); ++i) {
        const Entry& e = entries[i];
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
        const int room = widths[i] - SWATCH - 4;
        const QString name = fm.horizontalAdvance(e.name) > room
                                 ? fm.elidedText(e.name, Qt::ElideRight, room)
                                 : e.name;
        text.draw(QRect(x + SWATCH + 4, y, room, th), Qt::AlignLeft | Qt::AlignVCenter, name);
    }

    // Grid and tick labels.
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
        text.draw(QRect(PAD + th + 4, y, yLabelWidth, th), Qt::AlignRight | Qt::AlignVCenter,
                  QString::fromStdString(t.label));
    }

    // Bands under the curves, then the curves in their order.
    painter.setClipRect(frame.adjusted(0, 0, 1, 1));
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const PlotBand& b : bands_) {
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
    for (const PlotCurve& c : curves_) {
        painter.setPen(curvePen(c.colour, c.style));
        QPolygonF line;
        for (size_t i = 0; i < c.x.size() && i < c.y.size(); ++i)
            if (std::isfinite(c.y[i])) line << QPointF(X(c.x[i]), Y(std::max(c.y[i], ys.lo - 1)));
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
    painter.setClipping(false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::black);
    painter.drawRect(frame);
    painter.restore();
}
