// "Measure configuration", "Channel configuration" and "Statistic" through
// the frame: what they show, what reaches the measurement (and a saved .INT),
// and what Cancel, a refused field and a name without a Windows-1250 form leave.
#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QToolBar>

#include <matio.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "frame_test_support.h"
#include "measure/csv_format.h"
#include "measure/int_format.h"
#include "measure/ui/measure_dialog_templates.h"
#include "shell/dialog_templates.h"
#include "shell/ui/menu_builder.h"
#include "support/temp_dir.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"

namespace {

// "Prędkość" as UTF-8 (how it is typed) and as Windows-1250 (how it is kept).
const char* const TYPED = "Pr\xC4\x99"
                          "dko\xC5\x9B\xC4\x87";
const char* const KEPT = "Pr\xEA"
                         "dko\x9C\xE6";

QStringList rowTexts(const QTableWidget* list, int row) {
    QStringList texts;
    for (int c = 0; c < list->columnCount(); ++c)
        texts << list->item(row, c)->text();
    return texts;
}

// A gauge held 8 s at each of the levels -0.1, -0.05, 0, 0.05 and 0.1
// (moves of 3 s between) at 50 Hz and read (level + 0.3) / 0.0001 with noise.
std::vector<double> gaugeReadings() {
    const double levels[] = {-0.1, -0.05, 0.0, 0.05, 0.1};
    std::vector<double> track;
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 400; ++j)
            track.push_back(levels[i]);
        for (int j = 0; i < 4 && j < 150; ++j)
            track.push_back(levels[i] + 0.05 * j / 150.0);
    }
    uint32_t noise = 1;
    for (double& value : track) {
        noise = noise * 1664525u + 1013904223u;
        const double wobble = 6.0 * (double(noise >> 8) / double(1u << 24) - 0.5);
        value = (value + 0.3) / 0.0001 + wobble;
    }
    return track;
}

// A record whose channel 2 is those readings; channels 0 and 1 stay 0.
void writeCalibrationRecord(const std::string& path) {
    const std::vector<double> readings = gaugeReadings();
    std::unique_ptr<CMeasure> record(makeMeasure(3, int32_t(readings.size()), 50.0));
    for (size_t j = 0; j < readings.size(); ++j) {
        record->setSample(0, int32_t(j), Sample{0.0f, 0.0f});
        record->setSample(1, int32_t(j), Sample{0.0f, 0.0f});
        record->setSample(2, int32_t(j), Sample{float(readings[j]), 0.0f});
    }
    ASSERT_TRUE(writeInt(*record, path.c_str()));
}

} // namespace

class MeasureDialogsTest : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        window = openMeasureWindow(*frame, makeMeasure(3, 200, 50.0));
        measure = window->measure.get();
        setChannelInfo(measure->channels[2], 0.5, -1.25, "cm", "flap");
        settle();
    }
    // Edits channel `row` in "Channel configuration" from the outer dialog.
    static void editChannel(ScriptedDialog& outer, int row, const dialogScript::DialogStep& inner) {
        dialogScript::pushDialog(inner);
        outer.selectRow(IDC_MEASURE_LIST, row);
        outer.press(IDC_MEASURE_EDIT);
    }
    CMeasureWnd* window = nullptr;
    CMeasure* measure = nullptr;
    TempDir dir;
};

