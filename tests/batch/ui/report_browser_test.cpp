// `ondarix-batch report` opened in a real browser: Chromium, headless, takes
// a screenshot of the page, in which every plot must have been drawn at the
// size its SVG declares (its header bands as wide as the plot and as high as
// the painter draws them) and hold its curves.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "picture_checks.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace {

constexpr int WINDOW_WIDTH = 1000;
constexpr int WINDOW_HEIGHT = 6000;

struct DeclaredSize {
    int width, height;
};

std::vector<DeclaredSize> declaredSvgs(const std::string& html) {
    std::vector<DeclaredSize> sizes;
    static const QRegularExpression tag(
        QStringLiteral("<svg [^>]*width=\"(\\d+)\" height=\"(\\d+)\""));
    auto it = tag.globalMatch(QString::fromStdString(html));
    while (it.hasNext()) {
        auto m = it.next();
        sizes.push_back({m.captured(1).toInt(), m.captured(2).toInt()});
    }
    return sizes;
}

bool isBand(QRgb pixel) {
    const QColor c(pixel);
    return std::abs(c.red() - BAND_COLOUR.red()) <= 2 &&
           std::abs(c.green() - BAND_COLOUR.green()) <= 2 &&
           std::abs(c.blue() - BAND_COLOUR.blue()) <= 2;
}

// A run of rows in the header colour: where it starts, how wide and how high.
struct Band {
    int top, left, width, height;
};

// Rows of which the header colour fills most of its own extent, grouped.
std::vector<Band> headerBands(const QImage& image) {
    std::vector<Band> bands;
    bool open = false;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int first = -1, last = -1, count = 0;
        for (int x = 0; x < image.width(); ++x)
            if (isBand(row[x])) {
                if (first < 0) first = x;
                last = x;
                ++count;
            }
        const int width = last - first + 1;
        const bool band = first >= 0 && width >= 100 && count * 2 > width;
        if (band && open && bands.back().left == first && bands.back().width == width)
            ++bands.back().height;
        else if (band)
            bands.push_back({y, first, width, 1});
        open = band;
    }
    return bands;
}

// Dark pixels (the curves and the labels) inside a rectangle.
int darkPixels(const QImage& image, int left, int top, int width, int height) {
    int dark = 0;
    for (int y = top; y < std::min(top + height, image.height()); ++y)
        for (int x = left; x < left + width; ++x)
            dark += qGray(image.pixel(x, y)) < 100;
    return dark;
}

} // namespace

TEST(ReportBrowserTest, EveryPlotIsDrawnAtTheSizeItsSvgDeclares) {
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    ASSERT_FALSE(chromium.isEmpty()) << "chromium is needed (scripts/install-deps.sh installs it)";
    TempDir dir;
    const std::string copy = dir.file("second.INT");
    writeBytes(copy, readBytes(SAMPLE_FILE));
    const std::string html = dir.file("report.html");
    CommandResult r = runBatch({"report", SAMPLE_FILE, copy, "--channels", "1", "-o", html});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<DeclaredSize> svgs = declaredSvgs(readString(html));
    ASSERT_EQ(svgs.size(), 6u); // per file the record, the spectrum and the exceedance
    // The painter's own band heights (a name band and a label band), from a
    // picture of it at one pixel a pixel.
    const std::string reference = dir.file("reference.png");
    r = runBatch({"plot", SAMPLE_FILE, "--channel", "1", "--width", "900", "--height", "240", "-o",
                  reference});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::vector<Band> painted = headerBands(
        QImage(QString::fromStdString(reference)).convertToFormat(QImage::Format_RGB32));
    ASSERT_EQ(painted.size(), 2u);
    const std::set<int> bandHeights{painted[0].height, painted[1].height};

    const std::string shot = dir.file("shot.png");
    QProcess browser;
    // Chromium's caches and crash reports go to the test's folder too.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        environment.insert(QString::fromLatin1(name), QString::fromStdString(dir.path()));
    browser.setProcessEnvironment(environment);
    browser.start(chromium,
                  {"--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                   "--force-color-profile=srgb", "--force-device-scale-factor=1",
                   QString::fromStdString("--user-data-dir=" + dir.file("profile")),
                   QStringLiteral("--window-size=%1,%2").arg(WINDOW_WIDTH).arg(WINDOW_HEIGHT),
                   QString::fromStdString("--screenshot=" + shot),
                   QString::fromStdString("file://" + html)});
    ASSERT_TRUE(browser.waitForFinished(120000)) << "chromium did not finish";
    QImage image(QString::fromStdString(shot));
    ASSERT_FALSE(image.isNull()) << browser.readAllStandardError().toStdString();
    image = image.convertToFormat(QImage::Format_RGB32);

    // Each plot in turn: its first band at its top, as wide as declared.
    const std::vector<Band> bands = headerBands(image);
    size_t next = 0;
    for (size_t p = 0; p < svgs.size(); ++p) {
        SCOPED_TRACE("plot " + std::to_string(p));
        while (next < bands.size() && bands[next].width != svgs[p].width)
            ++next;
        ASSERT_LT(next, bands.size()) << "no band of the declared width";
        const Band top = bands[next];
        int inside = 0;
        for (; next < bands.size() && bands[next].top < top.top + svgs[p].height; ++next) {
            EXPECT_EQ(bands[next].left, top.left);
            EXPECT_EQ(bands[next].width, svgs[p].width);
            EXPECT_EQ(bandHeights.count(bands[next].height), 1u) // not scaled up or down
                << bands[next].height;
            ++inside;
        }
        EXPECT_GE(inside, 2); // a strip's name band and its label band at least
        EXPECT_GT(darkPixels(image, top.left, top.top, svgs[p].width, svgs[p].height),
                  svgs[p].width);
    }
}
