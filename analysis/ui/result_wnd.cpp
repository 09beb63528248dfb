#include "analysis/ui/result_wnd.h"

#include <QMdiSubWindow>
#include <QProgressBar>

#include <algorithm>

#include "analysis/result_registry.h"
#include "measure/text_encoding.h"
#include "shell/command_ids.h"
#include "shell/ui/warning_message.h"
#include "view/ui/description_watch.h"
#include "view/ui/measure_view.h"

namespace {
constexpr int PROGRESS_HEIGHT = 16;
}

int CResultWnd::OnCreate(void*) {
    if (createView(initialPlotMode()) == -1) return -1;
    progress_ = new QProgressBar(hwnd);
    progress_->setTextVisible(true);
    progress_->setFormat(QStringLiteral("%v of %m"));
    progress_->hide();
    return 0;
}

void CResultWnd::OnSize(int, int width, int height) {
    placeChildren(width, height);
}

void CResultWnd::placeChildren(int width, int height) {
    bool showing = progress_ && !progress_->isHidden();
    int bar = showing ? PROGRESS_HEIGHT : 0;
    if (view && view->hwnd) view->hwnd->setGeometry(0, 0, width, std::max(0, height - bar));
    if (showing) progress_->setGeometry(0, height - bar, width, bar);
}

CCalculation* CResultWnd::result() const {
    return static_cast<CCalculation*>(measure.get());
}

bool CResultWnd::running() const {
    return result() && result()->state() != CalcState::Idle;
}

void CResultWnd::Attach(OwnedMeasure m) {
    measure = std::move(m);
    if (view) view->SetMeasure(measure.get());
    registerResult(result(), [this] {
        updateTitle();
        updateProgress();
        if (view) view->Refresh();
    });
    updateTitle();
    start();
    showStatusIfActive();
}

void CResultWnd::updateTitle() {
    if (result())
        setTitle(QString::fromStdString(displayText(result()->Title(titleSuffix()).c_str())));
}

void CResultWnd::updateProgress() {
    if (!progress_) return;
    bool wasShown = !progress_->isHidden();
    if (running()) {
        const WorkerParams& p = *result()->params;
        if (countsProgress())
            progress_->setRange(0, std::max(1, int(p.count)));
        else
            progress_->setRange(0, 0); // busy: the worker counts passes, not the range
        progress_->setValue(p.done.load(std::memory_order_acquire));
        progress_->show();
    } else {
        progress_->hide();
    }
    if (wasShown != !progress_->isHidden()) placeChildren(hwnd->width(), hwnd->height());
}

const char* CResultWnd::runProblem() const {
    RangeCheck check = checkRange(result()->source, result()->range);
    return check == RangeCheck::Ok ? nullptr : rangeCheckText(check);
}

bool CResultWnd::start() {
    CCalculation* calc = result();
    if (!calc) return false;
    beforeRun();
    const char* problem = runProblem();
    const std::string why = problem ? std::string(problem) : calc->blockRefusal();
    if (!why.empty()) {
        showWarning(
            hwnd,
            QStringLiteral("The analysis was not started: %1.").arg(QString::fromStdString(why)));
        return false;
    }
    bool started = calc->StartWorker(this);
    if (view) view->Refresh();
    updateProgress();
    if (!started)
        showWarning(hwnd, QStringLiteral("The analysis could not be started: there is not "
                                         "enough memory for its result."));
    return started;
}

void CResultWnd::post(int command, int32_t, uint32_t run) {
    // The window is destroyed only after its result's worker was joined.
    postCommand(hwnd, command, intptr_t(run));
}

void CResultWnd::OnRecalculate() {
    CCalculation* calc = result();
    if (!calc || calc->closed()) return;
    calc->StopWorker();
    if (view) view->Refresh();
    updateProgress();
    if (runDialog()) start();
}

intptr_t CResultWnd::OnCommand(int id, intptr_t param) {
    // The end of a run, and "Recalculate" with its dialog, write into the
    // source's component list: the source's window is then modified.
    const bool writesSource = id == CMD_CALC_DONE || id == CMD_RECALCULATE;
    DescriptionWatch watch(subWindow() ? subWindow()->mdiArea() : nullptr,
                           writesSource && result() ? result()->source : nullptr);
    switch (id) {
    case CMD_CALC_PROGRESS:
    case CMD_CALC_DONE:
        if (result() && result()->OnWorkerMessage(id, uint32_t(param))) {
            if (view) view->Refresh();
            if (id == CMD_CALC_DONE) afterRun();
        }
        updateProgress();
        break;
    case CMD_RECALCULATE:
        OnRecalculate();
        break;
    default:
        break;
    }
    return CMeasureWnd::OnCommand(id, param);
}
