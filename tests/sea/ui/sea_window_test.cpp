// Generate -> Irregular sea...: the dialog's fields and refusals, the window
// it opens (the drive the core makes for the same parameters, the target
// spectrum, the report), Save as .M11 and Recalculate.
#include <gtest/gtest.h>

#include <QImage>
#include <QMdiSubWindow>
#include <QPainter>
#include <QScrollBar>
#include <QTableWidget>

#include <string>

#include "frame_test_support.h"
#include "measure/m11_format.h"
#include "sea/ui/sea_dialog_templates.h"
#include "sea/ui/sea_wnd.h"
#include "shell/command_ids.h"
#include "shell/dialog_templates.h"
#include "support/temp_dir.h"
#include "view/ui/measure_view.h"
#include "view/ui/result_plot.h"

namespace {

// Two minutes at 20 Hz: quick, and long enough for the band.
void shortSea(ScriptedDialog& d, const char* seed) {
    d.setText(IDC_SEA_DURATION, "120");
    d.setText(IDC_SEA_TIME_STEP, "0.05");
    d.setText(IDC_SEA_SEED, seed);
}

SeaParameters shortSeaParameters(uint64_t seed) {
    SeaParameters p;
    p.duration = 120;
    p.dt = 0.05;
    p.seed = seed;
    return p;
}

QString reportValue(const CSeaWnd& w, const QString& label) {
    for (int row = 0; row < w.table->rowCount(); ++row)
        if (w.table->item(row, 0)->text() == label) return w.table->item(row, 1)->text();
    return QString();
}

} // namespace

class SeaWindowTest : public FrameTest {
  protected:
    CSeaWnd* make(const dialogScript::DialogStep& step) {
        dialogScript::pushDialog(step);
        frame->frameCommand(CMD_IRREGULAR_SEA, 0);
        settle();
        return dynamic_cast<CSeaWnd*>(frame->activeChild());
    }
    TempDir dir;
};

TEST_F(SeaWindowTest, ShowsTheCoresDriveWithItsSeaAndTargetAndSavesTheM11) {
    CSeaWnd* w = make([](ScriptedDialog& d) {
        EXPECT_EQ(d.title(), "Irregular Sea");
        shortSea(d, "7");
        d.press(IDOK);
    });
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->title(), "Irregular sea drive*"); // not saved yet
    SeaDrive expected;
    ASSERT_TRUE(synthesiseSea(shortSeaParameters(7), expected, nullptr));
    const CMeasure& m = *w->measure;
    ASSERT_EQ(m.channelCount, 3);
    EXPECT_EQ(w->view->channels_per_screen, 3); // the drive and its sea together
    ASSERT_EQ(m.sampleCount, 2400);
    EXPECT_DOUBLE_EQ(m.sampleRate, 20.0);
    for (int32_t i = 0; i < m.sampleCount; i += 37) {
        ASSERT_EQ(m.value(0, i), float(expected.displacement[size_t(i)])) << i;
        ASSERT_EQ(m.value(2, i), float(expected.elevation[size_t(i)])) << i;
    }
    // The target beside it: X in Hz, its peak at fp.
    ASSERT_NE(w->spectrum, nullptr);
    ASSERT_EQ(w->spectrumPlot->curves().size(), 1u);
    EXPECT_EQ(w->spectrumPlot->curves()[0].x.size(), size_t(w->spectrum->sampleCount));
    EXPECT_EQ(w->spectrumPlot->axes().xTitle, "Frequency (Hz)");
    int32_t peak = 0;
    for (int32_t j = 0; j < w->spectrum->sampleCount; ++j)
        if (w->spectrum->value(0, j) > w->spectrum->value(0, peak)) peak = j;
    EXPECT_NEAR(peak / w->spectrum->sampleRate, 1 / 1.6, 1 / 120.0);
    EXPECT_EQ(reportValue(*w, "Hm0 target"), "0.1 m");
    EXPECT_FALSE(reportValue(*w, "largest stroke").isEmpty());

    // Save as .M11: the synthesiser's file of the displacement.
    const std::string path = dir.file("drive.M11");
    dialogScript::pushFile(QString::fromStdString(path), 1);
    frame->frameCommand(CMD_SAVE_AS, 0);
    CMeasure saved;
    ASSERT_EQ(readM11(saved, path.c_str()), 0);
    ASSERT_EQ(saved.sampleCount, 2400);
    for (int32_t i = 0; i < saved.sampleCount; i += 41)
        ASSERT_NEAR(saved.value(0, i), m.value(0, i), 1e-6) << i;
}

