#include "shell/ui/warning_message.h"

#include "shell/ui/modal_ui.h"

QString boundedMessage(const QString& text) {
    QString kept = text.left(WARNING_MAX_CHARS);
    qsizetype end = -1;
    for (int line = 0; line < WARNING_MAX_LINES; ++line) {
        end = kept.indexOf(QLatin1Char('\n'), end + 1);
        if (end < 0) break;
    }
    if (end >= 0) kept.truncate(end);
    // Nothing but line ends left out: the text is whole.
    if (QStringView(text).mid(kept.size()).trimmed().isEmpty()) return text;
    return kept + QStringLiteral("...");
}

void showWarning(QWidget* parent, const QString& text) {
    // The core's reasons are written to follow "ondarix-batch: "; a box
    // starts a sentence.
    QString sentence = boundedMessage(text);
    if (!sentence.isEmpty()) sentence[0] = sentence[0].toUpper();
    modalUi().message(parent, sentence);
}
