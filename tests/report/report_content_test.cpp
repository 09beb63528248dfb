// A test report's content: the wave table of the record, the reasons of the
// files and analyses that failed, a summary for several files, and the file's
// own names kept from being read as markup.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "measure/measure.h"
#include "report/file_report.h"
#include "report/report_html.h"

namespace {

constexpr double PI = 3.14159265358979323846;
constexpr double RATE = 50;
constexpr int32_t ROWS = 6000; // 120 s

// Channel c carries a regular wave of height 0.1 (c + 1) m and period 1.5 s,
// so every gauge has its own heights and the periods are known.
std::unique_ptr<CMeasure> regularWaves(int32_t channels, const char* name = "gauge") {
    auto m = std::make_unique<CMeasure>();
    m->channelCount = channels;
    m->sampleCount = ROWS;
    m->sampleRate = RATE;
    m->sampleFormat = SAMPLE_FORMAT_REAL;
    copyField(m->path, sizeof m->path, "/data/run.INT");
    for (int c = 0; c < channels; ++c) {
        setChannelInfo(m->channels[c], 1, 0, "m", name);
        resetParameters(m->signalParameters[c]);
    }
    m->allocateSamples();
    for (int j = 0; j < ROWS; ++j)
        for (int c = 0; c < channels; ++c)
            m->setSample(
                c, j,
                Sample{float(0.05 * (c + 1) * std::sin(2 * PI * (j / RATE / 1.5 + 0.1 * c))), 0});
    return m;
}

// The value in the row labelled `label` of the `n`-th table that has one.
double tableValue(const std::string& html, const std::string& label, int n = 0) {
    const std::string head = "<tr><th>" + label + "</th><td class=\"n\">";
    size_t at = 0;
    for (int i = 0; i <= n; ++i) {
        at = html.find(head, i ? at + 1 : 0);
        if (at == std::string::npos) return NAN;
    }
    return std::strtod(html.c_str() + at + head.size(), nullptr);
}

// Counts the plots asked for, by kind, and marks where each goes.
struct PlotLog {
    std::map<ReportPlotKind, int> count;
    PlotMarkup markup() {
        return [this](const ReportPlot& p) {
            ++count[p.kind];
            return std::string("<svg data-plot></svg>");
        };
    }
};

size_t occurrences(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(ReportContent, EachGaugesTableHoldsItsOwnWaves) {
    ReportOptions options;
    std::vector<FileReport> files;
    files.push_back(analyseFile("/data/run.INT", regularWaves(2), options));
    ASSERT_EQ(files[0].firstFailure(), "");
    const std::string html = reportHtml(files, PlotLog().markup(), ReportFlavour::Browser);
    for (int g = 0; g < 2; ++g) {
        const double h = 0.1 * (g + 1);
        EXPECT_NEAR(tableValue(html, "H1/3", g), h, 0.01 * h);
        EXPECT_NEAR(tableValue(html, "Hmax", g), h, 0.01 * h);
        EXPECT_NEAR(tableValue(html, "Hm0", g), h * std::sqrt(2.0), 0.03 * h);
        EXPECT_NEAR(tableValue(html, "Tp", g), 1.5, 0.1);
        EXPECT_NEAR(tableValue(html, "Tm02", g), 1.5, 0.1);
    }
    EXPECT_NEAR(tableValue(html, "Duration (s)"), ROWS / RATE, 1e-9);
}

TEST(ReportContent, TheAnalysedRowsAreTheRangeGiven) {
    ReportOptions options;
    options.from = 1000;
    options.to = 4000;
    std::vector<FileReport> files;
    files.push_back(analyseFile("/data/run.INT", regularWaves(1), options));
    ASSERT_EQ(files[0].firstFailure(), "");
    EXPECT_DOUBLE_EQ(files[0].duration(), 3000 / RATE);
    // 60 s of 1.5 s waves: about 40, not the 80 of the whole record.
    EXPECT_NEAR(files[0].gauges[0].waves.count, 40, 1);
}

TEST(ReportContent, AFileThatCannotBeAnalysedIsARowWithItsReason) {
    ReportOptions options;
    options.channels = {5};
    std::vector<FileReport> files;
    files.push_back(analyseFile("/data/run.INT", regularWaves(2), options));
    files.push_back(unreadFile("/data/cut.INT", "cut.INT: the file is too short"));
    EXPECT_NE(files[0].firstFailure().find("channel 5 does not exist"), std::string::npos);
    const std::string html = reportHtml(files, PlotLog().markup(), ReportFlavour::Browser);
    // The summary names both, each with its reason; the first still shows its channels.
    EXPECT_NE(html.find("<h2>Summary</h2>"), std::string::npos);
    EXPECT_NE(html.find("class=\"failed\">channel 5 does not exist"), std::string::npos);
    EXPECT_NE(html.find("class=\"failed\">cut.INT: the file is too short"), std::string::npos);
    EXPECT_NE(html.find("<td>gauge</td>"), std::string::npos);

    options.channels = {0};
    options.from = 7000;
    FileReport outside = analyseFile("/data/run.INT", regularWaves(1), options);
    EXPECT_NE(outside.error.find("range 7000..6000"), std::string::npos) << outside.error;
}

TEST(ReportContent, AFailedReflectionLeavesTheGaugesAnalysed) {
    ReportOptions options;
    options.reflection = true;
    options.positions = {0, 0.3}; // three gauges
    options.depth = 0.5;
    FileReport f = analyseFile("/data/run.INT", regularWaves(3), options);
    EXPECT_EQ(f.error, "");
    EXPECT_FALSE(f.hasReflection);
    EXPECT_NE(f.firstFailure().find("reflection"), std::string::npos);
    ASSERT_EQ(f.gauges.size(), 3u);
    for (const GaugeReport& g : f.gauges)
        EXPECT_TRUE(g.hasSpectrum && g.hasWaves);
}

TEST(ReportContent, SeveralFilesStartWithASummaryAndPlotEveryGauge) {
    ReportOptions options;
    options.channels = {0, 2};
    std::vector<FileReport> files;
    files.push_back(analyseFile("/data/a.INT", regularWaves(3), options));
    PlotLog one;
    std::string html = reportHtml(files, one.markup(), ReportFlavour::Browser);
    EXPECT_EQ(html.find("Summary"), std::string::npos);
    EXPECT_EQ(one.count[ReportPlotKind::Overview], 1);
    EXPECT_EQ(one.count[ReportPlotKind::Spectrum], 2);
    EXPECT_EQ(one.count[ReportPlotKind::Exceedance], 2);

    files.push_back(analyseFile("/data/b.INT", regularWaves(3), options));
    PlotLog two;
    html = reportHtml(files, two.markup(), ReportFlavour::Browser);
    const size_t summary = html.find("<h2>Summary</h2>");
    ASSERT_NE(summary, std::string::npos);
    EXPECT_LT(summary, html.find("<section id=\"file0\">"));
    EXPECT_EQ(occurrences(html, "<tr><td>a.INT</td>"), 2u); // one row a gauge
    EXPECT_EQ(occurrences(html, "<tr><td>b.INT</td>"), 2u);
    EXPECT_EQ(two.count[ReportPlotKind::Spectrum], 4);
    EXPECT_EQ(occurrences(html, "<svg data-plot>"), 10u);
}

TEST(ReportContent, NamesFromTheFileAreTextNotMarkup) {
    ReportOptions options;
    std::vector<FileReport> files;
    files.push_back(analyseFile("/data/<b>run&1</b>.INT",
                                regularWaves(1, "<img src=x onerror=alert(1)>"), options));
    const std::string html = reportHtml(files, PlotLog().markup(), ReportFlavour::Browser);
    EXPECT_EQ(html.find("<img"), std::string::npos);
    EXPECT_EQ(html.find("<b>"), std::string::npos);
    EXPECT_NE(html.find("&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
    EXPECT_NE(html.find("&lt;b&gt;run&amp;1&lt;/b&gt;.INT"), std::string::npos);
}
