#include "measure/ui/recovery_offer.h"

#include <QFile>
#include <QPointer>

#include <cstdio>
#include <ctime>

#include "measure/recovery_format.h"
#include "measure/text_encoding.h"
#include "measure/ui/recovery_keeper.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/modal_ui.h"
#include "shell/ui/warning_message.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_wnd.h"

namespace {

QString localTime(std::time_t when) {
    std::tm parts{};
    char text[32] = "";
    if (localtime_r(&when, &parts)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return QString::fromLatin1(text);
}

// Looks at the windows once the command and the other watches are done.
class AfterCommand {
  public:
    explicit AfterCommand(RecoveryKeeper* keeper) : keeper_(keeper) {}
    ~AfterCommand() {
        if (!keeper_) return;
        QPointer<RecoveryKeeper> keeper = keeper_;
        QMetaObject::invokeMethod(
            keeper_,
            [keeper] {
                if (keeper) keeper->keep(RecoveryKeeper::Clock::now());
            },
            Qt::QueuedConnection);
    }

  private:
    QPointer<RecoveryKeeper> keeper_;
};

void restoreOne(CMainFrame& frame, RecoveryKeeper& keeper, const RecoveryEntry& entry) {
    auto m = std::make_unique<CMeasure>();
    FileType type = FileType::Int;
    std::string why;
    if (!readRecoveryFile(*m, &type, entry.path, &why)) {
        // Taken by a program that started at the same time: nothing to say.
        if (!QFile::exists(QFile::decodeName(entry.path.c_str()))) return;
        const std::string aside = setAsideRecoveryEntry(entry);
        showWarning(&frame,
                    QStringLiteral("The recovery copy %1 cannot be read (%2); it is kept as %3.")
                        .arg(QFile::decodeName(entry.path.c_str()), QString::fromStdString(why),
                             QFile::decodeName(aside.c_str())));
        return;
    }
    switch (modalUi().askRestore(&frame, restoreQuestion(*m, entry))) {
    case RestoreChoice::Restore:
        if (CMeasureWnd* window = openMeasureWindow(frame, m.release())) {
            window->setModified(true);
            keeper.adopt(*window, entry);
        }
        break;
    case RestoreChoice::Discard:
        std::remove(entry.path.c_str());
        break;
    case RestoreChoice::Later:
        break;
    }
}

} // namespace

QString restoreQuestion(const CMeasure& m, const RecoveryEntry& entry) {
    QString name = QString::fromStdString(displayText(m.path));
    if (name.isEmpty()) name = QStringLiteral("an unnamed measurement");
    return QStringLiteral("Ondarix ended without saving the changes to %1 (kept at %2). "
                          "Restore them?")
        .arg(name, localTime(entry.written));
}

void offerRecovery(CMainFrame& frame, RecoveryKeeper& keeper) {
    for (const RecoveryEntry& entry : keeper.store().orphans())
        restoreOne(frame, keeper, entry);
}

void startRecovery(CMainFrame& frame) {
    auto* keeper = new RecoveryKeeper(frame, RecoveryStore(recoveryFolder()));
    offerRecovery(frame, *keeper);
}

std::shared_ptr<void> recoveryAfterCommand(CMainFrame& frame, int) {
    RecoveryKeeper* keeper = RecoveryKeeper::of(frame);
    if (!keeper) return nullptr;
    return std::make_shared<AfterCommand>(keeper);
}