TEST_F(MeasureDialogsTest, InfoShowsTheHeaderAndOneRowPerChannel) {
    QString name, rate, channels, length, date;
    QStringList row2, headers;
    int selected = -1, rows = 0;
    std::vector<int> widths;
    bool coefficientRight = false;
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        EXPECT_EQ(d.title(), "Measure configuration");
        name = d.text(IDC_MEASURE_NAME);
        rate = d.text(IDC_MEASURE_RATE);
        channels = d.text(IDC_MEASURE_CHANNELS);
        length = d.text(IDC_MEASURE_LENGTH);
        date = d.text(IDC_MEASURE_DATE);
        auto* list = qobject_cast<QTableWidget*>(d.control(IDC_MEASURE_LIST));
        rows = list->rowCount();
        row2 = rowTexts(list, 2);
        for (int c = 0; c < list->columnCount(); ++c) {
            headers << list->horizontalHeaderItem(c)->text();
            widths.push_back(list->columnWidth(c));
        }
        coefficientRight = list->item(2, 2)->textAlignment() & Qt::AlignRight;
        selected = list->selectionModel()->selectedRows().value(0).row();
        d.press(IDCANCEL);
    });
    // The toolbar's third button is "Info", as the menu item.
    QAction* info = nullptr;
    for (QAction* a : frame->frameToolBar()->actions())
        if (commandIdOf(a) == CMD_INFO) info = a;
    ASSERT_NE(info, nullptr);
    info->trigger();
    EXPECT_EQ(name, "test");
    EXPECT_EQ(rate, "   50.0000"); // "%10.4f"
    EXPECT_EQ(channels, "3");
    EXPECT_EQ(length, "200");
    EXPECT_EQ(date, "1980-00-00 at 00:00:00"); // date 0
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(row2, QStringList({"flap", "cm", "0.50000000", "-1.25000000"}));
    EXPECT_EQ(headers, QStringList({"Name", "Unit", "Coefficient", "Constant"}));
    EXPECT_EQ(widths, std::vector<int>({300, 60, 90, 90}));
    EXPECT_TRUE(coefficientRight);
    EXPECT_EQ(selected, 0);
}

// A renamed channel shows in its row at once, reaches the measurement on OK
// in Windows-1250, and comes back from a saved .INT as the same bytes.
TEST_F(MeasureDialogsTest, ChannelEditReachesTheMeasurementAndASavedFile) {
    QString rowAfterEdit;
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        editChannel(d, 1, [](ScriptedDialog& c) {
            EXPECT_EQ(c.title(), "Channel configuration");
            EXPECT_EQ(c.text(IDC_CHANNEL_COEFFICIENT), "1.00000000");
            c.setText(IDC_CHANNEL_NAME, QString::fromUtf8(TYPED));
            c.setText(IDC_CHANNEL_UNIT, "m/s");
            c.setText(IDC_CHANNEL_COEFFICIENT, "2");
            c.press(IDOK);
        });
        rowAfterEdit = qobject_cast<QTableWidget*>(d.control(IDC_MEASURE_LIST))->item(1, 0)->text();
        d.setText(IDC_MEASURE_NAME, "flume run 12");
        d.setText(IDC_MEASURE_RATE, "100");
        d.press(IDOK);
    });
    frame->frameCommand(CMD_INFO, 0);
    EXPECT_EQ(rowAfterEdit, QString::fromUtf8(TYPED));
    EXPECT_STREQ(measure->channels[1].name, KEPT);
    EXPECT_STREQ(measure->channels[1].unit, "m/s");
    EXPECT_EQ(measure->channels[1].coefficient, 2.0);
    EXPECT_STREQ(measure->name, "flume run 12");
    EXPECT_EQ(measure->sampleRate, 100.0);
    // The samples are untouched: float layouts are not scaled.
    EXPECT_FLOAT_EQ(measure->value(1, 7), 1007.0f);

    const std::string path = dir.file("renamed.INT");
    ASSERT_TRUE(writeInt(*measure, path.c_str()));
    CMeasure back;
    ASSERT_TRUE(readInt(back, path.c_str()));
    EXPECT_STREQ(back.channels[1].name, KEPT);
    EXPECT_EQ(std::strlen(back.channels[1].name), 8u); // one byte a letter
    EXPECT_FLOAT_EQ(back.value(1, 7), 1007.0f);
}

