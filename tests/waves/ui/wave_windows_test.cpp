// The wave analyses from the desktop on the bundled sample: each command's
// dialog confirmed, its window's parameter table equal to what ondarix-batch
// prints for the same block and options, inputs that cannot be computed kept
// in their dialog with the reason, Recalculate after the source closed, and
// the table copied as text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "analysis/ui/analysis_dialog_templates.h"
#include "frame_test_support.h"
#include "measure/measure_file.h"
#include "shell/dialog_templates.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "view/ui/export_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/result_plot.h"
#include "view/ui/view_dialog_templates.h"
#include "waves/ui/wave_dialog_templates.h"
#include "waves/ui/wave_result_wnd.h"

namespace {

using Fields = std::map<std::string, std::string>;

// `ondarix-batch ... --json`: a flat object, one "key": value per line.
Fields batchJson(std::vector<std::string> args) {
    args.insert(args.begin() + 1, SAMPLE_FILE);
    args.push_back("--json");
    CommandResult r = runBatch(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    Fields fields;
    size_t at = 0;
    while ((at = r.out.find('"', at)) != std::string::npos) {
        size_t close = r.out.find('"', at + 1);
        size_t end = r.out.find_first_of(",\n", close);
        fields[r.out.substr(at + 1, close - at - 1)] = r.out.substr(close + 3, end - close - 3);
        at = end;
    }
    return fields;
}

// What the table shows of a JSON number: six significant digits, "-" for null.
std::string shown(const std::string& json) {
    if (json == "null") return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", std::stod(json));
    return text;
}

// The table's label (its unit left off) -> the batch's JSON key.
using Keys = std::vector<std::pair<std::string, std::string>>;
const Keys STATISTICS_KEYS = {
    {"Waves", "count"}, {"Mean level", "mean"}, {"Hmax", "Hmax"},   {"T(Hmax)", "THmax"},
    {"H1/3", "H1/3"},   {"T1/3", "T1/3"},       {"H1/10", "H1/10"}, {"T1/10", "T1/10"},
    {"Hmean", "Hmean"}, {"Hrms", "Hrms"},       {"Tz", "Tz"},       {"Tmax", "Tmax"},
    {"Hm0", "Hm0"},     {"H2%", "H2%"},         {"H1%", "H1%"},     {"Hmax/Hm0", "Hmax/Hm0"}};
const Keys SPECTRUM_KEYS = {{"fmin", "fmin"},
                            {"fmax", "fmax"},
                            {"m0", "m0"},
                            {"Variance below f1", "variance_below_f1"},
                            {"Hm0", "Hm0"},
                            {"fp", "fp"},
                            {"Tp", "Tp"},
                            {"Tp parabola", "Tp_parabola"},
                            {"Tp5", "Tp5"},
                            {"TpD", "TpD"},
                            {"Tm01", "Tm01"},
                            {"Tm02", "Tm02"},
                            {"Tm-10", "Tm-10"},
                            {"Width nu", "width"},
                            {"Qp", "Qp"},
                            {"Degrees of freedom", "dof"},
                            {"90% band lower / S", "band_lower"},
                            {"90% band upper / S", "band_upper"}};
const Keys REFLECTION_KEYS = {{"fmin used", "fmin"},
                              {"fmax used", "fmax"},
                              {"Bins used", "bins_used"},
                              {"Bins left out", "bins_left_out"},
                              {"Hm0 incident", "Hm0_incident"},
                              {"Hm0 reflected", "Hm0_reflected"},
                              {"Kr", "Kr"}};

void expectTableEquals(const CWaveResultWnd* w, const Keys& keys, const Fields& json) {
    ASSERT_NE(w->table, nullptr);
    ASSERT_EQ(w->table->rowCount(), int(keys.size()));
    for (int row = 0; row < int(keys.size()); ++row) {
        const std::string label = w->table->item(row, 0)->text().toStdString();
        const auto& [name, key] = keys[size_t(row)];
        EXPECT_EQ(label.substr(0, label.find(" (")), name) << row;
        ASSERT_EQ(json.count(key), 1u) << key;
        EXPECT_EQ(w->table->item(row, 1)->text().toStdString(), shown(json.at(key))) << label;
    }
}

QStringList paintedTexts(const CResultPlot& plot, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    PlotTextLog log;
    plot.paint(painter, size, &log);
    QStringList texts;
    for (const auto& [rect, text] : log)
        texts << text;
    return texts;
}

QStringList curveNames(const CResultPlot& plot) {
    QStringList names;
    for (const PlotCurve& c : plot.curves())
        names << c.name;
    return names;
}

// Curves that a greyscale print still tells apart: no two share a dash
// pattern and markers, nor a colour.
void expectCurvesApart(const CResultPlot& plot) {
    const std::vector<PlotCurve>& c = plot.curves();
    for (size_t i = 0; i < c.size(); ++i)
        for (size_t j = i + 1; j < c.size(); ++j) {
            EXPECT_NE(c[i].colour, c[j].colour) << i << " " << j;
            EXPECT_FALSE(c[i].style == c[j].style && c[i].markers == c[j].markers) << i << " " << j;
        }
}

} // namespace

class WaveWindowsTest : public FrameTest {
  protected:
    // File -> Open on the bundled sample, a block of gauge 1 selected.
    CMeasureWnd* openSample(int32_t from, int32_t to) {
        dialogScript::pushFile(SAMPLE_FILE, 1);
        frame->frameCommand(CMD_OPEN, 0);
        settle();
        auto* window = dynamic_cast<CMeasureWnd*>(frame->activeChild());
        if (window) window->view->SetBlock(1, from, to);
        return window;
    }
    // Runs `command` with its dialog filled by `fill` and confirmed; the
    // dialog's hint is kept in `hint` and whether OK ended it in `ended`.
    CWaveResultWnd* run(int command, std::function<void(ScriptedDialog&)> fill) {
        dialogScript::pushDialog([this, fill](ScriptedDialog& d) {
            fill(d);
            d.press(IDOK);
            ended = d.ended();
            hint = d.hint().toStdString();
        });
        frame->frameCommand(command, 0);
        settle();
        return dynamic_cast<CWaveResultWnd*>(frame->activeChild());
    }
    bool ended = false;
    std::string hint;
};

TEST_F(WaveWindowsTest, EachWindowsTableEqualsTheBatchResultForTheSameBlock) {
    ASSERT_NE(openSample(1000, 4040), nullptr);
    auto* stats =
        run(CMD_WAVE_STATISTICS, [](ScriptedDialog& d) { d.setText(IDC_WAVE_THRESHOLD, "0.01"); });
    ASSERT_NE(stats, nullptr);
    EXPECT_EQ(stats->windowClass(), "KelvoKalmanClass");
    EXPECT_EQ(stats->title(), QString(SAMPLE_FILE) + " - Wave statistics");
    expectTableEquals(stats, STATISTICS_KEYS,
                      batchJson({"waves", "--channel", "1", "--from", "1000", "--to", "4040",
                                 "--threshold", "0.01"}));
    // Its curves: height and period of every wave counted.
    EXPECT_EQ(stats->measure->channelCount, 2);
    EXPECT_EQ(stats->measure->sampleCount, stats->table->item(0, 1)->text().toInt());
    // All of them in view, counted from 1 as the table counts them.
    ASSERT_FALSE(stats->plots[0]->curves().empty());
    EXPECT_EQ(stats->plots[0]->curves()[0].x.front(), 1.0);
    EXPECT_EQ(stats->plots[0]->curves()[0].x.back(), double(stats->measure->sampleCount));

    frame->frameCommand(CMD_CLOSE_WINDOW, 0);
    settle();
    auto* spectrum = run(CMD_SPECTRUM, [](ScriptedDialog& d) {
        d.setText(IDC_WAVE_SEGMENT, "800");
        d.setText(IDC_WAVE_FMAX, "5");
    });
    ASSERT_NE(spectrum, nullptr);
    expectTableEquals(spectrum, SPECTRUM_KEYS,
                      batchJson({"spectrum", "--channel", "1", "--from", "1000", "--to", "4040",
                                 "--segment", "800", "--fmax", "5"}));
    // The density and its band, 401 bins: 0 .. 800/2.
    EXPECT_EQ(spectrum->measure->channelCount, 3);
    EXPECT_EQ(spectrum->measure->sampleCount, 401);
    // It opens on its energy: the peak at 1/1.6 s = 0.625 Hz, bin 10 of
    // df = 50/800 Hz, in view, and not all of 0 .. 25 Hz.
    ASSERT_FALSE(spectrum->plots[0]->curves().empty());
    const std::vector<double>& shownX = spectrum->plots[0]->curves()[0].x;
    EXPECT_GT(shownX.back(), 10 * 50 / 800.0);
    EXPECT_LT(shownX.back(), 400 * 50 / 800.0);

    frame->frameCommand(CMD_CLOSE_WINDOW, 0);
    settle();
    auto* reflection = run(CMD_REFLECTION, [](ScriptedDialog& d) {
        EXPECT_EQ(d.text(IDC_WAVE_GAUGES), "1,2,3"); // the block's channel and those after it
        d.setText(IDC_WAVE_POSITIONS, "4, 8, 12");
        d.setText(IDC_WAVE_DEPTH, "0.77");
        d.setText(IDC_WAVE_FMIN, "0.3");
        d.setText(IDC_WAVE_FMAX, "1");
    });
    ASSERT_NE(reflection, nullptr);
    expectTableEquals(
        reflection, REFLECTION_KEYS,
        batchJson({"reflection", "--channels", "1,2,3", "--positions", "4,8,12", "--depth", "0.77",
                   "--from", "1000", "--to", "4040", "--fmin", "0.3", "--fmax", "1"}));
    EXPECT_EQ(reflection->measure->channelCount, 2);
    EXPECT_STREQ(reflection->measure->channels[1].name, "S reflected");
    ASSERT_EQ(reflection->shownPlots().size(), 1u);
    EXPECT_EQ(curveNames(*reflection->shownPlots()[0]), QStringList({"Incident", "Reflected"}));
    expectCurvesApart(*reflection->shownPlots()[0]);
}

TEST_F(WaveWindowsTest, ReflectionTakesMoreGaugesAndGivesSeriesOrHarmonics) {
    CMeasureWnd* sample = openSample(1000, 4040);
    ASSERT_NE(sample, nullptr);
    // Four gauges (the flap's channel among them, to have four) as the batch has them.
    auto* four = run(CMD_REFLECTION, [](ScriptedDialog& d) {
        d.setText(IDC_WAVE_GAUGES, "0,1,2,3");
        d.setText(IDC_WAVE_POSITIONS, "0,4,8,12");
        d.setText(IDC_WAVE_DEPTH, "0.77");
        d.setText(IDC_WAVE_FMIN, "0.3");
        d.setText(IDC_WAVE_FMAX, "1");
    });
    ASSERT_NE(four, nullptr);
    expectTableEquals(
        four, REFLECTION_KEYS,
        batchJson({"reflection", "--channels", "0,1,2,3", "--positions", "0,4,8,12", "--depth",
                   "0.77", "--from", "1000", "--to", "4040", "--fmin", "0.3", "--fmax", "1"}));
    frame->frameCommand(CMD_CLOSE_WINDOW, 0);
    settle();

    // The series open in a window of their own, as the batch writes them.
    const int before = frame->children().size();
    run(CMD_REFLECTION, [](ScriptedDialog& d) {
        d.setText(IDC_WAVE_GAUGES, "1,2,3");
        d.setText(IDC_WAVE_POSITIONS, "4,8,12");
        d.setText(IDC_WAVE_DEPTH, "0.77");
        d.setText(IDC_WAVE_FMIN, "0.3");
        d.setText(IDC_WAVE_FMAX, "1");
        d.selectItem(IDC_WAVE_SEPARATION, 1);
    });
    EXPECT_EQ(frame->children().size(), before + 2);
    auto* series = dynamic_cast<CMeasureWnd*>(frame->activeChild());
    ASSERT_NE(series, nullptr);
    ASSERT_EQ(dynamic_cast<CWaveResultWnd*>(series), nullptr);
    const CMeasure& opened = *series->measure;
    ASSERT_EQ(opened.channelCount, 2);
    EXPECT_STREQ(opened.channels[0].name, "incident at 4 m");
    TempDir dir;
    const std::string out = dir.file("series.INT");
    CommandResult r = runBatch({"reflection", SAMPLE_FILE, "--channels", "1,2,3", "--positions",
                                "4,8,12", "--depth", "0.77", "--from", "1000", "--to", "4040",
                                "--fmin", "0.3", "--fmax", "1", "--series", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    CMeasure written;
    std::string why;
    ASSERT_TRUE(readMeasure(written, out, FileType::Int, &why)) << why;
    ASSERT_EQ(written.sampleCount, opened.sampleCount);
    EXPECT_EQ(written.sampleRate, opened.sampleRate);
    for (int32_t j = 0; j < opened.sampleCount; j += 97)
        for (int c = 0; c < 2; ++c)
            EXPECT_EQ(written.value(c, j), opened.value(c, j)) << c << " " << j;

    // A regular wave's harmonics in the table, Kr as the batch gives it; run
    // on the sample again, the series and spectra windows closed.
    for (int i = 0; i < 2 && frame->activeChild() != sample; ++i) {
        frame->frameCommand(CMD_CLOSE_WINDOW, 0);
        settle();
    }
    ASSERT_EQ(frame->activeChild(), sample);
    auto* regular = run(CMD_REFLECTION, [](ScriptedDialog& d) {
        d.setText(IDC_WAVE_GAUGES, "1,2,3");
        d.setText(IDC_WAVE_POSITIONS, "4,8,12");
        d.setText(IDC_WAVE_DEPTH, "0.77");
        d.selectItem(IDC_WAVE_SEPARATION, 2);
    });
    ASSERT_NE(regular, nullptr);
    const Fields json =
        batchJson({"reflection", "--channels", "1,2,3", "--positions", "4,8,12", "--depth", "0.77",
                   "--from", "1000", "--to", "4040", "--regular"});
    bool seen = false;
    for (int row = 0; row < regular->table->rowCount(); ++row)
        if (regular->table->item(row, 0)->text() == "Kr") {
            EXPECT_EQ(regular->table->item(row, 1)->text().toStdString(), shown(json.at("Kr")));
            seen = true;
        }
    EXPECT_TRUE(seen);
}

TEST_F(WaveWindowsTest, WhatCannotBeComputedKeepsTheDialogOpenWithTheReason) {
    ASSERT_NE(openSample(1000, 4040), nullptr);
    const int before = frame->children().size();
    struct Case {
        int command;
        std::function<void(ScriptedDialog&)> fill;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {CMD_REFLECTION,
         [](ScriptedDialog& d) {
             d.setText(IDC_WAVE_POSITIONS, "4,4,12");
             d.setText(IDC_WAVE_DEPTH, "0.77");
         },
         "two gauges have the same position"},
        {CMD_REFLECTION,
         [](ScriptedDialog& d) {
             d.setText(IDC_WAVE_POSITIONS, "4,8,12");
             d.setText(IDC_WAVE_DEPTH, "0");
         },
         "the depth must be > 0"},
        // The sample has channels 0 .. 3.
        {CMD_REFLECTION, [](ScriptedDialog& d) { d.setText(IDC_WAVE_GAUGES, "1,2,4"); },
         "Enter 2 to 16 channels from 0 to 3"},
        {CMD_REFLECTION,
         [](ScriptedDialog& d) {
             d.setText(IDC_WAVE_GAUGES, "1,2");
             d.setText(IDC_WAVE_POSITIONS, "4,8,12");
         },
         "Enter one position in metres per gauge (2)"},
        // The sample's waves are 0.08 m high: a band of +-5 m hides every crossing.
        {CMD_WAVE_STATISTICS, [](ScriptedDialog& d) { d.setText(IDC_WAVE_THRESHOLD, "10"); },
         "the block holds no complete wave"},
        {CMD_SPECTRUM, [](ScriptedDialog& d) { d.setText(IDC_WAVE_SEGMENT, "7"); },
         "the segment must be an even number"},
        {CMD_SPECTRUM, [](ScriptedDialog& d) { d.setText(IDC_RUN_TO, "5000"); },
         "Enter a whole number from 0 to 4096"},
    };
    for (const Case& c : cases) {
        run(c.command, c.fill);
        EXPECT_FALSE(ended) << c.reason;
        EXPECT_NE(hint.find(c.reason), std::string::npos) << hint;
        EXPECT_EQ(frame->children().size(), before) << c.reason;
    }
}

TEST_F(WaveWindowsTest, RecalculateWorksOnItsOwnBlockAfterTheSourceClosed) {
    CMeasureWnd* source = openSample(1000, 4040);
    ASSERT_NE(source, nullptr);
    auto* w = run(CMD_SPECTRUM, [](ScriptedDialog&) {});
    ASSERT_NE(w, nullptr);
    source->subWindow()->close();
    settle();
    ASSERT_EQ(frame->children().size(), 1);

    bool channelGreyed = false;
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        channelGreyed = !d.control(IDC_RUN_CHANNEL)->isEnabled();
        d.setText(IDC_WAVE_SEGMENT, "512");
        d.press(IDOK);
    });
    frame->frameCommand(CMD_RECALCULATE, 0);
    settle();
    EXPECT_TRUE(channelGreyed);
    expectTableEquals(w, SPECTRUM_KEYS,
                      batchJson({"spectrum", "--channel", "1", "--from", "1000", "--to", "4040",
                                 "--segment", "512"}));
    EXPECT_EQ(w->measure->sampleCount, 257);

    // A segment longer than the block is refused; the window keeps its result.
    const std::string kept = w->tableText();
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        d.setText(IDC_WAVE_SEGMENT, "4096");
        d.press(IDOK);
        ended = d.ended();
    });
    frame->frameCommand(CMD_RECALCULATE, 0);
    settle();
    EXPECT_FALSE(ended);
    EXPECT_EQ(w->tableText(), kept);
    EXPECT_EQ(w->measure->sampleCount, 257);
}

