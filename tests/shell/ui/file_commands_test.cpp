// Open, Save as and Save block through scripted file dialogs: a known
// extension picks the reader, whatever type the open dialog shows; the save
// dialog's file type picks the format, whatever the name says.
#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "frame_test_support.h"
#include "measure/hdf5_format.h"
#include "measure/int_format.h"
#include "measure/m11_format.h"
#include "measure/text_format.h"
#include "shell/file_name_buffer.h"
#include "shell/open_file_type.h"
#include "support/file_size_limit.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

std::string contents(const std::string& path) {
    const std::vector<unsigned char> bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// A 16-bit PCM .WAV of 2 channels and 3 samples: (1, -1), (2, -2), (3, -3).
void writeWave(const std::string& path) {
    ByteWriter w;
    w.text("RIFF", 4).put<uint32_t>(36 + 12).text("WAVE", 4);
    w.text("fmt ", 4).put<uint32_t>(16).put<uint16_t>(1).put<uint16_t>(2);
    w.put<uint32_t>(8000).put<uint32_t>(32000).put<uint16_t>(4).put<uint16_t>(16);
    w.text("data", 4).put<uint32_t>(12);
    for (int16_t v : {1, -1, 2, -2, 3, -3})
        w.put<int16_t>(v);
    writeBytes(path, w.bytes);
}

} // namespace

class FileCommandsTest : public FrameTest {
  protected:
    CMeasureWnd* openWith(const std::string& path, int filterIndex) {
        int before = frame->children().size();
        dialogScript::pushFile(q(path), filterIndex);
        frame->frameCommand(CMD_OPEN, 0);
        settle();
        EXPECT_EQ(frame->children().size(), before + 1);
        return dynamic_cast<CMeasureWnd*>(frame->activeChild());
    }
    TempDir dir;
};

TEST_F(FileCommandsTest, OpenReadsEachFormatByTheChosenType) {
    std::unique_ptr<CMeasure> source(makeMeasure(2, 50));
    ASSERT_TRUE(writeInt(*source, dir.file("a.INT").c_str()));
    ASSERT_TRUE(writeTextFile(*source, dir.file("b.TXT").c_str()));
    ASSERT_TRUE(writeM11(*source, dir.file("c.M11").c_str()));
    writeWave(dir.file("d.WAV"));

    CMeasureWnd* w = openWith(dir.file("a.INT"), 1);
    EXPECT_EQ(w->measure->channelCount, 2);
    EXPECT_EQ(w->measure->sampleCount, 50);
    EXPECT_EQ(w->title(), q(dir.file("a.INT")));
    EXPECT_EQ(w->windowClass(), QStringLiteral("KelvoMeasureClass"));

    w = openWith(dir.file("c.M11"), 2);
    EXPECT_EQ(w->measure->channelCount, 2); // displacement and velocity
    w = openWith(dir.file("b.TXT"), 3);
    EXPECT_EQ(w->measure->sampleCount, 50);
    EXPECT_FLOAT_EQ(w->measure->value(1, 7), 1007.0f);
    w = openWith(dir.file("d.WAV"), 4);
    EXPECT_EQ(w->measure->sampleCount, 3);
    EXPECT_FLOAT_EQ(w->measure->value(1, 2), -3.0f);
    ASSERT_TRUE(writeHdf5(*source, dir.file("f.h5").c_str()));
    w = openWith(dir.file("f.h5"), 7);
    EXPECT_EQ(w->measure->sampleCount, 50);
    EXPECT_FLOAT_EQ(w->measure->value(1, 7), source->value(1, 7));
    // "All files" reads as .INT, whatever the extension.
    ASSERT_TRUE(writeInt(*source, dir.file("e.dat").c_str()));
    w = openWith(dir.file("e.dat"), 8);
    EXPECT_EQ(w->measure->sampleCount, 50);

    ASSERT_FALSE(dialogScript::fileRequests().isEmpty());
    const FileDialogRequest& request = dialogScript::fileRequests().first();
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.filters,
              QStringList({"DAXO 1.0/1.2/1.4/1.5 File (*.INT)", "Wave syntesiser (*.M11)",
                           "Plik tekstowy (*.TXT)", QString::fromUtf8("Plik dźwiękowy (*.WAV)"),
                           "CSV file (*.csv *.CSV)", "MATLAB file (*.mat *.MAT)",
                           "HDF5 file (*.h5 *.hdf5 *.H5 *.HDF5)", "All files (*.*)",
                           "All measurements (*.INT *.M11 *.TXT *.WAV *.csv *.mat *.h5 *.hdf5)"}));
    // A folder of .csv, .mat or .h5 files must not look empty when Open starts.
    EXPECT_EQ(request.startFilter, 9);
    // "All measurements" reads each file by its extension.
    w = openWith(dir.file("f.h5"), 9);
    EXPECT_EQ(w->measure->sampleCount, 50);
    w = openWith(dir.file("b.TXT"), 9);
    EXPECT_FLOAT_EQ(w->measure->value(1, 7), source->value(1, 7));
}

