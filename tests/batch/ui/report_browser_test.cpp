// `ondarix-batch report` opened in a real browser: Chromium, headless, takes
// a screenshot of the page, in which every plot must have been drawn at the
// size its SVG declares: the picture the SVG carries found in the screenshot
// pixel for pixel, neither scaled nor cut, and holding its curves.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>

#include <cstdlib>
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

// The PNG each <svg> of the page carries, in the page's order.
std::vector<QImage> carriedPictures(const std::string& html) {
    std::vector<QImage> pictures;
    static const QRegularExpression data(
        QStringLiteral("<svg [^>]*>.*?data:image/png;base64,([A-Za-z0-9+/=]+)"),
        QRegularExpression::DotMatchesEverythingOption);
    auto it = data.globalMatch(QString::fromStdString(html));
    while (it.hasNext()) {
        const QByteArray png = QByteArray::fromBase64(it.next().captured(1).toLatin1());
        pictures.push_back(QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32));
    }
    return pictures;
}

bool samePixel(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) <= 3 && std::abs(qGreen(a) - qGreen(b)) <= 3 &&
           std::abs(qBlue(a) - qBlue(b)) <= 3;
}

// Pixels of `picture`'s row `row` unlike the screenshot's row `y` from `left`.
int rowDifferences(const QImage& shot, int left, int y, const QImage& picture, int row) {
    const QRgb* s = reinterpret_cast<const QRgb*>(shot.constScanLine(y)) + left;
    const QRgb* p = reinterpret_cast<const QRgb*>(picture.constScanLine(row));
    int differ = 0;
    for (int x = 0; x < picture.width(); ++x)
        differ += !samePixel(s[x], p[x]);
    return differ;
}

// The picture's row with the most ink, the one to look for.
int inkiestRow(const QImage& picture) {
    int best = 0, most = -1;
    for (int y = 0; y < picture.height(); ++y) {
        int ink = 0;
        for (int x = 0; x < picture.width(); ++x)
            ink += qGray(picture.pixel(x, y)) < 200;
        if (ink > most) most = ink, best = y;
    }
    return best;
}

// The top of `picture` in the screenshot at `left`, from `from` down, where
// every row matches but for a few pixels; -1 when it is nowhere.
int placeOf(const QImage& shot, int left, int from, const QImage& picture) {
    if (left + picture.width() > shot.width()) return -1;
    const int key = inkiestRow(picture), allowed = picture.width() / 100;
    for (int top = from; top + picture.height() <= shot.height(); ++top) {
        if (rowDifferences(shot, left, top + key, picture, key) > allowed) continue;
        bool all = true;
        for (int y = 0; y < picture.height() && all; ++y)
            all = rowDifferences(shot, left, top + y, picture, y) <= allowed;
        if (all) return top;
    }
    return -1;
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
    const std::vector<QImage> pictures = carriedPictures(readString(html));
    ASSERT_EQ(pictures.size(), svgs.size());
    for (size_t p = 0; p < svgs.size(); ++p)
        EXPECT_EQ(pictures[p].size(), QSize(svgs[p].width, svgs[p].height)) << "plot " << p;

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

    // The record's plot starts with a strip's header band, as wide as the
    // plot: where the figures' left edge is.
    const std::vector<Band> bands = headerBands(image);
    ASSERT_FALSE(bands.empty());
    const int left = bands[0].left;
    int from = 0;
    for (size_t p = 0; p < svgs.size(); ++p) {
        SCOPED_TRACE("plot " + std::to_string(p));
        const int top = placeOf(image, left, from, pictures[p]);
        ASSERT_GE(top, 0) << "not drawn at its declared size";
        from = top + svgs[p].height;
        EXPECT_GT(darkPixels(image, left, top, svgs[p].width, svgs[p].height), svgs[p].width);
    }
}