TEST_F(WaveWindowsTest, CopyPutsTheTableOnTheClipboardAsTheBatchPrintsIt) {
    ASSERT_NE(openSample(1000, 4040), nullptr);
    auto* w = run(CMD_WAVE_STATISTICS, [](ScriptedDialog&) {});
    ASSERT_NE(w, nullptr);
    RecordingClipboard clip;
    setClipboard(&clip);
    w->copyButton->click();
    setClipboard(nullptr);
    ASSERT_EQ(clip.calls, 1);
    // The batch prints "%-22s %s" per line; the copy is label TAB value CR LF.
    CommandResult r =
        runBatch({"waves", SAMPLE_FILE, "--channel", "1", "--from", "1000", "--to", "4040"});
    std::string expected;
    size_t at = 0;
    for (size_t end; (end = r.out.find('\n', at)) != std::string::npos; at = end + 1) {
        std::string line = r.out.substr(at, end - at);
        std::string label = line.substr(0, 22);
        label.erase(label.find_last_not_of(' ') + 1);
        expected += label + "\t" + line.substr(23) + "\r\n";
    }
    EXPECT_EQ(clip.text, expected);
    // Rows 1000..4040 at 50 Hz are 38 periods of 1.6 s: 38 down-crossings, 37
    // waves between them.
    EXPECT_EQ(clip.text.substr(0, 8), "Waves\t37");
}

