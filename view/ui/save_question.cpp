#include "view/ui/save_question.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "measure/text_encoding.h"
#include "shell/ui/modal_ui.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_wnd.h"

namespace {

void activate(CMeasureWnd& window) {
    QMdiSubWindow* frame = window.subWindow();
    if (frame && frame->mdiArea() && frame->mdiArea()->currentSubWindow() != frame)
        frame->mdiArea()->setActiveSubWindow(frame);
}

} // namespace

QString saveQuestionText(const CMeasureWnd& window) {
    QString name;
    if (window.measure && window.measure->path[0])
        name = QFileInfo(QString::fromStdString(displayText(window.measure->path))).fileName();
    if (name.isEmpty()) name = window.plainTitle();
    return QStringLiteral("Save changes to %1?").arg(name);
}

bool mayDiscardChanges(CMeasureWnd& window) {
    if (!window.isModified() || !window.measure) return true;
    activate(window);
    QWidget* owner = window.hwnd ? window.hwnd->window() : nullptr;
    switch (modalUi().askSaveChanges(owner, saveQuestionText(window))) {
    case SaveChoice::Save:
        return saveMeasureAs(owner, window);
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}