TEST_F(MeasureDialogsTest, CancelDropsChannelEditsAndRefusedFieldsChangeNothing) {
    ChannelInfo before = measure->channels[0];
    // A channel edit confirmed, then the outer dialog cancelled.
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        editChannel(d, 0, [](ScriptedDialog& c) {
            c.setText(IDC_CHANNEL_NAME, "renamed");
            c.press(IDOK);
        });
        d.press(IDCANCEL);
    });
    frame->frameCommand(CMD_INFO, 0);
    EXPECT_STREQ(measure->channels[0].name, before.name);

    // Fields OK cannot take keep their dialog open, on the field.
    struct Case {
        bool inner;
        int field;
        const char* text;
        const char* hint;
    } cases[] = {
        {true, IDC_CHANNEL_NAME, "\xE6\xB3\xA2 gauge", "Windows-1250"}, // a CJK letter
        {true, IDC_CHANNEL_UNIT, "\xE2\x84\x83", "Windows-1250"},       // the degree Celsius sign
        {true, IDC_CHANNEL_COEFFICIENT, "-1", "from 0 to 999999"},
        {true, IDC_CHANNEL_CONSTANT, "1e7", "from -999999 to 999999"},
        {false, IDC_MEASURE_RATE, "fast", "from 0 to 999999"},
        {false, IDC_MEASURE_NAME, "\xE2\x88\x9E", "Windows-1250"}, // infinity
    };
    for (const Case& c : cases) {
        bool open = false;
        int focus = 0;
        QString hint;
        auto probe = [&](ScriptedDialog& dialog) {
            dialog.setText(c.field, QString::fromUtf8(c.text));
            dialog.press(IDOK);
            open = !dialog.ended();
            focus = dialog.focusedControl();
            hint = dialog.hint();
        };
        dialogScript::pushDialog([&](ScriptedDialog& d) {
            if (c.inner)
                editChannel(d, 0, probe);
            else
                probe(d);
            d.press(IDOK);
        });
        frame->frameCommand(CMD_INFO, 0);
        EXPECT_TRUE(open) << c.text;
        EXPECT_EQ(focus, c.field) << c.text;
        EXPECT_TRUE(hint.contains(c.hint)) << hint.toStdString();
    }
    EXPECT_EQ(std::memcmp(&measure->channels[0], &before, sizeof before), 0);
    EXPECT_EQ(measure->sampleRate, 50.0);
    EXPECT_STREQ(measure->name, "test");
}

TEST_F(MeasureDialogsTest, NameFieldsTakeTheirLimitInCharacters) {
    int nameLimit = 0, unitLimit = 0;
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        editChannel(d, 0, [&](ScriptedDialog& c) {
            nameLimit = qobject_cast<QLineEdit*>(c.control(IDC_CHANNEL_NAME))->maxLength();
            unitLimit = qobject_cast<QLineEdit*>(c.control(IDC_CHANNEL_UNIT))->maxLength();
            // Forty Polish letters: 80 bytes of UTF-8, 40 bytes in the file.
            QString forty;
            for (int i = 0; i < 40; ++i)
                forty += QChar(0x0142); // ł
            c.setText(IDC_CHANNEL_NAME, forty);
            c.press(IDOK);
        });
        d.press(IDOK);
    });
    frame->frameCommand(CMD_INFO, 0);
    EXPECT_EQ(nameLimit, 40);
    EXPECT_EQ(unitLimit, 7);
    EXPECT_EQ(std::strlen(measure->channels[0].name), 40u);
    EXPECT_EQ(static_cast<unsigned char>(measure->channels[0].name[39]), 0xB3); // ł
}