// The detrend choice of each run dialog: its default, what the run then
// computes (as ondarix-batch --detrend), and the next run starting from it.
TEST_F(WaveWindowsTest, DetrendIsChosenInTheDialogAndKeptForTheNextRun) {
    ASSERT_NE(openSample(1000, 4040), nullptr);
    QString shownFirst, shownNext, statistics;
    auto* w = run(CMD_SPECTRUM, [&](ScriptedDialog& d) {
        shownFirst = d.text(IDC_WAVE_DETREND);
        d.selectItem(IDC_WAVE_DETREND, 0);
        d.setText(IDC_WAVE_SEGMENT, "800");
    });
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(shownFirst, "Linear (drift)");
    expectTableEquals(w, SPECTRUM_KEYS,
                      batchJson({"spectrum", "--channel", "1", "--from", "1000", "--to", "4040",
                                 "--segment", "800", "--detrend", "none"}));
    frame->frameCommand(CMD_CLOSE_WINDOW, 0);
    settle();
    w = run(CMD_SPECTRUM, [&](ScriptedDialog& d) { shownNext = d.text(IDC_WAVE_DETREND); });
    EXPECT_EQ(shownNext, "None");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->result()->options.detrend, Detrend::None);
    frame->frameCommand(CMD_CLOSE_WINDOW, 0);
    settle();
    auto* stats = run(CMD_WAVE_STATISTICS, [&](ScriptedDialog& d) {
        statistics = d.text(IDC_WAVE_DETREND);
        d.selectItem(IDC_WAVE_DETREND, 2);
    });
    EXPECT_EQ(statistics, "Mean");
    ASSERT_NE(stats, nullptr);
    expectTableEquals(stats, STATISTICS_KEYS,
                      batchJson({"waves", "--channel", "1", "--from", "1000", "--to", "4040",
                                 "--detrend", "linear"}));
}

