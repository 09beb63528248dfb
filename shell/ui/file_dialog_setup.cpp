#include "shell/ui/file_dialog_setup.h"

#include <QFileDialog>

#include "shell/ui/modal_ui.h"

void setUpFileDialog(QFileDialog& dialog, const FileDialogRequest& request) {
    dialog.setWindowTitle(request.title);
    dialog.setNameFilters(request.filters);
    if (request.startFilter > 1 && request.startFilter <= request.filters.size())
        dialog.selectNameFilter(request.filters[request.startFilter - 1]);
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles
                                            : QFileDialog::ExistingFile);
    }
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
}