// At 1280 x 800 the drive's three strips and the target are all in view,
// one above the other, and the whole report beside them: its last rows
// (stroke, displacement, velocity) had been below the table's fold.
TEST_F(SeaWindowTest, StripsTargetAndWholeReportShowWithoutScrolling) {
    CSeaWnd* w = make([](ScriptedDialog& d) {
        shortSea(d, "7");
        d.press(IDOK);
    });
    ASSERT_NE(w, nullptr);
    w->subWindow()->showNormal();
    w->subWindow()->resize(1280, 800);
    settle();
    const QRect client = w->hwnd->rect();
    ASSERT_GE(client.height(), 700);
    const QRect drive = w->view->hwnd->geometry(), target = w->spectrumPlot->geometry(),
                table = w->table->geometry();
    EXPECT_TRUE(w->spectrumPlot->isVisibleTo(w->hwnd));
    for (const QRect& r : {drive, target, table})
        EXPECT_TRUE(client.contains(r))
            << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    EXPECT_FALSE(drive.intersects(target));
    EXPECT_FALSE(drive.intersects(table));
    EXPECT_FALSE(target.intersects(table));
    EXPECT_LE(drive.bottom(), target.top());    // the target under the strips
    EXPECT_LE(target.right(), table.left());    // the report beside both
    EXPECT_EQ(w->view->channels_per_screen, 3); // every strip in the view's height
    EXPECT_GE(target.height(), 200);
    const int shown = w->table->rowAt(w->table->viewport()->height() - 1);
    EXPECT_TRUE(shown == -1 || shown == w->table->rowCount() - 1)
        << "rows in view: " << shown << " of " << w->table->rowCount();
    EXPECT_EQ(w->table->verticalScrollBar()->maximum(), 0);
    // The target's texts stand apart, its axes titled.
    QImage image(target.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    PlotTextLog log;
    w->spectrumPlot->paint(painter, target.size(), &log);
    QStringList texts;
    for (size_t i = 0; i < log.size(); ++i) {
        texts << log[i].second;
        for (size_t j = i + 1; j < log.size(); ++j)
            EXPECT_FALSE(log[i].first.intersects(log[j].first))
                << log[i].second.toStdString() << " / " << log[j].second.toStdString();
    }
    EXPECT_TRUE(texts.contains("Frequency (Hz)"));
    EXPECT_GE(texts.size(), 6);
}

// A drive is only in its window until saved: it used to go unasked with the
// window or the program.
TEST_F(SeaWindowTest, ANewDriveIsAskedForOnCloseUntilSaved) {
    CSeaWnd* w = make([](ScriptedDialog& d) {
        shortSea(d, "3");
        d.press(IDOK);
    });
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isModified());
    EXPECT_EQ(w->title(), "Irregular sea drive*");
    EXPECT_FALSE(frame->close()); // unscripted: Cancel
    dialogScript::pushSaveChoice(SaveChoice::Cancel);
    w->subWindow()->close();
    settle();
    EXPECT_EQ(dialogScript::questions(), QStringList(2, "Save changes to Irregular sea drive?"));
    ASSERT_EQ(frame->children().size(), 1);

    // Save writes it through Save as; the window then goes unasked.
    const std::string path = dir.file("drive.M11");
    dialogScript::pushSaveChoice(SaveChoice::Save);
    dialogScript::pushFile(QString::fromStdString(path), 1);
    w->subWindow()->close();
    settle();
    EXPECT_TRUE(frame->children().isEmpty());
    CMeasure saved;
    EXPECT_EQ(readM11(saved, path.c_str()), 0);
    EXPECT_EQ(dialogScript::questions().size(), 3);
}