// The spectrum window draws the 90 % band as a region around the density
// in the density's own plot, not as strips of its own, and names it in the
// legend; the result keeps its three channels for Save as.
TEST_F(WaveWindowsTest, SpectrumWindowDrawsTheBandAroundTheDensity) {
    ASSERT_NE(openSample(1000, 4040), nullptr);
    CWaveResultWnd* w =
        run(CMD_SPECTRUM, [](ScriptedDialog& d) { d.setText(IDC_WAVE_SEGMENT, "800"); });
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->measure->channelCount, 3);
    ASSERT_EQ(w->shownPlots().size(), 1u);
    const CResultPlot& plot = *w->shownPlots()[0];
    ASSERT_EQ(plot.curves().size(), 1u);
    ASSERT_EQ(plot.bands().size(), 1u);
    const PlotCurve& density = plot.curves()[0];
    const PlotBand& band = plot.bands()[0];
    ASSERT_EQ(band.x, density.x);
    for (size_t j = 0; j < density.x.size(); ++j) {
        EXPECT_LE(band.lower[j], density.y[j]) << j;
        EXPECT_GE(band.upper[j], density.y[j]) << j;
    }
    EXPECT_GT(band.upper[10], band.lower[10]);
    const QStringList texts = paintedTexts(plot, QSize(1000, 600));
    EXPECT_TRUE(texts.contains("90 % confidence band"));
    EXPECT_TRUE(texts.contains("Frequency (Hz)"));
    EXPECT_TRUE(texts.contains(QString::fromUtf8("S (m\u00b2/Hz)")));
    for (const QString& t : texts)
        EXPECT_FALSE(t.contains("lower") || t.contains("upper")) << t.toStdString();
}

