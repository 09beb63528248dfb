#include "waves/ui/wave_result_wnd.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

#include "shell/command_ids.h"
#include "shell/ui/parameter_table.h"
#include "shell/ui/warning_message.h"
#include "shell/window_classes.h"
#include "view/ui/measure_view.h"
#include "view/view_state.h"
#include "waves/exceedance_measure.h"
#include "waves/ui/wave_result_plot.h"
#include "waves/ui/wave_run_dlg.h"

namespace {

constexpr int TABLE_WIDTH = 300;
constexpr int COPY_HEIGHT = 28;
constexpr int HINT_HEIGHT = 64;

} // namespace

CWaveResultWnd::CWaveResultWnd() = default;
CWaveResultWnd::~CWaveResultWnd() = default;

bool CWaveResultWnd::Create(int x, int y, int width, int height, QWidget* parent, int style) {
    return createChild(KALMAN_CLASS, QStringLiteral("Wave Analysis"), parent, x, y, width, height,
                       style);
}

int CWaveResultWnd::OnCreate(void*) {
    if (createView(PLOT_SIGNAL) == -1) return -1;
    exceedanceView = std::make_unique<CMeasureView>();
    exceedanceView->plot_mode = PLOT_SIGNAL;
    if (exceedanceView->Create(0, 0, hwnd->width(), hwnd->height(), hwnd, 0)) return -1;
    exceedanceView->hwnd->hide();
    table = new QTableWidget(0, 2, hwnd);
    table->setHorizontalHeaderLabels({QStringLiteral("Parameter"), QStringLiteral("Value")});
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setColumnWidth(0, 160);
    copyButton = new QPushButton(QStringLiteral("&Copy as text"), hwnd);
    copyButton->setToolTip(QStringLiteral("Copies the parameters as tab-separated text"));
    QObject::connect(copyButton, &QPushButton::clicked, hwnd, [this] { copyTable(); });
    hint = new QLabel(hwnd);
    hint->setWordWrap(true);
    hint->hide();
    return 0;
}

void CWaveResultWnd::OnSize(int, int width, int height) {
    const int side = std::min(TABLE_WIDTH, width / 2);
    const bool both = exceedanceView && exceedanceView->hwnd && exceedanceView->hwnd->isVisible();
    const int top = both ? height / 2 : height;
    if (view && view->hwnd) {
        view->hwnd->setGeometry(0, 0, std::max(0, width - side), top);
        view->hwnd->update();
    }
    if (both) {
        exceedanceView->hwnd->setGeometry(0, top, std::max(0, width - side), height - top);
        exceedanceView->hwnd->update();
    }
    const int hinted = hint && !hint->isHidden() ? HINT_HEIGHT : 0;
    if (table)
        table->setGeometry(width - side, 0, side, std::max(0, height - COPY_HEIGHT - hinted));
    if (hint && hinted)
        hint->setGeometry(width - side, std::max(0, height - COPY_HEIGHT - hinted), side, hinted);
    if (copyButton)
        copyButton->setGeometry(width - side, std::max(0, height - COPY_HEIGHT), side, COPY_HEIGHT);
}

void CWaveResultWnd::Attach(OwnedMeasure m) {
    measure = std::move(m);
    if (result() && !result()->computed()) {
        std::string why;
        if (!result()->Compute(result()->options, &why))
            showWarning(hwnd, QStringLiteral("The analysis was not computed: %1.")
                                  .arg(QString::fromStdString(why)));
    }
    showResult();
    showStatusIfActive();
}

void CWaveResultWnd::showResult() {
    CWaveResult* r = result();
    if (view) {
        view->SetMeasure(r);
        if (r) showWaveCurves(*view, *r, r->kind);
        view->Layout();
        view->hwnd->update();
    }
    if (hint) {
        QStringList lines;
        if (r)
            for (const std::string& w : r->warnings)
                lines << QString::fromStdString(w);
        hint->setText(lines.join(QLatin1Char('\n')));
        hint->setHidden(lines.isEmpty());
    }
    showExceedance();
    if (!r) return;
    setTitle(QString::fromStdString(r->sourcePath) + QStringLiteral(" - ") +
             QString::fromLatin1(waveAnalysisName(r->kind)));
    showParameterLines(table, r->parameterLines);
}

void CWaveResultWnd::showExceedance() {
    if (!exceedanceView || !exceedanceView->hwnd) return;
    CWaveResult* r = result();
    const bool shown = r && r->kind == WaveAnalysis::Statistics && r->exceedance.sampleCount > 0;
    exceedanceView->SetMeasure(shown ? &r->exceedance : nullptr);
    exceedanceView->hwnd->setVisible(shown);
    if (shown) {
        showExceedanceCurves(*exceedanceView, r->exceedance, r->unit.c_str());
        exceedanceView->Layout();
    }
    OnSize(0, hwnd->width(), hwnd->height());
}

void CWaveResultWnd::OnDestroy() {
    exceedanceView.reset();
    CMeasureWnd::OnDestroy();
}

std::string CWaveResultWnd::tableText() const {
    std::string text;
    if (!table) return text;
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = 0; column < 2; ++column) {
            const QTableWidgetItem* item = table->item(row, column);
            if (column > 0) text += '\t';
            if (item) text += item->text().toStdString();
        }
        text += "\r\n";
    }
    return text;
}

void CWaveResultWnd::copyTable() const {
    if (Clipboard* target = clipboard()) target->setText(tableText());
}

void CWaveResultWnd::OnRecalculate() {
    if (!result()) return;
    CWaveRunDlg dialog(*result());
    if (showDialog(dialog, hwnd, CWaveRunDlg::templateOf(result()->kind)) != 1 || !dialog.created)
        return;
    // The view lets go of the old result before it goes.
    OwnedMeasure old = std::move(measure);
    measure = OwnedMeasure(dialog.created.release());
    showResult();
}

intptr_t CWaveResultWnd::OnCommand(int id, intptr_t param) {
    if (id == CMD_RECALCULATE) {
        OnRecalculate();
        return 0;
    }
    return CMeasureWnd::OnCommand(id, param);
}
