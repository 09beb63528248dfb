#include "sea/ui/sea_wnd.h"

#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>

#include "sea/sea_report.h"
#include "sea/ui/irregular_sea_dlg.h"
#include "sea/ui/sea_dialog_templates.h"
#include "shell/command_ids.h"
#include "shell/ui/parameter_table.h"
#include "shell/ui/warning_message.h"
#include "shell/window_classes.h"
#include "view/ui/measure_view.h"
#include "view/ui/result_plot.h"
#include "waves/spectrum_measure.h"

namespace {

constexpr int SIDE_WIDTH = 320;
// The drive's three strips take this share of the height, the target the rest.
constexpr double DRIVE_SHARE = 0.68;

// The target on bins 0 .. a quarter beyond the band, where it is zero again.
bool targetMeasure(const TargetSpectrum& target, CMeasure& out) {
    VarianceSpectrum shown;
    shown.df = target.df;
    const size_t last = target.lastBin + std::max<size_t>(4, target.lastBin / 4);
    shown.density.assign(last + 1, 0.0);
    for (size_t k = target.firstBin; k <= target.lastBin; ++k)
        shown.density[k] = target.binDensity[k - target.firstBin];
    return spectrumMeasure(shown, "m", out);
}

// The target as its plot draws it, X in Hz.
PlotCurve targetCurve(const CMeasure& target) {
    PlotCurve c;
    c.name = QStringLiteral("Target");
    c.colour = Qt::black;
    for (int32_t j = 0; j < target.sampleCount; ++j) {
        c.x.push_back(j / target.sampleRate);
        c.y.push_back(target.value(0, j));
    }
    return c;
}

} // namespace

OwnedMeasure seaWindowMeasure(const SeaDrive& drive) {
    OwnedMeasure m(new CMeasure);
    if (!seaDriveMeasure(drive, *m, true)) return nullptr;
    return m;
}

CSeaWnd::~CSeaWnd() = default;

bool CSeaWnd::Create(int x, int y, int width, int height, QWidget* parent, int style) {
    return createChild(GENERATOR_CLASS, QStringLiteral("Irregular Sea"), parent, x, y, width,
                       height, style);
}

int CSeaWnd::OnCreate(void*) {
    if (createView(PLOT_SIGNAL) == -1) return -1;
    spectrumPlot = new CResultPlot(hwnd);
    spectrumPlot->hide();
    table = new QTableWidget(0, 2, hwnd);
    table->setHorizontalHeaderLabels({QStringLiteral("Drive"), QStringLiteral("Value")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setColumnWidth(0, 170);
    // Rows as tall as their text: the whole report fits beside the plots.
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    return 0;
}

void CSeaWnd::OnSize(int, int width, int height) {
    const int side = std::min(SIDE_WIDTH, width / 2);
    const bool target = spectrumPlot && !spectrumPlot->isHidden();
    const int driveHeight = target ? int(height * DRIVE_SHARE) : height;
    if (view && view->hwnd) {
        view->hwnd->setGeometry(0, 0, std::max(0, width - side), driveHeight);
        view->hwnd->update();
    }
    if (target)
        spectrumPlot->setGeometry(0, driveHeight, std::max(0, width - side), height - driveHeight);
    if (table) table->setGeometry(width - side, 0, side, height);
}

bool CSeaWnd::showDrive(const SeaDrive& drive) {
    OwnedMeasure m = seaWindowMeasure(drive);
    if (!m) return false;
    Attach(std::move(m));
    return showTarget(drive);
}

bool CSeaWnd::showTarget(const SeaDrive& drive) {
    auto target = std::make_unique<CMeasure>();
    if (drive.target.binDensity.empty()) // a regular or solitary wave has no spectrum
        target.reset();
    else if (!targetMeasure(drive.target, *target))
        return false;
    spectrum = std::move(target);
    // The drive and the sea it makes, one above the other.
    if (view && measure) {
        view->channels_per_screen = measure->channelCount;
        view->Layout();
        view->hwnd->update();
    }
    setTitle(QString::fromLatin1(seaDriveTitle(drive.report)));
    // A new drive lives only here until it is saved: closing asks, as for an
    // edited measurement.
    setModified(true);
    if (spectrumPlot) {
        PlotAxes axes;
        axes.xTitle = QStringLiteral("Frequency (Hz)");
        axes.yTitle = QStringLiteral("Target S (m\u00b2/Hz)");
        axes.yFromZero = true;
        std::vector<PlotCurve> curves;
        if (spectrum) curves.push_back(targetCurve(*spectrum));
        spectrumPlot->setPlot(axes, std::move(curves), {});
        spectrumPlot->setHidden(!spectrum);
        OnSize(0, hwnd->width(), hwnd->height());
    }
    reportLines = seaReportLines(drive.report, parameters);
    showParameterLines(table, reportLines);
    return true;
}

void CSeaWnd::OnRecalculate() {
    CIrregularSeaDlg dialog(parameters);
    dialog.tablePath = tablePath;
    if (showDialog(dialog, hwnd, DIALOG_IRREGULAR_SEA) != 1 || !dialog.created) return;
    const SeaParameters before = parameters;
    parameters = dialog.parameters;
    tablePath = dialog.tablePath;
    if (!showDrive(*dialog.created)) {
        parameters = before;
        showWarning(hwnd, QStringLiteral("Not enough memory to show the drive."));
    }
}

intptr_t CSeaWnd::OnCommand(int id, intptr_t param) {
    if (id == CMD_RECALCULATE) {
        OnRecalculate();
        return 0;
    }
    return CMeasureWnd::OnCommand(id, param);
}
