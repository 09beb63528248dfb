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
#include "waves/spectrum_measure.h"

namespace {

constexpr int SIDE_WIDTH = 320;

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

} // namespace

OwnedMeasure seaWindowMeasure(const SeaDrive& drive) {
    OwnedMeasure m(new CMeasure);
    if (!seaDriveMeasure(drive, *m, true)) return nullptr;
    return m;
}

CSeaWnd::~CSeaWnd() {
    spectrumView.reset();
}

bool CSeaWnd::Create(int x, int y, int width, int height, QWidget* parent, int style) {
    return createChild(GENERATOR_CLASS, QStringLiteral("Irregular Sea"), parent, x, y, width,
                       height, style);
}

int CSeaWnd::OnCreate(void*) {
    if (createView(PLOT_SIGNAL) == -1) return -1;
    spectrumView = std::make_unique<CMeasureView>();
    spectrumView->plot_mode = PLOT_SIGNAL;
    if (spectrumView->Create(0, 0, SIDE_WIDTH, hwnd->height() / 2, hwnd, 0)) {
        spectrumView.reset();
        return -1;
    }
    table = new QTableWidget(0, 2, hwnd);
    table->setHorizontalHeaderLabels({QStringLiteral("Drive"), QStringLiteral("Value")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setColumnWidth(0, 170);
    return 0;
}

void CSeaWnd::OnDestroy() {
    // The spectrum's view lets go of the spectrum before the window goes.
    spectrumView.reset();
    CMeasureWnd::OnDestroy();
}

void CSeaWnd::OnSize(int, int width, int height) {
    const int side = std::min(SIDE_WIDTH, width / 2);
    if (view && view->hwnd) {
        view->hwnd->setGeometry(0, 0, std::max(0, width - side), height);
        view->hwnd->update();
    }
    if (spectrumView && spectrumView->hwnd) {
        spectrumView->hwnd->setGeometry(width - side, 0, side, height / 2);
        spectrumView->hwnd->update();
    }
    if (table) table->setGeometry(width - side, height / 2, side, height - height / 2);
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
    // The view lets go of the old spectrum before it goes.
    if (spectrumView) spectrumView->SetMeasure(nullptr);
    spectrum = std::move(target);
    // The drive and the sea it makes, one above the other.
    if (view && measure) {
        view->channels_per_screen = measure->channelCount;
        view->Layout();
        view->hwnd->update();
    }
    setTitle(QString::fromLatin1(drive.report.solitary  ? "Solitary wave drive"
                                 : drive.report.regular ? "Regular sea drive"
                                                        : "Irregular sea drive"));
    // A new drive lives only here until it is saved: closing asks, as for an
    // edited measurement.
    setModified(true);
    if (spectrumView) {
        spectrumView->SetMeasure(spectrum.get());
        spectrumView->x_unit = "Hz";
        spectrumView->scroll_x = 0;
        spectrumView->visible_samples = spectrum ? std::max(spectrum->sampleCount, 1) : 1;
        spectrumView->channels_per_screen = 1;
        spectrumView->Layout();
        spectrumView->hwnd->update();
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
