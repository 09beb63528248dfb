#include "shell/ui/modal_ui.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

#include "shell/menus.h"
#include "shell/ui/choice_question.h"
#include "shell/ui/file_dialog_setup.h"
#include "shell/ui/menu_builder.h"
#include "shell/ui/number_question.h"

namespace {

// Qt's own dialogs, menus and boxes, shown to the user.
class DesktopModalUi : public ModalUi {
  public:
    int runDialog(ModalDialog& dialog) override { return dialog.widget()->exec(); }

    FileDialogAnswer fileDialog(QWidget* owner, const FileDialogRequest& request) override {
        QFileDialog dialog(owner);
        setUpFileDialog(dialog, request);
        FileDialogAnswer answer;
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return answer;
        answer.accepted = true;
        answer.paths = dialog.selectedFiles();
        answer.path = answer.paths.constFirst();
        answer.filterIndex = int(request.filters.indexOf(dialog.selectedNameFilter())) + 1;
        if (answer.filterIndex < 1) answer.filterIndex = 1;
        return answer;
    }

    int popupMenu(const MenuPopup& popup, QWidget* owner, const QPoint& globalPos) override {
        std::unique_ptr<QMenu> menu(buildPopup(popup, owner, nullptr));
        return commandIdOf(menu->exec(globalPos));
    }

    void message(QWidget* parent, const QString& text) override {
        QMessageBox::warning(parent, QStringLiteral("Ondarix"), text);
    }

    SaveChoice askSaveChanges(QWidget* parent, const QString& text) override {
        QMessageBox::StandardButton pressed = QMessageBox::question(
            parent, QStringLiteral("Ondarix"), text,
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
        if (pressed == QMessageBox::Save) return SaveChoice::Save;
        if (pressed == QMessageBox::Discard) return SaveChoice::Discard;
        return SaveChoice::Cancel;
    }

    bool askYesNo(QWidget* parent, const QString& text) override {
        return QMessageBox::question(parent, QStringLiteral("Ondarix"), text,
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }

    bool askNumber(QWidget* parent, const QString& text, double* value) override {
        NumberQuestion question(parent, text);
        if (question.exec() != QDialog::Accepted) return false;
        *value = question.value();
        return true;
    }

    int askChoice(QWidget* parent, const QString& text, const QStringList& items,
                  int selected) override {
        ChoiceQuestion question(parent, text, items, selected);
        return question.exec() == QDialog::Accepted ? question.chosen() : -1;
    }

    RestoreChoice askRestore(QWidget* parent, const QString& text) override {
        // No Escape and no close button: a copy is restored or discarded on
        // purpose, never by a reflex.
        QMessageBox box(QMessageBox::Question, QStringLiteral("Ondarix"), text,
                        QMessageBox::NoButton, parent);
        QPushButton* restore = box.addButton(QStringLiteral("&Restore"), QMessageBox::AcceptRole);
        QPushButton* discard = box.addButton(QMessageBox::Discard);
        box.setDefaultButton(restore);
        box.exec();
        if (box.clickedButton() == restore) return RestoreChoice::Restore;
        if (box.clickedButton() == discard) return RestoreChoice::Discard;
        return RestoreChoice::Later;
    }

    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

ModalUi* installed = nullptr;

} // namespace

ModalUi& modalUi() {
    static DesktopModalUi desktop;
    return installed ? *installed : desktop;
}

void setModalUi(ModalUi* ui) {
    installed = ui;
}
