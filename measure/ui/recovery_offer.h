// The start after a crash: each recovery copy a program that died left
// behind is offered (Restore or Discard); a restored one opens as the window
// it was, changed and titled after its file, so that saving it goes where it
// would have gone.
#pragma once

#include <QString>

#include <memory>

#include "shell/recovery_store.h"

class CMainFrame;
class CMeasure;
class RecoveryKeeper;

// "Ondarix ended without saving the changes to <path> (kept at <time>).
// Restore them?"
QString restoreQuestion(const CMeasure& m, const RecoveryEntry& entry);

// Asks about every copy of `keeper`'s store that no running program keeps;
// restored windows are handed to `keeper`.
void offerRecovery(CMainFrame& frame, RecoveryKeeper& keeper);

// The start-up step: a keeper for `frame` in the user's state folder, then
// the offer.
void startRecovery(CMainFrame& frame);

// The frame's command watch: after each command the keeper takes a look at
// once (a save removes the copy without waiting for the timer).
std::shared_ptr<void> recoveryAfterCommand(CMainFrame& frame, int id);
