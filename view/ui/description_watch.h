// Marks the window that owns a measurement as modified when a command
// changed the measurement's description: its name, rate, channel
// descriptions or component lists (the configuration dialogs, Block info,
// the popup's Add, a Kalman or approximation run writing its estimates back).
#pragma once

#include <QPointer>

#include <memory>

#include "measure/measure.h"

class CMeasureWnd;
class QMdiArea;

class CMainFrame;

// The watch the frame keeps while it carries out `id`: a DescriptionWatch on
// the active measure window for the commands whose dialogs edit its
// measurement in place (File -> Info, Block info and the popup's Info, the
// popup's Add, and the Kalman and approximation run dialogs); null otherwise.
std::shared_ptr<void> watchDescription(CMainFrame& frame, int id);

// The window among `area`'s children whose measurement is `measure`; null
// when none is (the window was closed).
CMeasureWnd* measureOwner(QMdiArea* area, const CMeasure* measure);

// Takes the description of `measure` when made and compares it when it goes:
// a difference marks the measurement's window, if it is still open. Watches
// nothing for a null area or measurement.
class DescriptionWatch {
  public:
    DescriptionWatch(QMdiArea* area, const CMeasure* measure);
    ~DescriptionWatch();
    DescriptionWatch(const DescriptionWatch&) = delete;
    DescriptionWatch& operator=(const DescriptionWatch&) = delete;

  private:
    QPointer<QMdiArea> area_;
    const CMeasure* measure_;
    std::unique_ptr<CHeader> before_;
};