// File -> Export of a result window pictures its plots as the window shows
// them (the band shaded and named, the axes titled), proposed at the plots'
// size, not the measurement strips of the hidden view.
TEST_F(WaveWindowsTest, ExportPicturesTheSpectrumPlotAsShown) {
    ASSERT_NE(openSample(1000, 4040), nullptr);
    CWaveResultWnd* w =
        run(CMD_SPECTRUM, [](ScriptedDialog& d) { d.setText(IDC_WAVE_SEGMENT, "800"); });
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->shownPlots().size(), 1u);
    const CResultPlot& plot = *w->shownPlots()[0];
    TempDir dir;
    const std::string path = dir.file("spectrum.png");
    QString proposedWidth, proposedHeight;
    dialogScript::pushFile(QString::fromStdString(path), 1);
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        proposedWidth = d.text(IDC_EXPORT_WIDTH);
        proposedHeight = d.text(IDC_EXPORT_HEIGHT);
        d.setText(IDC_EXPORT_WIDTH, "700");
        d.setText(IDC_EXPORT_HEIGHT, "420");
        d.press(1);
    });
    frame->frameCommand(CMD_EXPORT_PLOT, 0);
    EXPECT_TRUE(dialogScript::messages().isEmpty());
    EXPECT_EQ(proposedWidth.toInt(), plot.width());
    EXPECT_EQ(proposedHeight.toInt(), plot.height());

    const QImage written(QString::fromStdString(path));
    ASSERT_EQ(written.size(), QSize(700, 420));
    PlotTextLog log;
    const QImage painted = exportPicture(*w, QSize(700, 420), &log);
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), painted);
    QStringList texts;
    for (const auto& [box, text] : log) {
        EXPECT_TRUE(QRect(0, 0, 700, 420).contains(box)) << text.toStdString();
        texts << text;
    }
    EXPECT_TRUE(texts.contains("90 % confidence band"));
    EXPECT_TRUE(texts.contains("Spectral density"));
    EXPECT_TRUE(texts.contains("Frequency (Hz)"));
    EXPECT_TRUE(texts.contains(QString::fromUtf8("S (m\u00b2/Hz)")));
}

