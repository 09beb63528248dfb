// Open, Save as and Save block through scripted file dialogs: the dialog's
// file type picks the format, whatever the name says.
#include <gtest/gtest.h>

#include <QFile>

#include <string>

#include "frame_test_support.h"
#include "measure/int_format.h"
#include "measure/m11_format.h"
#include "measure/text_format.h"
#include "shell/file_name_buffer.h"
#include "shell/ui/file_commands.h"
#include "support/temp_dir.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"

namespace {

QString q(const std::string& s) {
    return QString::fromStdString(s);
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
    EXPECT_FLOAT_EQ(w->measure->at(1, 7).re, 1007.0f);
    w = openWith(dir.file("d.WAV"), 4);
    EXPECT_EQ(w->measure->sampleCount, 3);
    EXPECT_FLOAT_EQ(w->measure->at(1, 2).re, -3.0f);
    // "All files" reads as .INT, whatever the extension.
    ASSERT_TRUE(writeInt(*source, dir.file("e.dat").c_str()));
    w = openWith(dir.file("e.dat"), 5);
    EXPECT_EQ(w->measure->sampleCount, 50);

    ASSERT_FALSE(dialogScript::fileRequests().isEmpty());
    const FileDialogRequest& request = dialogScript::fileRequests().first();
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.filters,
              QStringList({"DAXO 1.0/1.2/1.4/1.5 File (*.INT)", "Wave syntesiser (*.M11)",
                           "Plik tekstowy (*.TXT)", QString::fromUtf8("Plik dźwiękowy (*.WAV)"),
                           "All files (*.*)"}));
}

TEST_F(FileCommandsTest, FailedReadStillOpensAWindow) {
    writeString(dir.file("bad.INT"), "no measurement here");
    CMeasureWnd* w = openWith(dir.file("bad.INT"), 1);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->measure->samples, nullptr);
    EXPECT_EQ(w->title(), q(dir.file("bad.INT")));
}

TEST_F(FileCommandsTest, CancelledOpenOpensNothing) {
    frame->frameCommand(CMD_OPEN, 0); // unscripted: cancelled
    EXPECT_TRUE(frame->children().isEmpty());
}

TEST_F(FileCommandsTest, SaveAsWritesTheChosenFormatAndProposesTheNameWithoutExtension) {
    openMeasureWindow(*frame, makeMeasure(2, 40));
    settle();
    sharedFileName().set(dir.file("run.int"));
    // The file type decides, not the name.
    dialogScript::pushFile(q(dir.file("out1.TXT")), 1);
    dialogScript::pushFile(q(dir.file("out2.INT")), 2);
    dialogScript::pushFile(q(dir.file("out3.M11")), 3);
    for (int i = 0; i < 3; ++i)
        frame->frameCommand(CMD_SAVE_AS, 0);

    const QList<FileDialogRequest>& requests = dialogScript::fileRequests();
    ASSERT_EQ(requests.size(), 3);
    EXPECT_TRUE(requests[0].save);
    EXPECT_EQ(requests[0].fileName, q(dir.file("run")));
    EXPECT_EQ(requests[1].fileName, q(dir.file("out1"))); // the name last saved, cut
    EXPECT_EQ(requests[2].fileName, q(dir.file("out2")));
    EXPECT_EQ(requests[0].filters, QStringList({"DAXO 1.5 File (*.INT)", "Wave syntesiser (*.M11)",
                                                "Plik tekstowy (*.TXT)"}));
    CMeasure asInt, asM11, asText;
    EXPECT_TRUE(readInt(asInt, dir.file("out1.TXT").c_str()));
    EXPECT_EQ(asInt.sampleCount, 40);
    EXPECT_EQ(readM11(asM11, dir.file("out2.INT").c_str()), 0);
    EXPECT_TRUE(readText(asText, dir.file("out3.M11").c_str()));
    EXPECT_FLOAT_EQ(asText.at(1, 39).re, 1039.0f);
}

TEST_F(FileCommandsTest, SaveBlockWritesTextOnlyForANonEmptyBlock) {
    CMeasureWnd* w = openMeasureWindow(*frame, makeMeasure(2, 40));
    settle();
    dialogScript::pushFile(q(dir.file("empty.TXT")), 1);
    frame->frameCommand(CMD_SAVE_BLOCK, 0);
    EXPECT_FALSE(QFile::exists(q(dir.file("empty.TXT"))));
    EXPECT_EQ(dialogScript::fileRequests().last().filters, QStringList({"Plik tekstowy (*.TXT)"}));

    w->view->SetBlock(1, 12, 10); // backwards: rows 11 and 10
    dialogScript::pushFile(q(dir.file("block.TXT")), 1);
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
