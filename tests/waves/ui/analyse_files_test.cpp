// Analysis -> "Analyse files...": files picked at once, the analysis's own run
// dialog, one table row per file equal to that file's own result, a file that
// cannot be read a row with its reason, and File -> Save as writing the
// table as CSV.
#include <gtest/gtest.h>

#include <QTableWidget>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/ui/analysis_dialog_templates.h"
#include "frame_test_support.h"
#include "measure/int_format.h"
#include "shell/dialog_templates.h"
#include "shell/open_file_type.h"
#include "support/temp_dir.h"
#include "waves/ui/file_table_wnd.h"
#include "waves/ui/wave_dialog_templates.h"
#include "waves/wave_result.h"

namespace {

constexpr double PI = 3.141592653589793;

// Two gauges of a wave of period `period` over `rows` rows at 20 Hz.
std::string writeRecord(const TempDir& dir, const std::string& name, double period, int rows) {
    CMeasure m;
    m.channelCount = 2;
    m.sampleCount = rows;
    m.sampleRate = 20.0;
    m.sampleFormat = SAMPLE_FORMAT_REAL;
    EXPECT_TRUE(m.allocateSamples());
    for (int j = 0; j < rows; ++j) {
        const double t = j / 20.0;
        const double eta = 0.04 * std::sin(2 * PI * t / period) + 0.005 * std::cos(7.3 * t);
        m.setSample(0, j, Sample{float(eta), 0.0f});
        m.setSample(1, j,
                    Sample{float(0.7 * eta + 0.01 * std::sin(2 * PI * t / (0.6 * period))), 0.0f});
    }
    for (int c = 0; c < 2; ++c)
        setChannelInfo(m.channels[c], 1.0, 0.0, "m", "Gauge");
    const std::string path = dir.file(name);
    EXPECT_TRUE(writeInt(m, path.c_str()));
    return path;
}

// What the result window of that file alone shows: its parameter values.
std::vector<std::string> ownValues(const std::string& path, const WaveRunOptions& wanted) {
    CMeasure m;
    std::string why;
    EXPECT_TRUE(readMeasure(m, path, FileType::Int, &why)) << why;
    WaveRunOptions options = wanted;
    options.to = m.sampleCount;
    CWaveResult result(WaveAnalysis::Spectrum);
    EXPECT_TRUE(result.TakeBlocks(m, options, &why) && result.Compute(options, &why)) << why;
    std::vector<std::string> values;
    for (const std::string& line : result.parameterLines)
        values.push_back(line.substr(line.find('\t') + 1));
    return values;
}

} // namespace

class AnalyseFilesTest : public FrameTest {};

TEST_F(AnalyseFilesTest, EachFileIsARowOfItsOwnResultAndTheTableSavesAsCsv) {
    TempDir dir;
    const std::string first = writeRecord(dir, "first.INT", 1.6, 3000);
    const std::string shorter = writeRecord(dir, "shorter.INT", 2.1, 2200);
    const std::string damaged = dir.file("damaged.INT");
    writeString(damaged, "no measurement\n");
    const QStringList picked{QString::fromStdString(first), QString::fromStdString(damaged),
                             QString::fromStdString(shorter)};
    FileDialogRequest asked;
    dialogScript::pushFileDialog([&](const FileDialogRequest& request) {
        asked = request;
        return FileDialogAnswer{true, picked[0], request.startFilter, picked};
    });
    QStringList offered;
    dialogScript::pushChoice([&](const QStringList& items, int) {
        offered = items;
        return int(items.indexOf(QStringLiteral("Spectrum")));
    });
    dialogScript::pushDialog([](ScriptedDialog& d) {
        d.setText(IDC_RUN_CHANNEL, "1");
        d.setText(IDC_WAVE_SEGMENT, "256");
        d.press(IDOK);
    });
    frame->frameCommand(CMD_ANALYSE_FILES, 0);
    settle();

    EXPECT_TRUE(asked.multiple);
    EXPECT_EQ(asked.startFilter, allMeasurementsFilterIndex());
    EXPECT_EQ(offered.size(), 3);
    auto* window = dynamic_cast<CFileTableWnd*>(frame->activeChild());
    ASSERT_NE(window, nullptr);
    QTableWidget* table = window->table;
    ASSERT_EQ(table->rowCount(), 3);
    WaveRunOptions options;
    options.channels = {1};
    options.segment = 256;
    // Each file's whole record, the shorter one's too, in the order picked.
    const std::vector<std::vector<std::string>> expected{
        ownValues(first, options), {}, ownValues(shorter, options)};
    const int errorColumn = table->columnCount() - 1;
    for (int row : {0, 2}) {
        EXPECT_EQ(table->item(row, 0)->text(), picked[row]);
        EXPECT_EQ(table->item(row, errorColumn)->text(), QString());
        for (size_t v = 0; v < expected[size_t(row)].size(); ++v)
            EXPECT_EQ(table->item(row, int(v) + 1)->text().toStdString(), expected[size_t(row)][v])
                << table->horizontalHeaderItem(int(v) + 1)->text().toStdString();
    }
    EXPECT_NE(expected[0], expected[2]);
    EXPECT_TRUE(table->item(1, errorColumn)->text().startsWith(picked[1])) << errorColumn;
    // The reason shows where the pointer is, the file's name among them.
    EXPECT_EQ(table->item(1, 0)->toolTip(), table->item(1, errorColumn)->text());
    EXPECT_EQ(table->item(0, 0)->toolTip(), QString());

    const std::string saved = dir.file("table.csv");
    dialogScript::pushFile(QString::fromStdString(saved), 1);
    frame->frameCommand(CMD_SAVE_AS, 0);
    settle();
    const std::vector<std::string> csv = textLines(readString(saved));
    ASSERT_EQ(csv.size(), 4u);
    EXPECT_EQ(csv[0].rfind("File,", 0), 0u) << csv[0];
    EXPECT_EQ(csv[3].rfind(shorter + "," + expected[2][0] + ",", 0), 0u) << csv[3];
    EXPECT_NE(csv[2].find("damaged.INT: "), std::string::npos) << csv[2];
}