// Statistic of a block: nothing for an empty block, the values of a known
// signal, and a dash for what a short block cannot give.
TEST_F(MeasureDialogsTest, StatisticShowsTheBlockAndDashesWhatWasNotComputed) {
    int shown = 0;
    dialogScript::pushDialog([&](ScriptedDialog&) { ++shown; });
    window->view->SetBlock(1, 30, 30);
    frame->frameCommand(CMD_STATISTIC, 0);
    EXPECT_EQ(shown, 0);
    dialogScript::end();
    dialogScript::begin();

    // Channel 1 holds 1000 + j: rows 20 .. 23 are 1020 .. 1023.
    QString from, to, min, max, mean, dev, wave, period, freq;
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        EXPECT_EQ(d.title(), "Statistic");
        from = d.text(165);
        to = d.text(166);
        min = d.text(167);
        max = d.text(168);
        mean = d.text(170);
        dev = d.text(171);
        wave = d.text(178);
        period = d.text(175);
        freq = d.text(182);
        d.press(IDOK);
    });
    window->view->SetBlock(1, 24, 20); // backwards: the same rows
    frame->frameCommand(CMD_STATISTIC, 0);
    EXPECT_EQ(from, "24");
    EXPECT_EQ(to, "20");
    EXPECT_EQ(min, "1020.0000");
    EXPECT_EQ(max, "1023.0000");
    EXPECT_EQ(mean, "1021.5000");
    EXPECT_EQ(dev, "1.1180"); // sqrt(1.25), divisor n
    EXPECT_EQ(wave, "Wave (0)");
    EXPECT_EQ(period, "-"); // fewer than 10 samples: no wave analysis
    EXPECT_EQ(freq, "-");
}

// "Calibrate..." reads the record picked in the open dialog at the edited
// channel's number and puts the fit into the two fields, which OK keeps; a
// record that does not fit the levels leaves the fields and says why.
TEST_F(MeasureDialogsTest, CalibrateFillsCoefficientAndConstantFromARecord) {
    const std::string path = dir.file("cal.INT");
    writeCalibrationRecord(path);

    QString coefficient, constant, hint, refused, untouched;
    bool refusedInRed = false, fitInRed = true;
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        editChannel(d, 2, [&](ScriptedDialog& c) {
            c.setText(IDC_CHANNEL_LEVELS, "-0.1, -0.05, 0, 0.05, 0.1, 0.15");
            dialogScript::pushFile(QString::fromStdString(path), 1);
            c.press(IDC_CHANNEL_CALIBRATE);
            refused = c.hint();
            refusedInRed = c.hintLooksRefused();
            untouched = c.text(IDC_CHANNEL_COEFFICIENT);
            c.setText(IDC_CHANNEL_LEVELS, "-0.1, -0.05, 0, 0.05, 0.1");
            dialogScript::pushFile(QString::fromStdString(path), 1);
            c.press(IDC_CHANNEL_CALIBRATE);
            coefficient = c.text(IDC_CHANNEL_COEFFICIENT);
            constant = c.text(IDC_CHANNEL_CONSTANT);
            hint = c.hint();
            fitInRed = c.hintLooksRefused();
            c.press(IDOK);
        });
        d.press(IDOK);
    });
    frame->frameCommand(CMD_INFO, 0);
    EXPECT_EQ(refused, "Not calibrated: found 5 steady stretches for 6 levels.");
    EXPECT_EQ(untouched, "0.50000000");
    EXPECT_NEAR(coefficient.toDouble(), 0.0001, 0.005 * 0.0001) << coefficient.toStdString();
    EXPECT_NEAR(constant.toDouble(), -0.3, 0.005 * 0.3) << constant.toStdString();
    EXPECT_TRUE(hint.startsWith("Calibrated: r^2 ")) << hint.toStdString();
    EXPECT_TRUE(hint.contains("largest residual")) << hint.toStdString();
    // The record's dialog starts where any measurement file shows.
    const FileDialogRequest& request = dialogScript::fileRequests().last();
    EXPECT_TRUE(request.filters.value(request.startFilter - 1).startsWith("All measurements"));
    // The fit is news, not a refusal: only the refusal is red.
    EXPECT_TRUE(refusedInRed);
    EXPECT_FALSE(fitInRed);
    EXPECT_EQ(measure->channels[2].coefficient, coefficient.toDouble());
    EXPECT_EQ(measure->channels[2].constant, constant.toDouble());
}