TEST_F(SeaWindowTest, FieldsFollowTheChoicesAndWrongValuesKeepTheDialogOpen) {
    bool gammaForPm = true, hingeForPiston = true, hingeForFlap = false, tableForJonswap = true;
    QStringList hints;
    CSeaWnd* w = make([&](ScriptedDialog& d) {
        tableForJonswap = d.control(IDC_SEA_TABLE)->isEnabled();
        hingeForPiston = d.control(IDC_SEA_HINGE)->isEnabled();
        d.selectItem(IDC_SEA_SPECTRUM, 1);
        gammaForPm = d.control(IDC_SEA_GAMMA)->isEnabled();
        d.selectItem(IDC_SEA_SPECTRUM, 0);
        d.selectItem(IDC_SEA_PADDLE, 1);
        hingeForFlap = d.control(IDC_SEA_HINGE)->isEnabled();
        shortSea(d, "1");
        auto refused = [&](int id, const char* text) {
            const QString before = d.text(id);
            d.setText(id, text);
            d.press(IDOK);
            if (!d.ended()) hints << d.hint();
            d.setText(id, before);
        };
        refused(IDC_SEA_HM0, "0");
        refused(IDC_SEA_DEPTH, "-1");
        refused(IDC_SEA_HINGE, "0.7");
        refused(IDC_SEA_TP, "many");
        refused(IDC_SEA_SEED, "-3");
        refused(IDC_SEA_MAX_STROKE, "0.001");
        d.selectItem(IDC_SEA_SPECTRUM, 3);
        d.press(IDOK);
        if (!d.ended()) hints << d.hint();
        d.press(IDCANCEL);
    });
    EXPECT_EQ(w, nullptr);
    EXPECT_FALSE(tableForJonswap);
    EXPECT_FALSE(hingeForPiston);
    EXPECT_FALSE(gammaForPm);
    EXPECT_TRUE(hingeForFlap);
    ASSERT_EQ(hints.size(), 7) << hints.join(" | ").toStdString();
    EXPECT_TRUE(hints[0].startsWith("Hm0 must be")) << hints[0].toStdString();
    EXPECT_TRUE(hints[1].contains("depth")) << hints[1].toStdString();
    EXPECT_TRUE(hints[2].contains("hinge")) << hints[2].toStdString();
    EXPECT_EQ(hints[3], "Enter a number.");
    EXPECT_TRUE(hints[4].startsWith("Enter a whole number")) << hints[4].toStdString();
    EXPECT_TRUE(hints[5].contains("stroke")) << hints[5].toStdString();
    EXPECT_TRUE(hints[6].contains("file")) << hints[6].toStdString();
}

TEST_F(SeaWindowTest, ATableChosenWithBrowseAndRecalculateOnTheWindowsOwnParameters) {
    const std::string table = dir.file("target.txt");
    writeString(table, "f [Hz]\tS [m^2/Hz]\n0.3\t0\n0.6\t0.004\n0.9\t0.001\n1.5\t0\n");
    dialogScript::pushFile(QString::fromStdString(table), 1);
    CSeaWnd* w = make([](ScriptedDialog& d) {
        shortSea(d, "3");
        d.selectItem(IDC_SEA_SPECTRUM, 3);
        d.press(IDC_SEA_BROWSE);
        d.setText(IDC_SEA_TP, "1.6667");
        d.press(IDOK);
    });
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parameters.spectrum, SpectrumShape::Table);
    EXPECT_EQ(w->tablePath, table);
    EXPECT_EQ(reportValue(*w, "spectrum"), "table");
    const float before = w->measure->value(0, 1200);

    // Recalculate shows this window's parameters and table; a new seed
    // makes a new drive of the same sea.
    QString seedShown, tableShown;
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        seedShown = d.text(IDC_SEA_SEED);
        tableShown = d.text(IDC_SEA_TABLE);
        d.setText(IDC_SEA_SEED, "4");
        d.press(IDOK);
    });
    frame->frameCommand(CMD_RECALCULATE, 0);
    settle();
    EXPECT_EQ(seedShown, "3");
    EXPECT_EQ(tableShown.toStdString(), table);
    EXPECT_EQ(w->parameters.seed, 4u);
    EXPECT_NE(w->measure->value(0, 1200), before);
    EXPECT_EQ(reportValue(*w, "seed"), "4");
}

