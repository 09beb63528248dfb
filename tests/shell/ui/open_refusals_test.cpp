// Files that are no measurement, opened from File -> Open: a message with
// the reader's reason, no window, and no readout of an empty measurement.
// Damaged files: their complete rows only when the user says so.
#include <gtest/gtest.h>

#include <QString>

#include <hdf5.h>
#include <matio.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frame_test_support.h"
#include "measure/int_format.h"
#include "shell/ui/frame_services.h"
#include "shell/ui/status_bar.h"
#include "support/run_command.h"
#include "support/temp_dir.h"
#include "view/ui/measure_wnd.h"

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
    // The sample written as .INT, then cut to `keep` bytes or given `extra`
    // bytes after its samples; its 500 rows hold row numbers.
    std::string damagedInt(size_t keep, size_t extra = 0) {
        std::unique_ptr<CMeasure> m(makeMeasure(2, 500));
        for (int j = 0; j < 500; ++j)
            for (int c = 0; c < 2; ++c)
                m->setSample(c, j, Sample{float(j), 0.0f});
        const std::string path = dir.file("damaged.INT");
        EXPECT_TRUE(writeInt(*m, path.c_str()));
        std::vector<unsigned char> bytes = readBytes(path);
        if (keep < bytes.size()) bytes.resize(keep);
        bytes.insert(bytes.end(), extra, 0x5A);
        writeBytes(path, bytes);
        return path;
    }
    TempDir dir;
};

} // namespace

// A file cut short by a stopped acquisition: refusal stays the answer
// unless the user asks for the complete rows, which then open as they were.
TEST_F(OpenRefusalsTest, ACutFileOpensItsCompleteRowsOnlyWhenAsked) {
    // Two float channels a row: 8 bytes; cut inside row 300.
    const std::string path =
        damagedInt(size_t(readBytes(damagedInt(size_t(-1))).size()) - (500 - 300) * 8 + 3);
    dialogScript::pushAnswer(false);
    EXPECT_EQ(openFile(path), nullptr);
    ASSERT_EQ(dialogScript::questions().size(), 1);
    EXPECT_TRUE(dialogScript::questions()[0].contains("300 of its 500 rows"))
        << dialogScript::questions()[0].toStdString();
    EXPECT_TRUE(dialogScript::messages().isEmpty());

    dialogScript::pushAnswer(true);
    CMeasureWnd* window = openFile(path);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialogScript::questions().size(), 2);
    ASSERT_EQ(window->measure->sampleCount, 300);
    EXPECT_EQ(window->measure->value(1, 299), 299.0f);
    EXPECT_FALSE(window->isModified());
}

// Bytes after the samples the header declares are left out, and said so.
TEST_F(OpenRefusalsTest, BytesAfterTheSamplesAreNamedWhenTheFileOpens) {
    CMeasureWnd* window = openFile(damagedInt(SIZE_MAX, 1234));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->measure->sampleCount, 500);
    EXPECT_TRUE(dialogScript::questions().isEmpty());
    ASSERT_EQ(dialogScript::messages().size(), 1);
    EXPECT_TRUE(dialogScript::messages()[0].contains("1234 bytes after the samples"))
        << dialogScript::messages()[0].toStdString();
}

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

// A CSV without a time column opens with the rate the user gives, or not at all.
TEST_F(OpenRefusalsTest, ACsvWithoutTimeAsksForItsRate) {
    const std::string path = dir.file("gauges.csv");
    const std::string text = "gauge1,gauge2\n0.5,1\n0.25,2\n0.125,3\n";
    writeBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
    EXPECT_EQ(openFile(path), nullptr);
    ASSERT_EQ(dialogScript::questions().size(), 1);
    EXPECT_TRUE(dialogScript::questions()[0].contains("sample rate (it has no time column)"))
        << dialogScript::questions()[0].toStdString();
    EXPECT_TRUE(dialogScript::messages().isEmpty());

    dialogScript::pushNumber(20.0);
    CMeasureWnd* window = openFile(path);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->measure->sampleRate, 20.0);
    EXPECT_EQ(window->measure->sampleCount, 3);
    EXPECT_EQ(window->measure->value(1, 2), 3.0f);
}

// The question names what the file's own type would have given the rate by.
TEST_F(OpenRefusalsTest, TheRateQuestionSaysWhatTheFileLacks) {
    const double samples[4] = {0.5, 1, 0.25, 2};
    const std::string mat = dir.file("gauges_t.mat");
    mat_t* file = Mat_CreateVer(mat.c_str(), nullptr, MAT_FT_MAT5);
    ASSERT_NE(file, nullptr);
    size_t dims[2] = {4, 1};
    matvar_t* gauge = Mat_VarCreate("eta", MAT_C_DOUBLE, MAT_T_DOUBLE, 2, dims,
                                    const_cast<double*>(samples), MAT_F_DONT_COPY_DATA);
    ASSERT_EQ(Mat_VarWrite(file, gauge, MAT_COMPRESSION_NONE), 0);
    Mat_VarFree(gauge);
    Mat_Close(file);

    const std::string h5 = dir.file("gauges.h5");
    hid_t h5file = H5Fcreate(h5.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT);
    ASSERT_GE(h5file, 0);
    hsize_t count = 4;
    hid_t space = H5Screate_simple(1, &count, nullptr);
    hid_t set = H5Dcreate2(h5file, "samples", H5T_NATIVE_DOUBLE, space, H5P_DEFAULT, H5P_DEFAULT,
                           H5P_DEFAULT);
    EXPECT_GE(H5Dwrite(set, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, samples), 0);
    H5Dclose(set);
    H5Sclose(space);
    H5Fclose(h5file);

    EXPECT_EQ(openFile(mat), nullptr);
    EXPECT_EQ(openFile(h5), nullptr);
    ASSERT_EQ(dialogScript::questions().size(), 2)
        << dialogScript::messages().join("|").toStdString();
    EXPECT_EQ(dialogScript::questions()[0],
              QString::fromStdString(mat + " does not say its sample rate (it holds no fs, Fs, "
                                           "rate, sample_rate or dt).\n\nSamples per second:"));
    EXPECT_EQ(dialogScript::questions()[1],
              QString::fromStdString(h5 + " does not say its sample rate (it has no sample_rate "
                                          "or fs attribute).\n\nSamples per second:"));
    EXPECT_TRUE(dialogScript::messages().isEmpty());
}
