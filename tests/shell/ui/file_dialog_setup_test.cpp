// The program's real file dialogs: a save dialog leaves the question about an
// existing file to the save, which asks it for the name it finally writes
// (else a name typed with its extension was asked about twice).
#include <gtest/gtest.h>

#include <QFileDialog>

#include "shell/ui/file_dialog_setup.h"
#include "shell/ui/modal_ui.h"

TEST(FileDialogSetup, SaveDialogsLeaveTheReplaceQuestionToTheSave) {
    FileDialogRequest request;
    request.save = true;
    request.title = QStringLiteral("Save As");
    request.filters = {QStringLiteral("DAXO 1.5 File (*.INT)")};
    QFileDialog save;
    setUpFileDialog(save, request);
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(save.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(save.windowTitle(), "Save As");

    request.save = false;
    QFileDialog open;
    setUpFileDialog(open, request);
    EXPECT_EQ(open.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open.fileMode(), QFileDialog::ExistingFile);
}