// Calibrate... on a measurement opened from a .csv file scales the values the
// window plots, and Save as .csv writes those values with the comment that
// says how they came from the raw ones.
TEST_F(MeasureDialogsTest, CalibrateOnACsvChangesThePlotAndSaveAsWritesIt) {
    const std::string csv = dir.file("run.csv"), saved = dir.file("calibrated.csv");
    const std::string record = dir.file("cal.INT");
    std::unique_ptr<CMeasure> source(makeMeasure(3, 200, 50.0));
    ASSERT_TRUE(writeCsv(*source, csv.c_str()));
    writeCalibrationRecord(record);
    dialogScript::pushFile(QString::fromStdString(csv), 5);
    frame->frameCommand(CMD_OPEN, 0);
    settle();
    auto* opened = dynamic_cast<CMeasureWnd*>(frame->activeChild());
    ASSERT_TRUE(opened && opened != window);
    CMeasure* m = opened->measure.get();

    QString coefficient, constant;
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        editChannel(d, 2, [&](ScriptedDialog& c) {
            c.setText(IDC_CHANNEL_LEVELS, "-0.1, -0.05, 0, 0.05, 0.1");
            dialogScript::pushFile(QString::fromStdString(record), 1);
            c.press(IDC_CHANNEL_CALIBRATE);
            coefficient = c.text(IDC_CHANNEL_COEFFICIENT);
            constant = c.text(IDC_CHANNEL_CONSTANT);
            c.press(IDOK);
        });
        d.press(IDOK);
    });
    frame->frameCommand(CMD_INFO, 0);
    settle();
    const double k = coefficient.toDouble(), b = constant.toDouble();
    ASSERT_NEAR(k, 0.0001, 0.005 * 0.0001) << coefficient.toStdString();
    for (int32_t j : {0, 7, 199}) {
        EXPECT_FLOAT_EQ(m->value(2, j), float(k * (2000 + j) + b)) << j;
        EXPECT_FLOAT_EQ(m->value(1, j), float(1000 + j)) << j;
    }
    // The plot's value axis follows: it reaches down to about -0.1 m, and
    // no longer up to the raw 2199 (channel 1, of the same unit, shares the
    // scale up to its 1199).
    EXPECT_NEAR(opened->view->range_min[2], k * 2000 + b, 1e-4);
    EXPECT_EQ(opened->view->range_max[2], float(1000 + 199));
    EXPECT_TRUE(opened->isModified());

    dialogScript::pushFile(QString::fromStdString(saved), 4);
    frame->frameCommand(CMD_SAVE_AS, 0);
    settle();
    EXPECT_FALSE(opened->isModified());
    const std::string text = readString(saved);
    EXPECT_NE(text.find("# calibrated: channel 2: value = "), std::string::npos) << text;
    EXPECT_EQ(text.find("# calibrated: channel 1"), std::string::npos) << text;
    CMeasure back;
    std::string why;
    ASSERT_TRUE(readCsv(back, saved.c_str(), &why)) << why;
    ASSERT_EQ(back.sampleCount, 200);
    for (int32_t j : {0, 7, 199})
        EXPECT_EQ(back.value(2, j), m->value(2, j)) << j;
    EXPECT_EQ(back.channels[2].coefficient, k);
    EXPECT_EQ(back.channels[2].constant, b);
}

// A fit then a coefficient of 0 typed over it would erase the channel: OK
// says so and keeps the dialog open, the values as they were.
TEST_F(MeasureDialogsTest, CalibrationThatWouldEraseTheValuesIsRefused) {
    const std::string record = dir.file("cal.INT");
    writeCalibrationRecord(record);
    bool open = false;
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        editChannel(d, 2, [&](ScriptedDialog& c) {
            c.setText(IDC_CHANNEL_LEVELS, "-0.1, -0.05, 0, 0.05, 0.1");
            dialogScript::pushFile(QString::fromStdString(record), 1);
            c.press(IDC_CHANNEL_CALIBRATE);
            c.setText(IDC_CHANNEL_COEFFICIENT, "0");
            c.press(IDOK);
        });
        d.press(IDOK);
        open = !d.ended();
        d.press(IDCANCEL);
    });
    frame->frameCommand(CMD_INFO, 0);
    EXPECT_TRUE(open);
    ASSERT_EQ(dialogScript::messages().size(), 1);
    EXPECT_TRUE(dialogScript::messages()[0].contains("would erase the channel's values"))
        << dialogScript::messages()[0].toStdString();
    EXPECT_EQ(measure->channels[2].coefficient, 0.5);
    EXPECT_FLOAT_EQ(measure->value(2, 7), 2007.0f);
}

