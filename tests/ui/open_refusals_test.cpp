// Files that are no measurement, opened from File -> Open: a message with
// the reader's reason, no window, and no readout of an empty measurement.
#include <gtest/gtest.h>

#include <QString>

#include <string>
#include <vector>

#include "frame_test_support.h"
#include "shell/ui/frame_services.h"
#include "shell/ui/status_bar.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace {

class OpenRefusalsTest : public FrameTest {
  protected:
    // Opens `path` with the dialog's .INT type: no window may open, and the
    // one message is ondarix-batch's reason for the file.
    void expectRefused(const std::string& path) {
        dialogScript::pushFile(QString::fromStdString(path), 1);
        frame->frameCommand(CMD_OPEN, 0);
        settle();
        EXPECT_TRUE(frame->children().isEmpty());
        // No readout of an empty measurement.
        for (int part : {STATUS_PART_HINT, STATUS_PART_CURSOR, STATUS_PART_BLOCK})
            EXPECT_FALSE(frame->statusParts()->text(part).contains("nan"))
                << frame->statusParts()->text(part).toStdString();
        ASSERT_EQ(dialogScript::messages().size(), 1);
        CommandResult batch = runBatch({"info", path});
        ASSERT_EQ(batch.exitCode, 1);
        EXPECT_EQ("ondarix-batch: " + dialogScript::messages()[0].toStdString() + "\n", batch.err);
        EXPECT_TRUE(dialogScript::messages()[0].endsWith("the file holds no channel"))
            << dialogScript::messages()[0].toStdString();
    }
    TempDir dir;
};

} // namespace

// 20 KB of zeros used to open an empty window showing "0: 0 ( -nan)".
TEST_F(OpenRefusalsTest, AFileOfZerosOpensNoWindow) {
    writeBytes(dir.file("zeros.INT"), std::vector<unsigned char>(20 * 1024, 0));
    expectRefused(dir.file("zeros.INT"));
}

// A program renamed .INT passes the header's range checks but names no channel.
TEST_F(OpenRefusalsTest, ARenamedProgramOpensNoWindow) {
    ByteWriter program;
    program.put(uint32_t(0x464C457Fu)).put(uint32_t(0x00010102u)).put(uint64_t(0));
    for (int k = 0; k < 4096; ++k)
        program.put(uint8_t(k * 13));
    writeBytes(dir.file("tool.INT"), program.bytes);
    expectRefused(dir.file("tool.INT"));
}
