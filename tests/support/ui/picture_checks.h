// Checks of exported pictures: each format opens at its size, and a picture's
// header bands count its channels.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QSvgRenderer>

#include <memory>
#include <string>

#include "measure/measure_file.h"
#include "view/ui/plot_painter.h"

inline QByteArray fileBytes(const std::string& path) {
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An SVG that opens, draws `size` pixels, and shows at that size at the 96
// CSS pixels an inch (its width is written in millimetres, 25.4 an inch).
inline void expectSvgOfSize(const std::string& path, QSize size) {
    QSvgRenderer svg(QString::fromStdString(path));
    EXPECT_TRUE(svg.isValid());
    EXPECT_EQ(svg.viewBox(), QRect(QPoint(0, 0), size));
    QByteArray text = fileBytes(path);
    int at = text.indexOf("width=\"");
    ASSERT_GE(at, 0);
    double mm = text.mid(at + 7, 20).split('m').first().toDouble();
    EXPECT_NEAR(mm / 25.4 * 96, size.width(), 0.01);
}

// A PDF page of one point per pixel.
inline void expectPdfOfSize(const std::string& path, QSize size) {
    QByteArray pdf = fileBytes(path);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    QByteArray box = QStringLiteral("/MediaBox [0 0 %1.000000 %2.000000]")
                         .arg(size.width())
                         .arg(size.height())
                         .toLatin1();
    EXPECT_TRUE(pdf.contains(box)) << box.toStdString();
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
}

// Rows mostly in the header colour: a channel's name band and its label band
// each make one run, so a picture of n channels has 2n runs.
inline int bandRuns(const QImage& image) {
    int runs = 0;
    bool inBand = false;
    for (int y = 0; y < image.height(); ++y) {
        int count = 0;
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == BAND_COLOUR;
        bool band = count * 2 > image.width();
        runs += band && !inBand;
        inBand = band;
    }
    return runs;
}

inline CMeasure* readSample() {
    auto m = std::make_unique<CMeasure>();
    if (!readMeasure(*m, SAMPLE_FILE, FileType::Int, nullptr)) return nullptr;
    return m.release();
}