// The wave list switches the dialog between a random sea, a focused group
// (its focus fields on, seed and method off) and a solitary wave (no
// spectrum), and each makes the drive the core makes for it.
TEST_F(SeaWindowTest, AFocusedGroupAndASolitaryWaveFromTheWaveList) {
    bool seedForFocus = true, focusForRandom = true, spectrumForSolitary = true;
    bool sigmaForJonswap = true, sigmaForSwell = false, gammaForSwell = true;
    QString flapHint;
    CSeaWnd* focused = make([&](ScriptedDialog& d) {
        focusForRandom = d.control(IDC_SEA_FOCUS_TIME)->isEnabled();
        sigmaForJonswap = d.control(IDC_SEA_SIGMA)->isEnabled();
        d.selectItem(IDC_SEA_SPECTRUM, 5);
        sigmaForSwell = d.control(IDC_SEA_SIGMA)->isEnabled();
        gammaForSwell = d.control(IDC_SEA_GAMMA)->isEnabled();
        d.selectItem(IDC_SEA_SPECTRUM, 0);
        shortSea(d, "1");
        d.selectItem(IDC_SEA_WAVE, 3);
        seedForFocus = d.control(IDC_SEA_SEED)->isEnabled();
        d.setText(IDC_SEA_FOCUS_DISTANCE, "5");
        d.press(IDOK);
    });
    ASSERT_NE(focused, nullptr);
    EXPECT_FALSE(focusForRandom);
    EXPECT_FALSE(sigmaForJonswap);
    EXPECT_TRUE(sigmaForSwell);
    EXPECT_FALSE(gammaForSwell);
    EXPECT_FALSE(seedForFocus);
    SeaParameters p = shortSeaParameters(1);
    p.focused = true;
    p.focusTime = 60; // blank: the middle of the drive
    p.focusDistance = 5;
    SeaDrive expected;
    ASSERT_TRUE(synthesiseSea(p, expected, nullptr));
    EXPECT_EQ(reportValue(*focused, "crest at focus"),
              QString::number(expected.report.focusCrest, 'g', 6) + " m");
    EXPECT_EQ(reportValue(*focused, "focus time"), "60 s");

    CSeaWnd* solitary = make([&](ScriptedDialog& d) {
        d.selectItem(IDC_SEA_WAVE, 4);
        spectrumForSolitary = d.control(IDC_SEA_HM0)->isEnabled();
        d.setText(IDC_SEA_DURATION, "20");
        d.setText(IDC_SEA_DEPTH, "0.4");
        d.setText(IDC_SEA_SOLITARY, "0.1");
        d.selectItem(IDC_SEA_PADDLE, 1);
        d.press(IDOK);
        if (!d.ended()) flapHint = d.hint();
        d.selectItem(IDC_SEA_PADDLE, 0);
        d.press(IDOK);
    });
    ASSERT_NE(solitary, nullptr);
    EXPECT_FALSE(spectrumForSolitary);
    EXPECT_EQ(flapHint, "A solitary wave is made by a piston, not a flap.");
    EXPECT_EQ(reportValue(*solitary, "solitary wave height"), "0.1 m");
}

TEST_F(SeaWindowTest, ASecondOrderBichromaticGroupIsNamedAndReportedAsOne) {
    QString equalHint;
    CSeaWnd* group = make([&](ScriptedDialog& d) {
        d.selectItem(IDC_SEA_WAVE, 2);
        d.selectItem(IDC_SEA_ORDER, 1);
        d.setText(IDC_SEA_DURATION, "120");
        d.setText(IDC_SEA_WAVE_HEIGHT, "0.04");
        d.setText(IDC_SEA_WAVE_PERIOD, "1.2");
        d.setText(IDC_SEA_SECOND_HEIGHT, "0.04");
        d.setText(IDC_SEA_SECOND_PERIOD, "1.2");
        d.press(IDOK);
        if (!d.ended()) equalHint = d.hint();
        d.setText(IDC_SEA_SECOND_PERIOD, "1.4");
        d.press(IDOK);
    });
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(equalHint, "The two waves of a bichromatic group need different periods: with "
                         "equal ones they are one regular wave.");
    EXPECT_EQ(group->title(), "Bichromatic wave drive*");
    EXPECT_EQ(reportValue(*group, "spectrum"), "bichromatic");
    EXPECT_EQ(reportValue(*group, "order"), "2");
    EXPECT_EQ(reportValue(*group, "harmonics"), "sub+super");
}
