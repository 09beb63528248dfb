#include "waves/ui/wave_run_dlg.h"

#include <QRegularExpression>

#include <cmath>
#include <cstdint>

#include "analysis/ui/analysis_dialog_templates.h"
#include "analysis/ui/run_range.h"
#include "waves/reflection.h"
#include "waves/ui/wave_dialog_templates.h"

namespace {

// "1, 2;3" or "4 8 12": the items of a list typed by hand.
QStringList listItems(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    return text.split(separators, Qt::SkipEmptyParts);
}

QString numberList(const std::vector<double>& values) {
    QStringList items;
    for (double v : values)
        items << QString::number(v, 'g', 10);
    return items.join(QStringLiteral(","));
}

QString channelList(const std::vector<int32_t>& channels) {
    QStringList items;
    for (int32_t c : channels)
        items << QString::number(c);
    return items.join(QStringLiteral(","));
}

// The combo box's entries, in Detrend's order.
const QStringList& detrendItems() {
    static const QStringList items{QStringLiteral("None"), QStringLiteral("Mean"),
                                   QStringLiteral("Linear (drift)")};
    return items;
}

// The combo box's entries, in ReflectionOutput's order.
const QStringList& separationItems() {
    static const QStringList items{QStringLiteral("Spectra"),
                                   QStringLiteral("Spectra and series at the first gauge"),
                                   QStringLiteral("Regular wave harmonics")};
    return items;
}

bool mentions(const std::string& text, const char* word) {
    return text.find(word) != std::string::npos;
}

} // namespace

int CWaveRunDlg::templateOf(WaveAnalysis kind) {
    switch (kind) {
    case WaveAnalysis::Statistics:
        return DIALOG_WAVE_STATISTICS;
    case WaveAnalysis::Spectrum:
        return DIALOG_SPECTRUM;
    case WaveAnalysis::Reflection:
        return DIALOG_REFLECTION;
    }
    return 0;
}

int CWaveRunDlg::OnInitDialog(QDialog* dialog) {
    CDialog::OnInitDialog(dialog);
    showFields();
    if (previous)
        for (int id : {IDC_RUN_CHANNEL, IDC_RUN_FROM, IDC_RUN_TO, IDC_WAVE_GAUGES})
            if (control(id)) enableControl(id, false);
    return 1;
}

void CWaveRunDlg::showFields() {
    if (kind == WaveAnalysis::Reflection) {
        setText(IDC_WAVE_GAUGES, channelList(options.channels));
        setText(IDC_WAVE_POSITIONS, numberList(options.positions));
        if (options.depth > 0) setDouble(IDC_WAVE_DEPTH, options.depth);
        setComboItems(IDC_WAVE_SEPARATION, separationItems(), int(options.reflectionOutput));
    } else {
        setInt(IDC_RUN_CHANNEL, options.channels.empty() ? 0 : options.channels[0]);
    }
    setInt(IDC_RUN_FROM, options.from);
    setInt(IDC_RUN_TO, options.to);
    if (kind == WaveAnalysis::Statistics) {
        setDouble(IDC_WAVE_THRESHOLD, options.waves.threshold);
        setChecked(IDC_WAVE_UP, options.waves.upCrossing);
        setComboItems(IDC_WAVE_DETREND, detrendItems(), int(options.waves.detrend));
        setDouble(IDC_WAVE_DEPTH, options.waves.depth);
        setDouble(IDC_WAVE_SLOPE, options.waves.slope);
        return;
    }
    setComboItems(IDC_WAVE_DETREND, detrendItems(), int(options.detrend));
    setInt(IDC_WAVE_SEGMENT, options.segment);
    setDouble(IDC_WAVE_FMIN, options.band.fmin);
    setDouble(IDC_WAVE_FMAX, options.band.fmax);
}

bool CWaveRunDlg::readGauges(WaveRunOptions& read) {
    const int32_t last = source->channelCount - 1;
    std::vector<int32_t> channels;
    for (const QString& item : listItems(text(IDC_WAVE_GAUGES))) {
        bool ok = false;
        int value = item.toInt(&ok);
        if (!ok || value < 0 || value > last) {
            channels.clear();
            break;
        }
        channels.push_back(value);
    }
    if (channels.size() < 2 || channels.size() > MAX_REFLECTION_GAUGES) {
        showFieldHint(IDC_WAVE_GAUGES,
                      QStringLiteral("Enter 2 to %1 channels from 0 to %2, separated by commas.")
                          .arg(MAX_REFLECTION_GAUGES)
                          .arg(last));
        return false;
    }
    read.channels = channels;
    return true;
}

