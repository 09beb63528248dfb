#include "shell/ui/file_dialogs.h"

#include <QFileDialog>

namespace {

FileDialogAnswer scriptedAnswer(const FileDialogRequest& request) {
    dialogScript::recordFileRequest(request);
    dialogScript::FileDialogStep step;
    if (!dialogScript::takeFileDialog(step)) return FileDialogAnswer{};
    return step(request);
}

} // namespace

FileDialogAnswer runFileDialog(QWidget* owner, const FileDialogRequest& request) {
    if (dialogScript::active()) return scriptedAnswer(request);
    QFileDialog dialog(owner, request.title);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(QStringLiteral("INT"));
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    FileDialogAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return answer;
    answer.accepted = true;
    answer.path = dialog.selectedFiles().constFirst();
    answer.filterIndex = int(request.filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (answer.filterIndex < 1) answer.filterIndex = 1;
    return answer;
}
