#include "shell/ui/file_commands.h"

#include <QFile>
#include <QMdiArea>

#include <memory>
#include <string>

#include "measure/measure_file.h"
#include "measure/text_format.h"
#include "shell/command_ids.h"
#include "shell/file_name_buffer.h"
#include "shell/ui/frame_commands.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/mdi_child_wnd.h"
#include "shell/ui/modal_ui.h"
#include "shell/ui/warning_message.h"
#include "view/ui/measure_wnd.h"

namespace {

QString sharedName() {
    return QFile::decodeName(sharedFileName().get());
}

void rememberName(const QString& path) {
    sharedFileName().set(QFile::encodeName(path).toStdString());
}

FileType openTypeOf(int filterIndex) {
    switch (filterIndex) {
    case 2:
        return FileType::M11;
    case 3:
        return FileType::Text;
    case 4:
        return FileType::Wave;
    default: // the .INT type and "All files"
        return FileType::Int;
    }
}

FileType saveTypeOf(int filterIndex) {
    switch (filterIndex) {
    case 2:
        return FileType::M11;
    case 3:
        return FileType::Text;
    default:
        return FileType::Int;
    }
}

// Shows a save dialog proposing the shared name without its measurement extension.
FileDialogAnswer askSavePath(CMainFrame& frame, const QStringList& types) {
    sharedFileName().cutMeasureExtension();
    FileDialogRequest request;
    request.save = true;
    request.title = QStringLiteral("Save As");
    request.filters = types;
    request.fileName = sharedName();
    FileDialogAnswer answer = modalUi().fileDialog(&frame, request);
    if (answer.accepted) rememberName(answer.path);
    return answer;
}

} // namespace

QStringList openFileTypes() {
    return {QStringLiteral("DAXO 1.0/1.2/1.4/1.5 File (*.INT)"),
            QStringLiteral("Wave syntesiser (*.M11)"), QStringLiteral("Plik tekstowy (*.TXT)"),
            QStringLiteral("Plik dźwiękowy (*.WAV)"), QStringLiteral("All files (*.*)")};
}

QStringList saveFileTypes() {
    return {QStringLiteral("DAXO 1.5 File (*.INT)"), QStringLiteral("Wave syntesiser (*.M11)"),
            QStringLiteral("Plik tekstowy (*.TXT)")};
}

QStringList blockFileTypes() {
    return {QStringLiteral("Plik tekstowy (*.TXT)")};
}

CMeasureWnd* openMeasureWindow(CMainFrame& frame, CMeasure* measure) {
    return showInNewWindow(frame, new CMeasureWnd, OwnedMeasure(measure));
}

bool FileCommands::OnCommand(int id) {
    switch (id) {
    case CMD_OPEN:
        OnOpen();
        return true;
    case CMD_SAVE_AS:
        OnSaveAs();
        return true;
    case CMD_SAVE_BLOCK:
        OnSaveBlock();
        return true;
    default:
        return false;
    }
}

void FileCommands::OnOpen() {
    FileDialogRequest request;
    request.title = QStringLiteral("Open");
    request.filters = openFileTypes();
    request.fileName = sharedName();
    FileDialogAnswer answer = modalUi().fileDialog(&frame_, request);
    if (!answer.accepted) return;
    rememberName(answer.path);
    auto measure = std::make_unique<CMeasure>();
    // The window opens whatever the reader says; a failed read shows what it left.
    readMeasure(*measure, QFile::encodeName(answer.path).toStdString(),
                openTypeOf(answer.filterIndex), nullptr);
    openMeasureWindow(frame_, measure.release());
}

void FileCommands::OnSaveAs() {
    FrameCommands& commands = frame_.commands();
    if (!frame_.activeChild()) return;
    FileDialogAnswer answer = askSavePath(frame_, saveFileTypes());
    if (!answer.accepted) return;
    CMeasure* measure = commands.childMeasure();
    if (!measure) return;
    // The writers report nothing themselves; a save that failed must not
    // pass for one that worked.
    std::string why;
    if (!writeMeasure(*measure, QFile::encodeName(answer.path).toStdString(),
                      saveTypeOf(answer.filterIndex), &why))
        showWarning(&frame_, QString::fromStdString(why));
}

void FileCommands::OnSaveBlock() {
    FrameCommands& commands = frame_.commands();
    if (!frame_.activeChild()) return;
    FileDialogAnswer answer = askSavePath(frame_, blockFileTypes());
    if (!answer.accepted) return;
    BlockRange block = commands.childBlock();
    CMeasure* measure = commands.childMeasure();
    // An empty selection writes nothing, not even an empty file.
    if (!measure || block.from == block.to) return;
    if (!writeBlockText(*measure, block.channel, block.from, block.to,
                        QFile::encodeName(answer.path).constData()))
        showWarning(&frame_, QStringLiteral("cannot write ") + answer.path);
}