bool CWaveRunDlg::readBlock(WaveRunOptions& read) {
    if (kind != WaveAnalysis::Reflection) {
        BlockRange range{options.channels.empty() ? 0 : options.channels[0], read.from, read.to};
        if (!readRunRange(*this, *source, range)) return false;
        read.channels = {range.channel};
        read.from = range.from;
        read.to = range.to;
        return true;
    }
    return readGauges(read) && readInt(IDC_RUN_FROM, read.from, 0, source->sampleCount) &&
           readInt(IDC_RUN_TO, read.to, 0, source->sampleCount);
}

bool CWaveRunDlg::readAnalysisFields(WaveRunOptions& read) {
    const int detrend = comboSelection(IDC_WAVE_DETREND);
    if (kind == WaveAnalysis::Statistics) {
        read.waves.upCrossing = isChecked(IDC_WAVE_UP);
        if (detrend >= 0) read.waves.detrend = Detrend(detrend);
        if (!readDouble(IDC_WAVE_THRESHOLD, read.waves.threshold) ||
            !readDouble(IDC_WAVE_DEPTH, read.waves.depth) ||
            !readDouble(IDC_WAVE_SLOPE, read.waves.slope))
            return false;
        // Depth 0 is deep water: no composite Weibull, whatever the slope.
        if (read.waves.depth == 0) read.waves.slope = 0;
        return true;
    }
    if (detrend >= 0) read.detrend = Detrend(detrend);
    if (!readInt(IDC_WAVE_SEGMENT, read.segment, 0, INT32_MAX) ||
        !readDouble(IDC_WAVE_FMIN, read.band.fmin) || !readDouble(IDC_WAVE_FMAX, read.band.fmax))
        return false;
    if (kind != WaveAnalysis::Reflection) return true;
    std::vector<double> positions;
    for (const QString& item : listItems(text(IDC_WAVE_POSITIONS))) {
        bool ok = false;
        double value = item.toDouble(&ok);
        if (!ok || !std::isfinite(value)) {
            positions.clear();
            break;
        }
        positions.push_back(value);
    }
    if (positions.size() != read.channels.size()) {
        showFieldHint(IDC_WAVE_POSITIONS,
                      QStringLiteral("Enter one position in metres per gauge (%1), separated by "
                                     "commas.")
                          .arg(read.channels.size()));
        return false;
    }
    read.positions = positions;
    const int separation = comboSelection(IDC_WAVE_SEPARATION);
    if (separation >= 0) read.reflectionOutput = ReflectionOutput(separation);
    return readDouble(IDC_WAVE_DEPTH, read.depth);
}

int CWaveRunDlg::fieldFor(const std::string& reason) const {
    const int analysisField = kind == WaveAnalysis::Statistics   ? IDC_WAVE_THRESHOLD
                              : kind == WaveAnalysis::Reflection ? IDC_WAVE_POSITIONS
                                                                 : IDC_WAVE_FMIN;
    if (mentions(reason, "depth")) return IDC_WAVE_DEPTH;
    if (mentions(reason, "harmonic line")) return IDC_WAVE_SEPARATION;
    if (mentions(reason, "bound from free") || mentions(reason, "separate the first"))
        return IDC_WAVE_POSITIONS;
    if (mentions(reason, "slope")) return IDC_WAVE_SLOPE;
    if (mentions(reason, "position") || mentions(reason, "resolve")) return IDC_WAVE_POSITIONS;
    if (mentions(reason, "segment")) return IDC_WAVE_SEGMENT;
    if (mentions(reason, "fmax")) return IDC_WAVE_FMAX;
    if (mentions(reason, "band limits")) return IDC_WAVE_FMIN;
    if (mentions(reason, "complete wave")) return IDC_WAVE_THRESHOLD;
    // The channels and block are greyed in a Recalculate.
    if (previous) return analysisField;
    if (mentions(reason, "channel") || mentions(reason, "gauge"))
        return kind == WaveAnalysis::Reflection ? IDC_WAVE_GAUGES : IDC_RUN_CHANNEL;
    if (mentions(reason, "block")) return IDC_RUN_FROM;
    return analysisField;
}

int CWaveRunDlg::OnOK() {
    WaveRunOptions read = options;
    if ((source && !readBlock(read)) || !readAnalysisFields(read)) return 1;
    auto result = std::make_unique<CWaveResult>(kind);
    std::string why;
    bool taken = true;
    if (source)
        taken = result->TakeBlocks(*source, read, &why);
    else
        result->TakeBlocksOf(*previous);
    if (!taken || !result->Compute(read, &why)) {
        showFieldHint(fieldFor(why),
                      QStringLiteral("Not computed: %1.").arg(QString::fromStdString(why)));
        return 1;
    }
    options = result->options;
    if (optionsData) *optionsData = options;
    created = std::move(result);
    return CDialog::OnOK();
}