// A MATLAB record of several matrices asks which one holds the gauges, as
// File -> Open does; Cancel leaves the fields and says nothing.
TEST_F(MeasureDialogsTest, CalibrateAsksWhichMatrixOfARecordHoldsTheGauges) {
    // Three columns, the gauge in the last, and a short matrix beside them.
    const std::vector<double> readings = gaugeReadings();
    std::vector<double> gauges(readings.size() * 2, 0.0);
    gauges.insert(gauges.end(), readings.begin(), readings.end());
    const std::vector<double> offsets = {0.5, 0.25, 0.125};
    const std::string path = dir.file("cal.mat");
    mat_t* mat = Mat_CreateVer(path.c_str(), nullptr, MAT_FT_MAT5);
    ASSERT_NE(mat, nullptr);
    size_t gaugeDims[2] = {readings.size(), 3}, offsetDims[2] = {1, 3}, one[2] = {1, 1};
    double fs = 50;
    for (matvar_t* v :
         {Mat_VarCreate("offsets", MAT_C_DOUBLE, MAT_T_DOUBLE, 2, offsetDims,
                        const_cast<double*>(offsets.data()), MAT_F_DONT_COPY_DATA),
          Mat_VarCreate("gauges", MAT_C_DOUBLE, MAT_T_DOUBLE, 2, gaugeDims, gauges.data(),
                        MAT_F_DONT_COPY_DATA),
          Mat_VarCreate("fs", MAT_C_DOUBLE, MAT_T_DOUBLE, 2, one, &fs, MAT_F_DONT_COPY_DATA)}) {
        EXPECT_EQ(Mat_VarWrite(mat, v, MAT_COMPRESSION_NONE), 0);
        Mat_VarFree(v);
    }
    Mat_Close(mat);

    QString cancelledHint, cancelledCoefficient, coefficient, constant;
    QStringList offered;
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        editChannel(d, 2, [&](ScriptedDialog& c) {
            c.setText(IDC_CHANNEL_LEVELS, "-0.1, -0.05, 0, 0.05, 0.1");
            dialogScript::pushFile(QString::fromStdString(path), 1);
            c.press(IDC_CHANNEL_CALIBRATE);
            cancelledHint = c.hint();
            cancelledCoefficient = c.text(IDC_CHANNEL_COEFFICIENT);
            dialogScript::pushFile(QString::fromStdString(path), 1);
            dialogScript::pushChoice([&](const QStringList& items, int selected) {
                offered = items;
                return selected;
            });
            c.press(IDC_CHANNEL_CALIBRATE);
            coefficient = c.text(IDC_CHANNEL_COEFFICIENT);
            constant = c.text(IDC_CHANNEL_CONSTANT);
            c.press(IDOK);
        });
        d.press(IDOK);
    });
    frame->frameCommand(CMD_INFO, 0);
    EXPECT_TRUE(cancelledHint.isEmpty()) << cancelledHint.toStdString();
    EXPECT_EQ(cancelledCoefficient, "0.50000000");
    ASSERT_EQ(offered.size(), 2);
    EXPECT_TRUE(offered[1].startsWith("gauges  ")) << offered[1].toStdString();
    EXPECT_NEAR(coefficient.toDouble(), 0.0001, 0.005 * 0.0001) << coefficient.toStdString();
    EXPECT_NEAR(constant.toDouble(), -0.3, 0.005 * 0.3) << constant.toStdString();
    EXPECT_TRUE(dialogScript::messages().isEmpty());
}