// The reader hands the window the extremes it gathered while reading; the
// strips must be scaled exactly as a rescan of the samples scales them.
TEST_F(FileCommandsTest, OpenedRecordIsScaledAsARescanScalesIt) {
    const int channels = 5, rows = 300000; // read in several pieces, by two threads
    std::unique_ptr<CMeasure> source(makeMeasure(channels, rows));
    const char* units[] = {"m", "m", "cm", "V", "V"};
    for (int c = 0; c < channels; ++c)
        setChannelInfo(source->channels[c], 1, 0, units[c], "gauge");
    for (int j = 0; j < rows; ++j)
        for (int c = 0; c < channels; ++c)
            source->setSample(
                c, j,
                Sample{float(((int64_t(j) * 7919 + c) % 1001) - 500) * (c + 1) / 64.0f, 0.0f});
    source->setSample(3, rows - 1, Sample{-4000.0f, 0.0f}); // the last sample decides a shared low
    ASSERT_TRUE(writeInt(*source, dir.file("long.INT").c_str()));
    CMeasureWnd* w = openWith(dir.file("long.INT"), 1);
    ASSERT_TRUE(w && w->view);
    std::vector<float> opened;
    for (int c = 0; c < channels; ++c)
        opened.insert(opened.end(),
                      {w->view->range_min[c], w->view->range_max[c], w->view->range_mod[c]});
    w->view->Refresh();
    for (int c = 0; c < channels; ++c) {
        EXPECT_EQ(opened[size_t(3 * c)], w->view->range_min[c]) << c;
        EXPECT_EQ(opened[size_t(3 * c + 1)], w->view->range_max[c]) << c;
        EXPECT_EQ(opened[size_t(3 * c + 2)], w->view->range_mod[c]) << c;
    }
    EXPECT_EQ(w->view->range_min[4], -4000.0f);
    EXPECT_EQ(w->view->range_mod[3], 4000.0f);
}

// A file that cannot be read opens no window; the message is the line
// ondarix-batch prints for it.
TEST_F(FileCommandsTest, FailedReadOpensNoWindowAndSaysWhatOndarixBatchSays) {
    writeString(dir.file("bad.INT"), "no measurement here");
    dialogScript::pushFile(q(dir.file("bad.INT")), 1);
    frame->frameCommand(CMD_OPEN, 0);
    settle();
    EXPECT_TRUE(frame->children().isEmpty());
    ASSERT_EQ(dialogScript::messages().size(), 1);
    CommandResult batch = runBatch({"info", dir.file("bad.INT")});
    ASSERT_EQ(batch.exitCode, 1);
    std::string line = batch.err.substr(batch.err.find(": ") + 2);
    line.pop_back(); // the newline
    EXPECT_EQ(dialogScript::messages()[0].toStdString(), line);
}

// "All files" reads by the extension: a text file opens as text.
TEST_F(FileCommandsTest, AllFilesChoosesTheReaderByExtension) {
    std::unique_ptr<CMeasure> source(makeMeasure(2, 20));
    ASSERT_TRUE(writeTextFile(*source, dir.file("run.txt").c_str()));
    ASSERT_TRUE(writeM11(*source, dir.file("run.m11").c_str()));
    CMeasureWnd* text = openWith(dir.file("run.txt"), 5);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->measure->channelCount, 2);
    EXPECT_FLOAT_EQ(text->measure->value(1, 19), 1019.0f);
    CMeasureWnd* m11 = openWith(dir.file("run.m11"), 5);
    ASSERT_NE(m11, nullptr);
    EXPECT_EQ(m11->measure->sampleCount, 20);
    EXPECT_TRUE(dialogScript::messages().isEmpty());
}

