#include "view/ui/description_watch.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "measure/same_description.h"
#include "view/ui/measure_wnd.h"

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
