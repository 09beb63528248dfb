#include "view/ui/plot_export.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "view/ui/plot_painter.h"

namespace {

// Points per inch: one picture pixel is one point on the PDF page.
constexpr int POINTS_PER_INCH = 72;
// The SVG's size is written in millimetres; at the 96 pixels an inch of CSS
// a browser shows it at the chosen size in pixels.
constexpr int SVG_PIXELS_PER_INCH = 96;

// The painter draws its bands as images and copies parts of them; the SVG
// engine ignores such a source rectangle, so every format starts from the
// picture painted in pixels.
QImage paintView(const MeasureViewState& view) {
    QImage image(view.client_width, view.client_height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlotPainter plot(view);
    plot.paint(painter);
    return image;
}

bool writePng(const QImage& image, const QString& path, QString* why) {
    QImageWriter writer(path, "png");
    if (writer.write(image)) return true;
    if (why) *why = QStringLiteral("cannot write %1 (%2)").arg(path, writer.errorString());
    return false;
}

bool writeSvg(const QImage& image, const QString& path) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setResolution(SVG_PIXELS_PER_INCH);
    svg.setSize(image.size());
    svg.setViewBox(QRect(QPoint(0, 0), image.size()));
    svg.setTitle(QStringLiteral("Ondarix plot"));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    painter.drawImage(0, 0, image);
    return painter.end();
}

bool writePdf(const QImage& image, const QString& path) {
    QPdfWriter pdf(path);
    pdf.setResolution(POINTS_PER_INCH);
    pdf.setPageSize(
        QPageSize(QSizeF(image.size()), QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setCreator(QStringLiteral("Ondarix"));
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    painter.drawImage(0, 0, image);
    return painter.end();
}

} // namespace

bool writePlot(const MeasureViewState& view, const QString& path, ExportFormat format,
               QString* why) {
    const QImage image = paintView(view);
    bool written = false;
    switch (format) {
    case ExportFormat::Png:
        return writePng(image, path, why);
    case ExportFormat::Svg:
        written = writeSvg(image, path);
        break;
    case ExportFormat::Pdf:
        written = writePdf(image, path);
        break;
    }
    // The SVG and PDF writers only say that painting could not begin.
    if (!written && why) *why = QStringLiteral("cannot write ") + path;
    return written;
}