// The dialog opens with its first type (.INT) selected: a .TXT chosen there
// reads as text, and an .INT chosen with the text type as .INT.
TEST_F(FileCommandsTest, AKnownExtensionChoosesTheReaderWhateverTheType) {
    std::unique_ptr<CMeasure> source(makeMeasure(2, 20));
    ASSERT_TRUE(writeTextFile(*source, dir.file("run.TXT").c_str()));
    ASSERT_TRUE(writeInt(*source, dir.file("run.int").c_str()));
    for (const auto& [name, type] :
         std::vector<std::pair<const char*, int>>{{"run.TXT", 1}, {"run.int", 3}}) {
        CMeasureWnd* w = openWith(dir.file(name), type);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(w->measure->channelCount, 2) << name;
        EXPECT_FLOAT_EQ(w->measure->value(1, 19), 1019.0f) << name;
    }
    EXPECT_TRUE(dialogScript::messages().isEmpty())
        << dialogScript::messages().join(" ").toStdString();
}

TEST_F(FileCommandsTest, CancelledOpenOpensNothing) {
    frame->frameCommand(CMD_OPEN, 0); // unscripted: cancelled
    EXPECT_TRUE(frame->children().isEmpty());
}

// A name without an extension gets the chosen type's; a name with a
// measurement extension is written in that format, never another one.
TEST_F(FileCommandsTest, SaveAsNamesTheFileAfterItsFormat) {
    CMeasureWnd* w = openMeasureWindow(*frame, makeMeasure(2, 40, 10.0, "/data/run 7.INT"));
    settle();
    dialogScript::pushFile(q(dir.file("plain")), 3);     // text, no extension
    dialogScript::pushFile(q(dir.file("named.TXT")), 1); // .INT type, .TXT name
    dialogScript::pushFile(q(dir.file("flap")), 2);
    dialogScript::pushFile(q(dir.file("sound.wav")), 1); // no .WAV writer
    dialogScript::pushFile(q(dir.file("arrays")), 6);
    for (int i = 0; i < 5; ++i)
        frame->frameCommand(CMD_SAVE_AS, 0);

    const QList<FileDialogRequest>& requests = dialogScript::fileRequests();
    ASSERT_EQ(requests.size(), 5);
    EXPECT_TRUE(requests[0].save);
    EXPECT_EQ(requests[0].title, "Save As");
    EXPECT_EQ(requests[0].fileName, "/data/run 7");        // the window's file, cut
    EXPECT_EQ(requests[1].fileName, q(dir.file("plain"))); // the file it was saved as
    EXPECT_EQ(requests[0].filters,
              QStringList({"DAXO 1.5 File (*.INT)", "Wave syntesiser (*.M11)",
                           "Plik tekstowy (*.TXT)", "CSV file (*.csv *.CSV)",
                           "MATLAB file (*.mat *.MAT)", "HDF5 file (*.h5 *.hdf5 *.H5 *.HDF5)"}));
    CMeasure asText, asNamed, asM11, asHdf5;
    EXPECT_TRUE(readHdf5(asHdf5, dir.file("arrays.h5").c_str()));
    EXPECT_TRUE(readText(asText, dir.file("plain.TXT").c_str()));
    EXPECT_FLOAT_EQ(asText.value(1, 39), 1039.0f);
    EXPECT_TRUE(readText(asNamed, dir.file("named.TXT").c_str()));
    EXPECT_EQ(readM11(asM11, dir.file("flap.M11").c_str()), 0);
    EXPECT_FALSE(QFile::exists(q(dir.file("plain"))));
    EXPECT_FALSE(QFile::exists(q(dir.file("sound.wav"))));
    ASSERT_EQ(dialogScript::messages().size(), 1);
    EXPECT_TRUE(dialogScript::messages()[0].contains(".WAV"));
    // The window now shows the file it was last saved as.
    EXPECT_EQ(w->title(), q(dir.file("arrays.h5")));
}

TEST_F(FileCommandsTest, SaveAsOfAWindowWithoutSamplesIsRefused) {
    openMeasureWindow(*frame, makeMeasure(2, 0));
    settle();
    dialogScript::pushFile(q(dir.file("empty.INT")), 1);
    frame->frameCommand(CMD_SAVE_AS, 0);
    EXPECT_FALSE(QFile::exists(q(dir.file("empty.INT"))));
    ASSERT_EQ(dialogScript::messages().size(), 1);
    EXPECT_TRUE(dialogScript::messages()[0].contains("no samples"))
        << dialogScript::messages()[0].toStdString();
}

