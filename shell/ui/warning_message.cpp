#include "shell/ui/warning_message.h"

#include <QFileInfo>

#include "shell/ui/modal_ui.h"

namespace {

// The core's reasons are written to follow "ondarix-batch: " and start with a
// lower-case word; a box starts a sentence. A message that starts with a file
// name ("gauges_t.mat: ...") keeps the name's own letter case.
bool startsWithWord(const QString& text) {
    const qsizetype space = text.indexOf(QLatin1Char(' '));
    if (space <= 0) return false;
    for (QChar c : QStringView(text).left(space))
        if (!c.isLetter()) return false;
    // A name with a space in it ("my runs/a.csv: ...") passes as words.
    const qsizetype colon = text.indexOf(QStringLiteral(": "));
    return colon < 0 || !QFileInfo::exists(text.left(colon));
}

} // namespace

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
    QString sentence = boundedMessage(text);
    if (startsWithWord(sentence)) sentence[0] = sentence[0].toUpper();
    modalUi().message(parent, sentence);
}
