// What a user reads in the result windows: at a large and at a tiled size
// every text painted in a plot stands clear of the others and inside its
// plot, the axes are titled with quantity and unit once, and tick labels
// are bare numbers (the waves counted in whole numbers).
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "analysis/ui/analysis_dialog_templates.h"
#include "frame_test_support.h"
#include "shell/dialog_templates.h"
#include "view/ui/measure_view.h"
#include "view/ui/result_plot.h"
#include "waves/ui/wave_dialog_templates.h"
#include "waves/ui/wave_result_wnd.h"

namespace {

PlotTextLog paintedLog(const CResultPlot& plot) {
    QImage image(plot.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    PlotTextLog log;
    plot.paint(painter, plot.size(), &log);
    return log;
}

bool isNumber(const QString& text) {
    const std::string s = text.toStdString();
    char* end = nullptr;
    std::strtod(s.c_str(), &end);
    return !s.empty() && end == s.c_str() + s.size();
}

std::string described(const std::pair<QRect, QString>& t) {
    const QRect& r = t.first;
    return "\"" + t.second.toStdString() + "\" at " + std::to_string(r.x()) + "," +
           std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

// Each shown plot of `w` sized for a client of `size`: no two texts touch,
// every text inside its plot.
void expectTextsApart(CWaveResultWnd* w, QSize size) {
    w->hwnd->resize(size);
    w->OnSize(0, size.width(), size.height());
    ASSERT_FALSE(w->shownPlots().empty());
    for (const CResultPlot* plot : w->shownPlots()) {
        const PlotTextLog log = paintedLog(*plot);
        const QRect inside(QPoint(0, 0), plot->size());
        // A plot a few lines high still says what its x axis is, if cut short.
        if (plot->height() >= 80) {
            const QString start = plot->axes().xTitle.left(2);
            EXPECT_TRUE(std::any_of(log.begin(), log.end(),
                                    [&](const auto& t) { return t.second.startsWith(start); }))
                << plot->axes().xTitle.toStdString() << " in " << size.width() << "x"
                << size.height();
        }
        for (size_t i = 0; i < log.size(); ++i) {
            EXPECT_TRUE(inside.contains(log[i].first)) << described(log[i]);
            for (size_t j = i + 1; j < log.size(); ++j)
                EXPECT_FALSE(log[i].first.intersects(log[j].first))
                    << described(log[i]) << " and " << described(log[j]) << " in " << size.width()
                    << "x" << size.height();
        }
    }
}

// At full size: both axis titles and every legend name are there once, and
// every other text is a number.
void expectTitledAxesAndBareTicks(CWaveResultWnd* w) {
    w->hwnd->resize(1600, 1000);
    w->OnSize(0, 1600, 1000);
    for (const CResultPlot* plot : w->shownPlots()) {
        QStringList names{plot->axes().xTitle, plot->axes().yTitle};
        if (plot->curves().size() + plot->bands().size() > 1) {
            for (const PlotCurve& c : plot->curves())
                names << c.name;
            for (const PlotBand& b : plot->bands())
                names << b.name;
        }
        int numbers = 0;
        QStringList texts;
        for (const auto& [rect, text] : paintedLog(*plot)) {
            texts << text;
            if (isNumber(text))
                ++numbers;
            else
                EXPECT_TRUE(names.contains(text)) << text.toStdString();
        }
        for (const QString& name : names)
            EXPECT_EQ(texts.count(name), 1) << name.toStdString();
        EXPECT_GE(numbers, 6) << plot->axes().yTitle.toStdString();
    }
}

} // namespace

class ResultPlotTextsTest : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        dialogScript::pushFile(SAMPLE_FILE, 1);
        frame->frameCommand(CMD_OPEN, 0);
        settle();
        auto* source = dynamic_cast<CMeasureWnd*>(frame->activeChild());
        ASSERT_NE(source, nullptr);
        source->view->SetBlock(1, 1000, 4040);
    }
    CWaveResultWnd* run(int command, std::function<void(ScriptedDialog&)> fill) {
        dialogScript::pushDialog([fill](ScriptedDialog& d) {
            fill(d);
            d.press(IDOK);
        });
        frame->frameCommand(command, 0);
        settle();
        return dynamic_cast<CWaveResultWnd*>(frame->activeChild());
    }
    void expectReadable(CWaveResultWnd* w) {
        ASSERT_NE(w, nullptr);
        expectTitledAxesAndBareTicks(w);
        for (QSize size : {QSize(1600, 1000), QSize(320, 240), QSize(300, 700), QSize(640, 400)})
            expectTextsApart(w, size);
        frame->frameCommand(CMD_CLOSE_WINDOW, 0);
        settle();
    }
};

TEST_F(ResultPlotTextsTest, WaveStatisticsWithItsExceedance) {
    expectReadable(run(CMD_WAVE_STATISTICS, [](ScriptedDialog& d) {
        d.setText(IDC_WAVE_DEPTH, "0.3");
        d.setText(IDC_WAVE_SLOPE, "0.02");
    }));
}

TEST_F(ResultPlotTextsTest, SpectrumWithItsBand) {
    expectReadable(
        run(CMD_SPECTRUM, [](ScriptedDialog& d) { d.setText(IDC_WAVE_SEGMENT, "800"); }));
}

TEST_F(ResultPlotTextsTest, Reflection) {
    expectReadable(run(CMD_REFLECTION, [](ScriptedDialog& d) {
        d.setText(IDC_WAVE_POSITIONS, "4, 8, 12");
        d.setText(IDC_WAVE_DEPTH, "0.77");
    }));
}

// Waves are counted: the wave axis never shows a fraction, however few.
TEST_F(ResultPlotTextsTest, TheWaveAxisCountsInWholeNumbers) {
    CWaveResultWnd* w = run(CMD_WAVE_STATISTICS, [](ScriptedDialog& d) {
        d.setText(IDC_RUN_FROM, "1000");
        d.setText(IDC_RUN_TO, "1500");
    });
    ASSERT_NE(w, nullptr);
    w->hwnd->resize(1600, 1000);
    w->OnSize(0, 1600, 1000);
    const CResultPlot& heights = *w->shownPlots()[0];
    ASSERT_EQ(heights.axes().xTitle, "Wave");
    ASSERT_LT(heights.curves()[0].x.size(), 10u);
    // The x labels sit in the row under the plot, above the axis title.
    const PlotTextLog log = paintedLog(heights);
    int bottomRow = 0;
    for (const auto& [rect, text] : log)
        if (text == "Wave") bottomRow = rect.top();
    int counted = 0;
    for (const auto& [rect, text] : log)
        if (isNumber(text) && rect.bottom() < bottomRow &&
            rect.bottom() >= bottomRow - rect.height()) {
            ++counted;
            EXPECT_FALSE(text.contains('.')) << text.toStdString();
        }
    EXPECT_GE(counted, 2);
}