TEST_F(FileCommandsTest, SaveBlockWritesTextOnlyForANonEmptyBlock) {
    CMeasureWnd* w = openMeasureWindow(*frame, makeMeasure(2, 40));
    settle();
    dialogScript::pushFile(q(dir.file("empty.TXT")), 1);
    frame->frameCommand(CMD_SAVE_BLOCK, 0);
    EXPECT_FALSE(QFile::exists(q(dir.file("empty.TXT"))));
    EXPECT_EQ(dialogScript::fileRequests().last().filters, QStringList({"Plik tekstowy (*.TXT)"}));
    EXPECT_EQ(dialogScript::fileRequests().last().title, "Save block");

    w->view->SetBlock(1, 12, 10);                    // backwards: rows 11 and 10
    dialogScript::pushFile(q(dir.file("block")), 1); // ".TXT" is added
    frame->frameCommand(CMD_SAVE_BLOCK, 0);
    std::vector<unsigned char> bytes = readBytes(dir.file("block.TXT"));
    std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text, "1.100000e+00\t1.011000e+03\t0.000000e+00\r\n"
                    "1.000000e+00\t1.010000e+03\t0.000000e+00\r\n");
}

TEST_F(FileCommandsTest, FailedSaveIsShownNotPassedOff) {
    // A rate above what an .INT file can carry.
    CMeasureWnd* w = openMeasureWindow(*frame, makeMeasure(1, 10, 400000.0));
    settle();
    dialogScript::pushFile(q(dir.file("fast.INT")), 1);
    frame->frameCommand(CMD_SAVE_AS, 0);
    EXPECT_FALSE(QFile::exists(q(dir.file("fast.INT"))));
    ASSERT_EQ(dialogScript::messages().size(), 1);
    EXPECT_TRUE(dialogScript::messages()[0].startsWith("Cannot write"));
    EXPECT_TRUE(dialogScript::messages()[0].contains("330000"))
        << dialogScript::messages()[0].toStdString();

    w->view->SetBlock(0, 2, 5);
    dialogScript::pushFile(q(dir.file("no/such/dir/block.TXT")), 1);
    frame->frameCommand(CMD_SAVE_BLOCK, 0);
    EXPECT_EQ(dialogScript::messages().size(), 2);
    dialogScript::pushFile(q(dir.file("fast.TXT")), 3); // text carries any rate
    frame->frameCommand(CMD_SAVE_AS, 0);
    EXPECT_TRUE(QFile::exists(q(dir.file("fast.TXT"))));
    EXPECT_EQ(dialogScript::messages().size(), 2);
}

TEST_F(FileCommandsTest, CancelledSaveWritesNothing) {
    openMeasureWindow(*frame, makeMeasure(1, 10));
    settle();
    sharedFileName().set(dir.file("keep.INT"));
    frame->frameCommand(CMD_SAVE_AS, 0); // unscripted: cancelled
    EXPECT_FALSE(QFile::exists(q(dir.file("keep.INT"))));
    EXPECT_FALSE(QFile::exists(q(dir.file("keep"))));
}

// Save as over the file a window came from, on a full disk, used to say
// "Cannot write" with the file already cut short; Save block likewise.
TEST_F(FileCommandsTest, AFailedSaveKeepsTheFileItWasToReplace) {
    const std::string path = dir.file("run.INT"), block = dir.file("run.TXT");
    std::unique_ptr<CMeasure> original(makeMeasure(2, 3000, 20.0));
    ASSERT_TRUE(writeInt(*original, path.c_str()));
    writeString(block, "0.0\t1.0\t0.0\r\n");
    const std::vector<unsigned char> saved = readBytes(path), savedBlock = readBytes(block);
    CMeasureWnd* w = openMeasureWindow(*frame, makeMeasure(2, 3000));
    settle();
    w->view->SetBlock(0, 0, 3000);
    {
        FileSizeLimit limit(4096); // the write fails part-way, as on a full disk
        dialogScript::pushFile(q(path), 1);
        dialogScript::pushAnswer(true); // replace it
        frame->frameCommand(CMD_SAVE_AS, 0);
        dialogScript::pushFile(q(block), 1);
        dialogScript::pushAnswer(true);
        frame->frameCommand(CMD_SAVE_BLOCK, 0);
    }
    ASSERT_EQ(dialogScript::messages().size(), 2);
    for (const QString& message : dialogScript::messages())
        EXPECT_TRUE(message.contains("File too large")) << message.toStdString();
    EXPECT_EQ(readBytes(path), saved);
    EXPECT_EQ(readBytes(block), savedBlock);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              2);
}

