#include "view/ui/description_watch.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "measure/same_description.h"
#include "shell/command_ids.h"
#include "shell/ui/main_frame.h"
#include "view/ui/measure_wnd.h"

namespace {

bool editsDescription(int id) {
    switch (id) {
    case CMD_INFO:
    case CMD_BLOCK_INFO:
    case CMD_VIEW_INFO:
    case CMD_VIEW_ADD:
    case CMD_KALMAN:
    case CMD_APPROXIMATION:
        return true;
    default:
        return false;
    }
}

} // namespace

std::shared_ptr<void> watchDescription(CMainFrame& frame, int id) {
    if (!editsDescription(id)) return nullptr;
    auto* window = dynamic_cast<CMeasureWnd*>(frame.activeChild());
    if (!window) return nullptr;
    return std::make_shared<DescriptionWatch>(frame.mdiClient(), window->measure.get());
}

CMeasureWnd* measureOwner(QMdiArea* area, const CMeasure* measure) {
    if (!area || !measure) return nullptr;
    for (QMdiSubWindow* window : area->subWindowList()) {
        auto* owner = dynamic_cast<CMeasureWnd*>(CMDIChildWnd::fromSubWindow(window));
        if (owner && owner->measure.get() == measure) return owner;
    }
    return nullptr;
}

DescriptionWatch::DescriptionWatch(QMdiArea* area, const CMeasure* measure)
    : area_(area), measure_(measure) {
    if (area && measure) before_ = std::make_unique<CHeader>(*measure);
}

DescriptionWatch::~DescriptionWatch() {
    if (!before_) return;
    // Found by its address only: a measurement whose window went is not read.
    CMeasureWnd* owner = measureOwner(area_, measure_);
    if (owner && !sameDescription(*before_, *owner->measure)) owner->setModified(true);
}
