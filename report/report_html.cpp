#include "report/report_html.h"

#include <cmath>

#include "report/html_text.h"
#include "waves/parameter_text.h"

namespace {

const char* const BROWSER_STYLE = R"(
body{font-family:sans-serif;color:#111;margin:0 auto;max-width:62em;padding:0 1em 2em;line-height:1.35}
h1{font-size:1.6em}h2{font-size:1.3em;border-bottom:2px solid #468;padding-bottom:.2em;margin-top:2em}
h3{font-size:1.1em;margin-top:1.5em}
.table{overflow-x:auto}
table{border-collapse:collapse;margin:.5em 0}
th,td{border:1px solid #bbb;padding:.2em .6em;text-align:left;vertical-align:top}
thead th{background:#e8eef4}
td.n{text-align:right;font-variant-numeric:tabular-nums;white-space:nowrap}
.failed{color:#a00}
figure{margin:1em 0}
figcaption{font-size:.9em;color:#444}
svg{display:block;max-width:100%;height:auto}
@media (max-width:40em){body{padding:0 .5em}th,td{padding:.15em .3em}}
@media print{@page{size:A4;margin:12mm}body{max-width:none;padding:0;font-size:9pt}
.table{overflow:visible}th,td{padding:.1em .3em}
section{break-before:page}section:first-of-type{break-before:auto}
figure,table{break-inside:avoid}h2,h3{break-after:avoid}}
)";

// What a QTextDocument takes of CSS: numbers on one line, a smaller type.
const char* const PRINTED_STYLE = "body{font-size:9pt}td.n{white-space:nowrap;text-align:right}";

struct Html {
    std::string text;
    ReportFlavour flavour;

    Html& operator<<(const std::string& s) {
        text += s;
        return *this;
    }
};

std::string number(double value) {
    return parameterNumber(value);
}

std::string cell(const std::string& text) {
    return "<td>" + htmlText(text) + "</td>";
}

std::string numberCell(double value) {
    return "<td class=\"n\">" + number(value) + "</td>";
}

// Without `heads`, a table of labelled rows.
std::string tableStart(const std::vector<std::string>& heads = {}) {
    std::string s = "<div class=\"table\"><table border=\"1\" cellspacing=\"0\" "
                    "cellpadding=\"3\">";
    if (heads.empty()) return s + "<tbody>";
    s += "<thead><tr>";
    for (const std::string& h : heads)
        s += "<th>" + htmlText(h) + "</th>";
    return s + "</tr></thead><tbody>";
}

const char* const TABLE_END = "</tbody></table></div>\n";

// The values of a gauge the summary and the wave table share.
double gaugeHm0(const GaugeReport& g) {
    if (g.hasSpectrum) return g.spectrum.parameters.hm0;
    if (g.hasWaves) return g.waves.heights.hm0;
    return NAN;
}

std::string gaugeLabel(const GaugeReport& g) {
    return std::to_string(g.channel) + (g.name.empty() ? "" : ": " + g.name);
}

void summaryRows(Html& h, const FileReport& f) {
    const std::string name = reportFileName(f.path);
    if (!f.error.empty()) {
        h << "<tr>" << cell(name) << "<td>-</td><td colspan=\"8\" class=\"failed\">"
          << htmlText(f.error) << "</td></tr>\n";
        return;
    }
    for (const GaugeReport& g : f.gauges) {
        const SpectralParameters& p = g.spectrum.parameters;
        const bool s = g.hasSpectrum, w = g.hasWaves;
        std::string note = g.spectrumError.empty() ? g.wavesError : g.spectrumError;
        h << "<tr>" << cell(name) << cell(gaugeLabel(g)) << numberCell(gaugeHm0(g))
          << numberCell(s ? p.tp : NAN) << numberCell(s ? p.tm01 : NAN)
          << numberCell(s ? p.tm02 : NAN) << numberCell(w ? g.waves.h13 : NAN)
          << numberCell(w ? g.waves.hMax : NAN)
          << numberCell(f.hasReflection ? f.reflection.kr : NAN)
          << (note.empty() ? "<td></td>" : "<td class=\"failed\">" + htmlText(note) + "</td>")
          << "</tr>\n";
    }
}

void summary(Html& h, const std::vector<FileReport>& files) {
    h << "<section id=\"summary\"><h2>Summary</h2>\n"
      << tableStart({"File", "Gauge", "Hm0", "Tp (s)", "Tm01 (s)", "Tm02 (s)", "H1/3", "Hmax", "Kr",
                     "Note"});
    for (const FileReport& f : files)
        summaryRows(h, f);
    h << TABLE_END << "</section>\n";
}

void header(Html& h, const FileReport& f) {
    h << tableStart() << "<tr><th>File</th>" << cell(f.path) << "</tr>"
      << "<tr><th>Name</th>" << cell(f.name) << "</tr>"
      << "<tr><th>Date</th>" << cell(f.date) << "</tr>"
      << "<tr><th>Sample rate (Hz)</th>" << numberCell(f.sampleRate) << "</tr>"
      << "<tr><th>Duration (s)</th>" << numberCell(f.duration()) << "</tr>"
      << "<tr><th>Rows analysed</th>"
      << cell(std::to_string(f.from) + ".." + std::to_string(f.to) + " of " +
              std::to_string(f.sampleCount))
      << "</tr>" << TABLE_END;
    h << tableStart({"Channel", "Name", "Unit", "Coefficient", "Constant"});
    for (size_t c = 0; c < f.channels.size(); ++c) {
        const ChannelRow& ch = f.channels[c];
        h << "<tr>" << cell(std::to_string(c)) << cell(ch.name) << cell(ch.unit)
          << numberCell(ch.coefficient) << numberCell(ch.constant) << "</tr>";
    }
    h << TABLE_END;
}

void figure(Html& h, const PlotMarkup& markup, const ReportPlot& plot, const std::string& caption) {
    h << "<figure>" << markup(plot) << "<figcaption>" << htmlText(caption)
      << "</figcaption></figure>\n";
}

void row(Html& h, const std::string& label, double value, const std::string& unit) {
    h << "<tr><th>" << htmlText(label) << "</th>" << numberCell(value) << cell(unit) << "</tr>";
}

void waveTable(Html& h, const GaugeReport& g) {
    h << tableStart({"Parameter", "Value", "Unit"});
    const std::string& u = g.unit;
    if (g.hasSpectrum) {
        const SpectralParameters& p = g.spectrum.parameters;
        row(h, "Hm0", p.hm0, u);
        row(h, "Tp", p.tp, "s");
        row(h, "Tp parabola", p.tpParabola, "s");
        row(h, "Tp5", p.tp5, "s");
        row(h, "TpD", p.tpD, "s");
        row(h, "Tm01", p.tm01, "s");
        row(h, "Tm02", p.tm02, "s");
        if (!g.targetDensity.empty()) {
            row(h, "Hm0 target", g.targetHm0, u);
            row(h, "Tp target", g.targetTp, "s");
        }
    }
    if (g.hasWaves) {
        const WaveStatistics& s = g.waves;
        if (!g.hasSpectrum) row(h, "Hm0", s.heights.hm0, u);
        row(h, "Waves", s.count, "");
        row(h, "H1/3", s.h13, u);
        row(h, "H1/10", s.h110, u);
        row(h, "Hmax", s.hMax, u);
        row(h, "H2%", s.heights.h2Percent, u);
        row(h, "H1%", s.heights.h1Percent, u);
    }
    h << TABLE_END;
    for (const std::string* why : {&g.spectrumError, &g.wavesError})
        if (!why->empty()) h << "<p class=\"failed\">" << htmlText(*why) << "</p>\n";
}

void gauge(Html& h, const PlotMarkup& markup, size_t file, size_t index, const GaugeReport& g) {
    h << "<h3>Channel " << htmlText(gaugeLabel(g)) << "</h3>\n";
    waveTable(h, g);
    if (g.hasSpectrum && g.spectrumCurves)
        figure(h, markup, reportPlot(ReportPlotKind::Spectrum, file, index),
               "Variance density spectrum S(f) with its " + number(100 * g.spectrum.band.level) +
                   " % confidence band" +
                   (g.targetDensity.empty() ? "" : ", and the target on the same axes"));
    if (g.hasWaves && g.exceedance)
        figure(h, markup, reportPlot(ReportPlotKind::Exceedance, file, index),
               std::string("Exceedance of wave heights P(H >= h) on a logarithmic scale, measured "
                           "and Rayleigh") +
                   (g.exceedance->channelCount > 2 ? " and Battjes\u2013Groenendijk" : ""));
}

void reflection(Html& h, const PlotMarkup& markup, size_t file, const FileReport& f) {
    h << "<h3>Reflection</h3>\n";
    if (!f.hasReflection) {
        h << "<p class=\"failed\">" << htmlText(f.reflectionError) << "</p>\n";
        return;
    }
    const ReflectionResult& r = f.reflection;
    h << tableStart({"Parameter", "Value", "Unit"});
    row(h, "Kr", r.kr, "");
    row(h, "Hm0 incident", r.hm0Incident, f.reflectionUnit);
    row(h, "Hm0 reflected", r.hm0Reflected, f.reflectionUnit);
    row(h, "fmin", r.fmin, "Hz");
    row(h, "fmax", r.fmax, "Hz");
    h << TABLE_END;
    if (f.reflectionCurves)
        figure(h, markup, reportPlot(ReportPlotKind::Reflection, file, 0),
               "Incident and reflected spectra");
}

void section(Html& h, const PlotMarkup& markup, size_t index, const FileReport& f, bool newPage) {
    h << "<section id=\"file" << std::to_string(index) << "\">";
    h << (h.flavour == ReportFlavour::Printed && newPage
              ? "<h2 style=\"page-break-before: always\">"
              : "<h2>")
      << htmlText(reportFileName(f.path)) << "</h2>\n";
    if (!f.error.empty()) {
        // A file read but not analysed still shows what it holds.
        if (!f.channels.empty()) header(h, f);
        h << "<p class=\"failed\">" << htmlText(f.error) << "</p></section>\n";
        return;
    }
    header(h, f);
    figure(h, markup, reportPlot(ReportPlotKind::Overview, index, 0, int(f.record->channelCount)),
           "Every channel over the whole record");
    for (size_t g = 0; g < f.gauges.size(); ++g)
        gauge(h, markup, index, g, f.gauges[g]);
    if (f.hasReflection || !f.reflectionError.empty()) reflection(h, markup, index, f);
    h << "</section>\n";
}

} // namespace

std::string reportFileName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string reportHtml(const std::vector<FileReport>& files, const PlotMarkup& plotMarkup,
                       ReportFlavour flavour) {
    Html h{{}, flavour};
    h << "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
      << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
      << "<title>Test report</title>";
    h << "<style>" << (flavour == ReportFlavour::Browser ? BROWSER_STYLE : PRINTED_STYLE)
      << "</style>";
    h << "</head>\n<body>\n<h1>Test report</h1>\n<p>" << std::to_string(files.size())
      << (files.size() == 1 ? " record" : " records") << ", analysed by Ondarix.</p>\n";
    bool failed = false;
    for (const FileReport& f : files)
        failed = failed || !f.error.empty();
    const bool withSummary = files.size() > 1 || failed;
    if (withSummary) summary(h, files);
    for (size_t i = 0; i < files.size(); ++i)
        section(h, plotMarkup, i, files[i], withSummary || i > 0);
    h << "</body></html>\n";
    return h.text;
}
