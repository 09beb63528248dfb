// Which format an export is written in and under which name.
#include <gtest/gtest.h>

#include "view/export_format.h"

TEST(ExportFormatTest, AnExportExtensionOfAnyCaseChoosesTheFormat) {
    ExportFormat f = ExportFormat::Png;
    EXPECT_TRUE(exportFormatOfPath("/d/plot.SVG", f));
    EXPECT_EQ(f, ExportFormat::Svg);
    EXPECT_TRUE(exportFormatOfPath("plot.Pdf", f));
    EXPECT_EQ(f, ExportFormat::Pdf);
    EXPECT_TRUE(exportFormatOfPath("/d/a.b.png", f));
    EXPECT_EQ(f, ExportFormat::Png);
    EXPECT_FALSE(exportFormatOfPath("/d/plot.INT", f));
    EXPECT_FALSE(exportFormatOfPath("/d/.png", f)); // a hidden file's name
    EXPECT_FALSE(exportFormatOfPath("/d/png", f));
}

TEST(ExportFormatTest, ANameWithoutAPictureExtensionGetsTheChosenOne) {
    ExportFormat f = ExportFormat::Png;
    EXPECT_EQ(exportPath("/d/plot", ExportFormat::Svg, f), "/d/plot.svg");
    EXPECT_EQ(f, ExportFormat::Svg);
    // Never a picture under a measurement's name.
    EXPECT_EQ(exportPath("/d/run.INT", ExportFormat::Pdf, f), "/d/run.INT.pdf");
    EXPECT_EQ(f, ExportFormat::Pdf);
}

TEST(ExportFormatTest, ATypedExtensionWinsOverTheChosenType) {
    // The file's name is what other programs go by.
    ExportFormat f = ExportFormat::Png;
    EXPECT_EQ(exportPath("/d/plot.pdf", ExportFormat::Png, f), "/d/plot.pdf");
    EXPECT_EQ(f, ExportFormat::Pdf);
}
