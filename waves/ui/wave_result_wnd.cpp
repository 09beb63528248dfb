#include "waves/ui/wave_result_wnd.h"

#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>

#include "shell/command_ids.h"
#include "shell/ui/parameter_table.h"
#include "shell/ui/warning_message.h"
#include "shell/window_classes.h"
#include "view/ui/measure_view.h"
#include "view/ui/result_plot.h"
#include "view/view_state.h"
#include "waves/ui/result_curves.h"
#include "waves/ui/wave_result_plot.h"
#include "waves/ui/wave_run_dlg.h"

namespace {

constexpr int TABLE_WIDTH = 300;
constexpr int COPY_HEIGHT = 28;
constexpr int HINT_HEIGHT = 64;
// Wave statistics: H, T and the exceedance.
constexpr int MAX_PLOTS = 3;

// The `count` plots share `area`'s height equally, the `i`th from the top.
QRect plotArea(int i, int count, QSize area) {
    const int top = area.height() * i / count, next = area.height() * (i + 1) / count;
    return QRect(0, top, std::max(0, area.width()), next - top);
}

} // namespace

CWaveResultWnd::CWaveResultWnd() = default;
CWaveResultWnd::~CWaveResultWnd() = default;

bool CWaveResultWnd::Create(int x, int y, int width, int height, QWidget* parent, int style) {
    return createChild(KALMAN_CLASS, QStringLiteral("Wave Analysis"), parent, x, y, width, height,
                       style);
}

int CWaveResultWnd::OnCreate(void*) {
    if (createView(PLOT_SIGNAL) == -1) return -1;
    view->hwnd->hide();
    for (int i = 0; i < MAX_PLOTS; ++i) {
        plots.push_back(new CResultPlot(hwnd));
        plots.back()->hide();
    }
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
    const std::vector<CResultPlot*> shown = shownPlots();
    // The hidden view spans the plots' area, as a measurement window's view
    // spans its client.
    if (view && view->hwnd) {
        view->hwnd->setGeometry(0, 0, std::max(0, width - side), height);
        view->Layout();
    }
    for (int i = 0; i < int(shown.size()); ++i)
        shown[size_t(i)]->setGeometry(plotArea(i, int(shown.size()), {width - side, height}));
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
    // The hidden view takes no focus: without a taker here, the window that
    // had it before the run dialog got it back and came to the front.
    if (table) table->setFocus();
}

void CWaveResultWnd::showResult() {
    CWaveResult* r = result();
    if (view) {
        // The hidden view holds the result for the window's commands.
        view->SetMeasure(r);
        if (r) showWaveCurves(*view, *r, r->kind);
        view->Layout();
    }
    if (hint) {
        QStringList lines;
        if (r)
            for (const std::string& w : r->warnings)
                lines << QString::fromStdString(w);
        hint->setText(lines.join(QLatin1Char('\n')));
        hint->setHidden(lines.isEmpty());
    }
    showPlots();
    if (!r) return;
    setTitle(QString::fromStdString(r->sourcePath) + QStringLiteral(" - ") +
             QString::fromLatin1(waveAnalysisName(r->kind)));
    showParameterLines(table, r->parameterLines);
}

bool CWaveResultWnd::paintPicture(QPainter& painter, QSize size, PlotTextLog* log) const {
    const std::vector<CResultPlot*> shown = shownPlots();
    if (shown.empty()) return false;
    for (int i = 0; i < int(shown.size()); ++i) {
        const QRect area = plotArea(i, int(shown.size()), size);
        PlotTextLog texts;
        painter.save();
        painter.translate(area.topLeft());
        shown[size_t(i)]->paint(painter, area.size(), log ? &texts : nullptr);
        painter.restore();
        if (log)
            for (auto& [box, text] : texts)
                log->push_back({box.translated(area.topLeft()), text});
    }
    return true;
}

QSize CWaveResultWnd::pictureSize() const {
    QRect area;
    for (const CResultPlot* p : shownPlots())
        area |= p->geometry();
    return area.isEmpty() ? CMeasureWnd::pictureSize() : area.size();
}

std::vector<CResultPlot*> CWaveResultWnd::shownPlots() const {
    std::vector<CResultPlot*> shown;
    for (CResultPlot* p : plots)
        if (!p->isHidden()) shown.push_back(p);
    return shown;
}

void CWaveResultWnd::showPlots() {
    const CWaveResult* r = result();
    const std::vector<ResultPlotContent> content =
        r ? resultPlots(*r, shownRows(*r, r->kind)) : std::vector<ResultPlotContent>{};
    for (size_t i = 0; i < plots.size(); ++i) {
        if (i < content.size())
            plots[i]->setPlot(content[i].axes, content[i].curves, content[i].bands);
        plots[i]->setHidden(i >= content.size());
    }
    OnSize(0, hwnd->width(), hwnd->height());
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
