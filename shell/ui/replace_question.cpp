#include "shell/ui/replace_question.h"

#include <QFileInfo>

#include "shell/ui/modal_ui.h"

QString replaceQuestionText(const QString& path) {
    return QStringLiteral("%1 already exists. Replace it?").arg(QFileInfo(path).fileName());
}

bool mayReplace(QWidget* owner, const QString& path) {
    // A dangling link is a name in use too, though exists() follows it.
    QFileInfo file(path);
    if (!file.exists() && !file.isSymLink()) return true;
    return modalUi().askYesNo(owner, replaceQuestionText(path));
}