// The extension is added after the dialog, so its own question never saw
// the name written: "run07" with the .INT type used to replace run07.INT
// unasked. The final name is asked about once, No by default.
TEST_F(FileCommandsTest, SavingOverAFileAsksForTheNameWrittenAndNoKeepsIt) {
    const std::string run = dir.file("run07.INT"), block = dir.file("block.TXT");
    writeString(run, "the old run");
    writeString(block, "the old block");
    CMeasureWnd* w = openMeasureWindow(*frame, makeMeasure(2, 40));
    settle();
    w->view->SetBlock(0, 0, 10);
    dialogScript::pushFile(q(dir.file("run07")), 1);
    frame->frameCommand(CMD_SAVE_AS, 0); // unscripted: No
    dialogScript::pushFile(q(dir.file("block")), 1);
    frame->frameCommand(CMD_SAVE_BLOCK, 0);
    dialogScript::pushFile(q(dir.file("run07")), 1);
    dialogScript::pushAnswer(false);
    EXPECT_FALSE(saveMeasureAs(frame.get(), *w)); // "Save changes?" then Save stays open
    EXPECT_EQ(dialogScript::questions(), QStringList({"run07.INT already exists. Replace it?",
                                                      "block.TXT already exists. Replace it?",
                                                      "run07.INT already exists. Replace it?"}));
    EXPECT_TRUE(dialogScript::messages().isEmpty());
    EXPECT_EQ(contents(run), "the old run");
    EXPECT_EQ(contents(block), "the old block");
    EXPECT_NE(w->title(), q(run)); // still the window of its old file

    // Yes, to a name typed with its extension: asked once, then written.
    dialogScript::pushFile(q(run), 1);
    dialogScript::pushAnswer(true);
    frame->frameCommand(CMD_SAVE_AS, 0);
    dialogScript::pushFile(q(dir.file("block")), 1);
    dialogScript::pushAnswer(true);
    frame->frameCommand(CMD_SAVE_BLOCK, 0);
    EXPECT_EQ(dialogScript::questions().size(), 5);
    CMeasure saved;
    EXPECT_TRUE(readInt(saved, run.c_str()));
    EXPECT_EQ(saved.sampleCount, 40);
    EXPECT_EQ(w->title(), q(run));
    const std::string text = contents(block);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 10);

    // A new name asks nothing.
    dialogScript::pushFile(q(dir.file("fresh")), 1);
    frame->frameCommand(CMD_SAVE_AS, 0);
    EXPECT_TRUE(QFile::exists(q(dir.file("fresh.INT"))));
    EXPECT_EQ(dialogScript::questions().size(), 5);
}

// Each dialog lists the table's rows that have its filter, then in Open "All
// files" and "All measurements"; a row appears in Save as exactly when it can
// be written.
TEST(FileCommandsTypes, TheDialogsListTheTablesRows) {
    QStringList open = openFileTypes(), save = saveFileTypes();
    ASSERT_GE(open.size(), 2);
    EXPECT_EQ(open[open.size() - 2], QStringLiteral("All files (*.*)"));
    EXPECT_EQ(open.value(allMeasurementsFilterIndex() - 1),
              QString::fromStdString(allMeasurementsFilter()));
    int opened = 0, saved = 0;
    for (const FileTypeRow& row : fileTypeRows()) {
        if (*row.openFilter) {
            EXPECT_EQ(open.value(opened++), QString::fromUtf8(row.openFilter));
        }
        if (*row.saveFilter) {
            EXPECT_EQ(save.value(saved++), QString::fromUtf8(row.saveFilter));
        }
        EXPECT_EQ(*row.saveFilter != '\0', row.write != nullptr) << row.name;
    }
    EXPECT_EQ(open.size(), opened + 2);
    EXPECT_EQ(save.size(), saved);
    EXPECT_EQ(blockFileTypes(),
              QStringList(QString::fromUtf8(fileTypeRow(FileType::Text).saveFilter)));
}
