// A MATLAB or HDF5 file that holds several matrices, or no /samples, opened
// from File -> Open: the desktop asks which one holds the samples, the
// largest marked, and opens the one chosen; Cancel opens nothing.
#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <hdf5.h>
#include <matio.h>

#include <string>
#include <vector>

#include "frame_test_support.h"
#include "support/temp_dir.h"
#include "view/ui/measure_wnd.h"

namespace {

// Values that tell a table's cells apart: 1000 * channel + row.
std::vector<double> numbered(int channels, int rows) {
    std::vector<double> values(size_t(channels) * size_t(rows));
    for (int c = 0; c < channels; ++c)
        for (int r = 0; r < rows; ++r)
            values[size_t(c) * size_t(rows) + size_t(r)] = 1000.0 * c + r;
    return values;
}

// A dataset stored channels x rows (time along its longer side), with its rate.
void putTable(hid_t file, const char* name, hid_t type, int channels, int rows) {
    const hsize_t dims[2] = {hsize_t(channels), hsize_t(rows)};
    hid_t space = H5Screate_simple(2, dims, nullptr);
    hid_t set = H5Dcreate2(file, name, type, space, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT);
    const std::vector<double> values = numbered(channels, rows);
    H5Dwrite(set, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, values.data());
    const double rate = 20.0;
    hid_t scalar = H5Screate(H5S_SCALAR);
    hid_t fs = H5Acreate2(set, "fs", H5T_NATIVE_DOUBLE, scalar, H5P_DEFAULT, H5P_DEFAULT);
    H5Awrite(fs, H5T_NATIVE_DOUBLE, &rate);
    H5Aclose(fs);
    H5Sclose(scalar);
    H5Dclose(set);
    H5Sclose(space);
}

class SamplesChoiceTest : public FrameTest {
  protected:
    // "/level" (1 x 360, single) written first; HDF5 lists by name, so
    // "/gauges" (4 x 1200, double) is offered first.
    std::string twoDatasets() {
        const std::string path = dir.file("flume.h5");
        hid_t file = H5Fcreate(path.c_str(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT);
        EXPECT_GE(file, 0);
        putTable(file, "level", H5T_IEEE_F32LE, 1, 360);
        putTable(file, "gauges", H5T_IEEE_F64LE, 4, 1200);
        H5Fclose(file);
        return path;
    }
    // Answers the next choice with the item that starts with `name`,
    // keeping what was offered.
    void choose(const QString& name) {
        dialogScript::pushChoice([this, name](const QStringList& items, int selected) {
            offered = items;
            marked = selected;
            for (int i = 0; i < items.size(); ++i)
                if (items[i].startsWith(name + "  ")) return i;
            return -1;
        });
    }
    QStringList offered;
    int marked = -2;
    TempDir dir;
};

} // namespace

TEST_F(SamplesChoiceTest, AnHdf5FileWithoutSamplesAsksWhichDatasetAndOpensIt) {
    const std::string path = twoDatasets();
    choose(QStringLiteral("/level"));
    CMeasureWnd* window = openFile(path);
    ASSERT_NE(window, nullptr) << dialogScript::messages().join("|").toStdString();
    ASSERT_EQ(dialogScript::questions().size(), 1);
    EXPECT_EQ(dialogScript::questions()[0],
              QString::fromStdString(path) +
                  " holds no /samples dataset. Which dataset holds the samples?");
    EXPECT_EQ(offered, QStringList({QString::fromUtf8("/gauges  4 \u00d7 1200 double"),
                                    QString::fromUtf8("/level  1 \u00d7 360 single")}));
    EXPECT_EQ(marked, 0) << "the largest is marked";
    EXPECT_TRUE(dialogScript::messages().isEmpty());
    EXPECT_EQ(window->measure->channelCount, 1);
    ASSERT_EQ(window->measure->sampleCount, 360);
    EXPECT_EQ(window->measure->value(0, 359), 359.0f);
    EXPECT_EQ(window->measure->sampleRate, 20.0);
    EXPECT_FALSE(window->isModified());
}

TEST_F(SamplesChoiceTest, CancelOpensNothingAndSaysNothing) {
    const std::string path = twoDatasets();
    EXPECT_EQ(openFile(path), nullptr);
    EXPECT_EQ(dialogScript::questions().size(), 1);
    EXPECT_TRUE(frame->children().isEmpty());
    EXPECT_TRUE(dialogScript::messages().isEmpty()) << dialogScript::messages()[0].toStdString();
}

// The MATLAB file's variables by name; the largest, marked, opens as it is.
TEST_F(SamplesChoiceTest, AMatlabFileOfSeveralMatricesAsksWhichVariable) {
    const std::string path = dir.file("flume.mat");
    mat_t* mat = Mat_CreateVer(path.c_str(), nullptr, MAT_FT_MAT5);
    ASSERT_NE(mat, nullptr);
    const std::vector<double> level = numbered(1, 300), gauges = numbered(3, 500);
    size_t levelDims[2] = {1, 300}, gaugeDims[2] = {500, 3}, one[2] = {1, 1};
    double fs = 50;
    for (matvar_t* v :
         {Mat_VarCreate("level", MAT_C_DOUBLE, MAT_T_DOUBLE, 2, levelDims,
                        const_cast<double*>(level.data()), MAT_F_DONT_COPY_DATA),
          Mat_VarCreate("gauges", MAT_C_DOUBLE, MAT_T_DOUBLE, 2, gaugeDims,
                        const_cast<double*>(gauges.data()), MAT_F_DONT_COPY_DATA),
          Mat_VarCreate("fs", MAT_C_DOUBLE, MAT_T_DOUBLE, 2, one, &fs, MAT_F_DONT_COPY_DATA)}) {
        EXPECT_EQ(Mat_VarWrite(mat, v, MAT_COMPRESSION_NONE), 0);
        Mat_VarFree(v);
    }
    Mat_Close(mat);

    int marked = -2;
    QStringList offered;
    dialogScript::pushChoice([&](const QStringList& items, int selected) {
        offered = items;
        marked = selected;
        return selected;
    });
    CMeasureWnd* window = openFile(path);
    ASSERT_NE(window, nullptr) << dialogScript::messages().join("|").toStdString();
    ASSERT_EQ(dialogScript::questions().size(), 1);
    EXPECT_TRUE(dialogScript::questions()[0].endsWith(
        " holds several numeric matrices. Which one holds the samples?"));
    ASSERT_EQ(offered.size(), 2);
    EXPECT_EQ(offered[1], QString::fromUtf8("gauges  500 \u00d7 3 double"));
    EXPECT_EQ(marked, 1);
    EXPECT_EQ(window->measure->channelCount, 3);
    ASSERT_EQ(window->measure->sampleCount, 500);
    EXPECT_EQ(window->measure->value(2, 499), 2499.0f);
}

// /samples is the one to read whatever else the file holds: no question.
TEST_F(SamplesChoiceTest, AFileWithSamplesOpensThemWithoutAQuestion) {
    const std::string path = twoDatasets();
    hid_t file = H5Fopen(path.c_str(), H5F_ACC_RDWR, H5P_DEFAULT);
    putTable(file, "samples", H5T_IEEE_F32LE, 2, 10);
    H5Fclose(file);
    CMeasureWnd* window = openFile(path);
    ASSERT_NE(window, nullptr) << dialogScript::messages().join("|").toStdString();
    EXPECT_TRUE(dialogScript::questions().isEmpty());
    EXPECT_EQ(window->measure->sampleCount, 2);
}