// Statistics export all three plots, one above the other as in the window:
// each text lies in its own third of the picture.
TEST_F(WaveWindowsTest, ExportOfStatisticsStacksItsThreePlots) {
    ASSERT_NE(openSample(1000, 4040), nullptr);
    CWaveResultWnd* w = run(CMD_WAVE_STATISTICS, [](ScriptedDialog&) {});
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(w->shownPlots().size(), 3u);
    PlotTextLog log;
    exportPicture(*w, QSize(600, 900), &log);
    std::vector<QStringList> thirds(3);
    for (const auto& [box, text] : log) {
        ASSERT_EQ(box.top() / 300, box.bottom() / 300) << text.toStdString() << " across two plots";
        thirds[size_t(box.top() / 300)] << text;
    }
    EXPECT_TRUE(thirds[0].contains("Wave"));
    EXPECT_TRUE(thirds[0].contains("H (m)"));
    EXPECT_TRUE(thirds[1].contains("Wave"));
    EXPECT_TRUE(thirds[1].contains("T (s)"));
    EXPECT_TRUE(thirds[2].contains("Rayleigh"));
    EXPECT_TRUE(thirds[2].contains(QString::fromUtf8("P(H \u2265 h)")));
}

// Wave statistics with a foreshore: the composite Weibull's rows in the
// table as the batch prints them, and under the wave list the exceedance
// plot, X the height, its curves over the measured one; the spectrum has
// none.
TEST_F(WaveWindowsTest, StatisticsShowTheExceedancePlotAndTheCompositeWeibull) {
    ASSERT_NE(openSample(1000, 4040), nullptr);
    auto* stats = run(CMD_WAVE_STATISTICS, [](ScriptedDialog& d) {
        d.setText(IDC_WAVE_DEPTH, "0.3");
        d.setText(IDC_WAVE_SLOPE, "0.02");
    });
    ASSERT_NE(stats, nullptr);
    Keys keys = STATISTICS_KEYS;
    for (const char* name : {"BG Htr", "BG Hrms", "BG Htr/Hrms", "BG H1/Hrms", "BG H2/Hrms",
                             "BG H1/3", "BG H1/10", "BG H2%", "BG H1%"})
        keys.push_back({name, name});
    expectTableEquals(stats, keys,
                      batchJson({"waves", "--channel", "1", "--from", "1000", "--to", "4040",
                                 "--depth", "0.3", "--slope", "0.02"}));
    // Under the wave list, the exceedance: each curve named, coloured and
    // dashed its own way.
    ASSERT_EQ(stats->shownPlots().size(), 3u);
    const CResultPlot& exceedance = *stats->shownPlots()[2];
    EXPECT_EQ(exceedance.axes().xTitle, "H (m)");
    ASSERT_EQ(exceedance.curves().size(), 3u);
    EXPECT_EQ(curveNames(exceedance),
              QStringList({"Measured", "Rayleigh", QString::fromUtf8("Battjes\u2013Groenendijk")}));
    expectCurvesApart(exceedance);
    const QStringList texts = paintedTexts(exceedance, QSize(1000, 400));
    for (const QString& name : curveNames(exceedance))
        EXPECT_TRUE(texts.contains(name)) << name.toStdString();
    // The plots share the window's height.
    int heights = 0;
    for (const CResultPlot* p : stats->shownPlots())
        heights += p->height();
    EXPECT_LE(heights, stats->hwnd->height());
    EXPECT_GT(exceedance.height(), 0);
    // Recalculated in deep water: the Weibull curve goes.
    dialogScript::pushDialog([](ScriptedDialog& d) {
        d.setText(IDC_WAVE_DEPTH, "0");
        d.press(IDOK);
    });
    stats->OnCommand(CMD_RECALCULATE, 0);
    settle();
    EXPECT_EQ(curveNames(*stats->shownPlots()[2]), QStringList({"Measured", "Rayleigh"}));
    expectTableEquals(stats, STATISTICS_KEYS,
                      batchJson({"waves", "--channel", "1", "--from", "1000", "--to", "4040"}));
    frame->frameCommand(CMD_CLOSE_WINDOW, 0);
    settle();
    auto* spectrum = run(CMD_SPECTRUM, [](ScriptedDialog&) {});
    ASSERT_NE(spectrum, nullptr);
    EXPECT_EQ(spectrum->shownPlots().size(), 1u);
}

