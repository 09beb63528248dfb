// The report's result plots as the result windows draw them: axes titled
// with quantity and unit, every curve and the band named in the legend, the
// target as a curve of its own, and no two texts on top of each other at
// the report's size. The SVG carries the painted picture, so the texts are
// read from the painter's log.
#include <gtest/gtest.h>

#include <QImage>
#include <QStringList>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "frame_test_support.h"
#include "measure/measure_file.h"
#include "report/file_report.h"
#include "report/report_plot.h"
#include "report/ui/report_plots.h"

namespace {

// Gauges 1 to 3 of the bundled sample with a foreshore and the reflection
// of the three, compared with a target peaked where the sample's waves are.
std::vector<FileReport> sampleReport(bool withTarget) {
    auto record = std::make_unique<CMeasure>();
    if (!readMeasure(*record, SAMPLE_FILE, FileType::Int, nullptr)) return {};
    ReportOptions options;
    options.channels = {1, 2, 3};
    options.waveOptions.depth = 0.3;
    options.waveOptions.slope = 0.02;
    options.reflection = true;
    options.positions = {0, 0.3, 0.9};
    options.depth = 0.5;
    if (withTarget) {
        options.hasTarget = true;
        for (int k = 0; k <= 200; ++k) {
            const double f = k * 0.01, d = f - 0.6;
            options.target.frequency.push_back(f);
            options.target.density.push_back(0.004 * std::exp(-d * d / 0.005));
        }
    }
    std::vector<FileReport> files;
    files.push_back(analyseFile(SAMPLE_FILE, std::move(record), options));
    return files;
}

struct Painted {
    QImage image;
    PlotTextLog log;
    QStringList texts() const {
        QStringList out;
        for (const auto& t : log)
            out << t.second;
        return out;
    }
};

Painted paintPlot(const std::vector<FileReport>& files, ReportPlotKind kind, size_t gauge = 0) {
    Painted p;
    const ReportPlot plot = reportPlot(kind, 0, gauge);
    p.image = paintReportPlot(files, plot, &p.log);
    return p;
}

// Every text inside the picture and clear of every other.
void expectTextsApart(const Painted& p) {
    const QRect inside(QPoint(0, 0), p.image.size());
    for (size_t i = 0; i < p.log.size(); ++i) {
        EXPECT_TRUE(inside.contains(p.log[i].first)) << p.log[i].second.toStdString();
        for (size_t j = i + 1; j < p.log.size(); ++j)
            EXPECT_FALSE(p.log[i].first.intersects(p.log[j].first))
                << p.log[i].second.toStdString() << " and " << p.log[j].second.toStdString();
    }
}

} // namespace

class ReportPlotsTest : public FrameTest {};

TEST_F(ReportPlotsTest, TheSpectrumNamesItsBandAndTheTarget) {
    const std::vector<FileReport> files = sampleReport(true);
    ASSERT_EQ(files.size(), 1u);
    ASSERT_EQ(files[0].firstFailure(), "");
    for (size_t gauge = 0; gauge < files[0].gauges.size(); ++gauge) {
        const Painted p = paintPlot(files, ReportPlotKind::Spectrum, gauge);
        const QStringList texts = p.texts();
        for (const QString& name :
             {QStringLiteral("Frequency (Hz)"), QString::fromUtf8("S (m\u00b2/Hz)"),
              QStringLiteral("Spectral density"), QStringLiteral("90 % confidence band"),
              QStringLiteral("Target")})
            EXPECT_EQ(texts.count(name), 1) << name.toStdString() << " of gauge " << gauge;
        // The channel's name in the record is not a legend entry.
        EXPECT_FALSE(texts.contains("S target"));
        expectTextsApart(p);
    }
}

TEST_F(ReportPlotsTest, WithoutATargetTheSpectrumHasNone) {
    const std::vector<FileReport> files = sampleReport(false);
    ASSERT_EQ(files.size(), 1u);
    const QStringList texts = paintPlot(files, ReportPlotKind::Spectrum).texts();
    EXPECT_TRUE(texts.contains("90 % confidence band"));
    EXPECT_FALSE(texts.contains("Target"));
}

TEST_F(ReportPlotsTest, TheExceedanceNamesMeasuredAndBothModels) {
    const std::vector<FileReport> files = sampleReport(false);
    ASSERT_EQ(files.size(), 1u);
    const Painted p = paintPlot(files, ReportPlotKind::Exceedance);
    const QStringList texts = p.texts();
    for (const QString& name :
         {QStringLiteral("H (m)"), QString::fromUtf8("P(H \u2265 h)"), QStringLiteral("Measured"),
          QStringLiteral("Rayleigh"), QString::fromUtf8("Battjes\u2013Groenendijk")})
        EXPECT_EQ(texts.count(name), 1) << name.toStdString();
    // Probabilities on powers of ten: 1 and 0.1 among the labels.
    EXPECT_TRUE(texts.contains("1"));
    EXPECT_TRUE(texts.contains("0.1"));
    expectTextsApart(p);
}

TEST_F(ReportPlotsTest, TheReflectionNamesIncidentAndReflected) {
    const std::vector<FileReport> files = sampleReport(false);
    ASSERT_EQ(files.size(), 1u);
    ASSERT_TRUE(files[0].reflectionCurves) << files[0].reflectionError;
    const Painted p = paintPlot(files, ReportPlotKind::Reflection);
    const QStringList texts = p.texts();
    for (const QString& name :
         {QStringLiteral("Frequency (Hz)"), QString::fromUtf8("S (m\u00b2/Hz)"),
          QStringLiteral("Incident"), QStringLiteral("Reflected")})
        EXPECT_EQ(texts.count(name), 1) << name.toStdString();
    expectTextsApart(p);
}
