#include "shell/ui/warning_message.h"

#include "shell/ui/modal_ui.h"

void showWarning(QWidget* parent, const QString& text) {
    // The core's reasons are written to follow "ondarix-batch: "; a box
    // starts a sentence.
    QString sentence = text;
    if (!sentence.isEmpty()) sentence[0] = sentence[0].toUpper();
    modalUi().message(parent, sentence);
}
