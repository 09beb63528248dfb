#include "view/ui/plot_export.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <string>

#include "measure/atomic_file.h"
#include "view/ui/plot_painter.h"

namespace {

// Points per inch: one picture pixel is one point on the PDF page.
constexpr int POINTS_PER_INCH = 72;
// The SVG's size is written in millimetres; at the 96 pixels an inch of CSS
// a browser shows it at the chosen size in pixels.
constexpr int SVG_PIXELS_PER_INCH = 96;

bool renderPng(const QImage& image, QIODevice* device) {
    QImageWriter writer(device, "png");
    return writer.write(image);
}

bool renderSvg(const QImage& image, QIODevice* device) {
    QSvgGenerator svg;
    svg.setOutputDevice(device);
    svg.setResolution(SVG_PIXELS_PER_INCH);
    svg.setSize(image.size());
    svg.setViewBox(QRect(QPoint(0, 0), image.size()));
    svg.setTitle(QStringLiteral("Ondarix plot"));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    painter.drawImage(0, 0, image);
    return painter.end();
}

bool renderPdf(const QImage& image, QIODevice* device) {
    QPdfWriter pdf(device);
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

// Made in memory: Qt's SVG and PDF writers do not say when a write to a file
// fails, so the file is written separately.
bool renderPicture(const QImage& image, ExportFormat format, QByteArray& bytes) {
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) return false;
    switch (format) {
    case ExportFormat::Png:
        return renderPng(image, &buffer);
    case ExportFormat::Svg:
        return renderSvg(image, &buffer);
    case ExportFormat::Pdf:
        return renderPdf(image, &buffer);
    }
    return false;
}

// The painter draws its bands as images and copies parts of them; the SVG
// engine ignores such a source rectangle, so every format starts from the
// picture painted in pixels.
QImage viewPicture(const MeasureViewState& view) {
    QImage image(view.client_width, view.client_height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PlotPainter plot(view);
    plot.paint(painter);
    return image;
}

bool writePlot(const MeasureViewState& view, const QString& path, ExportFormat format,
               QString* why) {
    return writePicture(viewPicture(view), path, format, why);
}

bool writePicture(const QImage& image, const QString& path, ExportFormat format, QString* why) {
    QByteArray bytes;
    if (!renderPicture(image, format, bytes)) {
        if (why) *why = QStringLiteral("cannot write %1: the picture could not be made").arg(path);
        return false;
    }
    std::string reason;
    if (replaceFile(QFile::encodeName(path).toStdString(), bytes.toStdString(), &reason))
        return true;
    if (why) *why = QStringLiteral("cannot write %1: %2").arg(path, QString::fromStdString(reason));
    return false;
}