TEST_F(WaveWindowsTest, NoiseWarningShowsUnderTheTableUntilTheSuggestedFmaxIsUsed) {
    // The sample's gauges hold 0.8 mm of noise: up to Nyquist its floor
    // shortens Tm02 of the 1.6 s waves, as ondarix-batch warns too.
    ASSERT_NE(openSample(1000, 4040), nullptr);
    auto* spectrum = run(CMD_SPECTRUM, [](ScriptedDialog&) {});
    ASSERT_NE(spectrum, nullptr);
    ASSERT_NE(spectrum->hint, nullptr);
    EXPECT_FALSE(spectrum->hint->isHidden());
    const std::string shown = spectrum->hint->text().toStdString();
    const CommandResult batch =
        runBatch({"spectrum", SAMPLE_FILE, "--channel", "1", "--from", "1000", "--to", "4040"});
    const size_t at = batch.out.find("try --fmax ");
    ASSERT_NE(at, std::string::npos) << batch.out;
    const std::string value = batch.out.substr(at + 11, batch.out.find('\n', at) - at - 11);
    EXPECT_NE(shown.find("try fmax [Hz] " + value + "."), std::string::npos) << shown;
    // Above the table's last row, not over it.
    EXPECT_LE(spectrum->table->geometry().bottom(), spectrum->hint->geometry().top());

    frame->frameCommand(CMD_CLOSE_WINDOW, 0);
    settle();
    auto* cut = run(CMD_SPECTRUM, [&](ScriptedDialog& d) {
        d.setText(IDC_WAVE_FMAX, QString::fromStdString(value));
    });
    ASSERT_NE(cut, nullptr);
    EXPECT_TRUE(cut->hint->isHidden()) << cut->hint->text().toStdString();
}

// The new result window keeps the keyboard: were the focus to go back to the
// measurement it was run on, that window would come back to the front over it.
TEST_F(WaveWindowsTest, TheResultWindowTakesTheFocusFromItsMeasurement) {
    CMeasureWnd* sample = openSample(1000, 3000);
    ASSERT_NE(sample, nullptr);
    sample->view->hwnd->setFocus();
    settle();
    CWaveResultWnd* w = run(CMD_SPECTRUM, [](ScriptedDialog&) {});
    ASSERT_NE(w, nullptr);
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    EXPECT_TRUE(w->hwnd->isAncestorOf(focused)) << focused->metaObject()->className();
}
