#include "report/ui/report_writer.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QString>
#include <QTextDocument>
#include <QUrl>

#include <algorithm>
#include <cctype>

#include "measure/atomic_file.h"
#include "report/report_html.h"
#include "report/ui/report_plots.h"

namespace {

// The page laid out in the document's pixels at 96 an inch: A4 between
// margins of 12 mm, printed scaled to the PDF's resolution.
constexpr double PAGE_MARGIN_MM = 12;
constexpr double PIXELS_PER_MM = 96 / 25.4;
const QSizeF TEXT_SIZE((210 - 2 * PAGE_MARGIN_MM) * PIXELS_PER_MM,
                       (297 - 2 * PAGE_MARGIN_MM) * PIXELS_PER_MM);
constexpr int PRINTED_PLOT_WIDTH = 680;

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

bool endsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

std::string htmlReport(const std::vector<FileReport>& files) {
    return reportHtml(
        files, [&](const ReportPlot& plot) { return inlineSvg(paintReportPlot(files, plot)); },
        ReportFlavour::Browser);
}

bool pdfReport(const std::vector<FileReport>& files, QByteArray& bytes) {
    QTextDocument document;
    int next = 0;
    const std::string html = reportHtml(
        files,
        [&](const ReportPlot& plot) {
            const QString name = QStringLiteral("plot%1.png").arg(next++);
            document.addResource(QTextDocument::ImageResource, QUrl(name),
                                 paintReportPlot(files, plot));
            const int height = plot.height * PRINTED_PLOT_WIDTH / plot.width;
            return QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\">")
                .arg(name)
                .arg(PRINTED_PLOT_WIDTH)
                .arg(height)
                .toStdString();
        },
        ReportFlavour::Printed);
    document.setPageSize(TEXT_SIZE);
    document.setDocumentMargin(0);
    document.setHtml(QString::fromStdString(html));
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) return false;
    QPdfWriter pdf(&buffer);
    pdf.setCreator(QStringLiteral("Ondarix"));
    pdf.setTitle(QStringLiteral("Test report"));
    pdf.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                    QMarginsF(PAGE_MARGIN_MM, PAGE_MARGIN_MM, PAGE_MARGIN_MM, PAGE_MARGIN_MM),
                    QPageLayout::Millimeter));
    document.print(&pdf);
    return true;
}

} // namespace

bool reportFormatOfPath(const std::string& path, ReportFormat& format) {
    const std::string name = lower(path);
    if (endsWith(name, ".html") || endsWith(name, ".htm")) {
        format = ReportFormat::Html;
        return true;
    }
    if (endsWith(name, ".pdf")) {
        format = ReportFormat::Pdf;
        return true;
    }
    return false;
}

bool writeReport(const std::vector<FileReport>& files, const std::string& path, ReportFormat format,
                 std::string* why) {
    std::string bytes;
    if (format == ReportFormat::Html) {
        bytes = htmlReport(files);
    } else {
        QByteArray pdf;
        if (!pdfReport(files, pdf) || pdf.isEmpty()) {
            if (why) *why = "cannot write " + path + ": the PDF could not be made";
            return false;
        }
        bytes = pdf.toStdString();
    }
    std::string reason;
    if (replaceFile(path, bytes, &reason)) return true;
    if (why) *why = "cannot write " + path + ": " + reason;
    return false;
}
