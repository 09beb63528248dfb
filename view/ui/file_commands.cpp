#include "view/ui/file_commands.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QProgressDialog>

#include <climits>
#include <memory>
#include <string>

#include "measure/fenced_read.h"
#include "measure/measure_file.h"
#include "measure/save_target.h"
#include "measure/text_format.h"
#include "shell/command_ids.h"
#include "shell/file_name_buffer.h"
#include "shell/open_file_type.h"
#include "shell/ui/frame_commands.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/mdi_child_wnd.h"
#include "shell/ui/modal_ui.h"
#include "shell/ui/replace_question.h"
#include "shell/ui/warning_message.h"
#include "view/ui/measure_wnd.h"
#include "view/ui/samples_choice.h"

namespace {

QString sharedName() {
    return QFile::decodeName(sharedFileName().get());
}

void rememberName(const QString& path) {
    sharedFileName().set(QFile::encodeName(path).toStdString());
}

// The filter texts of the rows that have one, in the table's order.
QStringList filtersOf(const char* FileTypeRow::*filter) {
    QStringList filters;
    for (const FileTypeRow& row : fileTypeRows())
        if (*(row.*filter)) filters << QString::fromUtf8(row.*filter);
    return filters;
}

// The name a save dialog proposes: the active window's file, else the name
// last opened or saved, without its measurement extension.
QString proposedName(const CMeasure* measure) {
    if (measure && measure->path[0]) sharedFileName().set(measure->path);
    sharedFileName().cutMeasureExtension();
    return sharedName();
}

FileDialogAnswer askSavePath(QWidget* owner, const QString& title, const QStringList& types,
                             const CMeasure* measure) {
    FileDialogRequest request;
    request.save = true;
    request.title = title;
    request.filters = types;
    request.fileName = proposedName(measure);
    // The extension follows the chosen file type (saveTarget), not a fixed one.
    request.defaultSuffix.clear();
    FileDialogAnswer answer = modalUi().fileDialog(owner, request);
    if (answer.accepted) rememberName(answer.path);
    return answer;
}

// Offers the complete rows of a damaged file, saying what is left out.
QString partialReadQuestion(const std::string& refusal, const ReadReport& report) {
    return QString::fromStdString(refusal) +
           QStringLiteral("\n\nOpen the first %1 of its %2 rows? The rest of the file is "
                          "left out, and saving writes only these rows.")
               .arg(report.rowsRead)
               .arg(report.rowsExpected);
}

// Asks for the rate of a file that does not give it, saying what its type
// would have given it by; only CSV, MATLAB and HDF5 files can lack it.
QString rateQuestion(const std::string& path) {
    const FileType type = fileTypeFromPath(path);
    const char* missing = "it has no time column";
    if (type == FileType::Hdf5) missing = "it has no sample_rate or fs attribute";
    if (type == FileType::Mat) missing = "it holds no fs, Fs, rate, sample_rate or dt";
    return QFile::decodeName(path.c_str()) +
           QStringLiteral(" does not say its sample rate (%1).\n\nSamples per second:")
               .arg(QString::fromUtf8(missing));
}

} // namespace

QStringList openFileTypes() {
    return filtersOf(&FileTypeRow::openFilter)
           << QStringLiteral("All files (*.*)") << QString::fromStdString(allMeasurementsFilter());
}

QStringList saveFileTypes() {
    return filtersOf(&FileTypeRow::saveFilter);
}

QStringList blockFileTypes() {
    return {QString::fromUtf8(fileTypeRow(FileType::Text).saveFilter)};
}

CMeasureWnd* openMeasureWindow(CMainFrame& frame, CMeasure* measure, const ChannelExtremes* seen) {
    return showInNewWindow(frame, new CMeasureWnd, OwnedMeasure(measure), false, seen);
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
    request.startFilter = allMeasurementsFilterIndex();
    request.fileName = sharedName();
    FileDialogAnswer answer = modalUi().fileDialog(&frame_, request);
    if (!answer.accepted) return;
    rememberName(answer.path);
    const std::string path = QFile::encodeName(answer.path).toStdString();
    openMeasureFile(frame_, path, openFileType(answer.filterIndex, path));
}

namespace {

// While a file is read in its child process: after a second a busy window
// whose Cancel stops the read ("the read was cancelled").
class ReadProgress {
  public:
    ReadProgress(QWidget* owner, const std::string& path)
        : dialog_(QStringLiteral("Reading %1...").arg(QFile::decodeName(path.c_str())),
                  QStringLiteral("Cancel"), 0, 0, owner) {
        dialog_.setWindowTitle(QStringLiteral("Open"));
        dialog_.setWindowModality(Qt::WindowModal);
        // Shown by cancelled() itself: a busy dialog's own timer never starts.
        dialog_.setMinimumDuration(INT_MAX);
        started_.start();
        current_ = this;
        before_ = setReadCancelCheck(cancelled);
    }
    ~ReadProgress() {
        setReadCancelCheck(before_);
        current_ = nullptr;
    }
    ReadProgress(const ReadProgress&) = delete;
    ReadProgress& operator=(const ReadProgress&) = delete;

  private:
    static bool cancelled() {
        if (!current_) return false;
        QProgressDialog& dialog = current_->dialog_;
        if (!dialog.isVisible() && current_->started_.elapsed() >= 1000) dialog.show();
        QCoreApplication::processEvents();
        return dialog.wasCanceled();
    }

    QProgressDialog dialog_;
    QElapsedTimer started_;
    ReadCancelCheck before_;
    static inline ReadProgress* current_ = nullptr;
};

} // namespace

CMeasureWnd* openMeasureFile(CMainFrame& frame, const std::string& path, FileType type) {
    std::unique_ptr<CMeasure> measure;
    std::string why;
    // The reader gathers the extremes the plots are scaled by while the
    // samples are in cache, so the view need not read the block once more.
    ChannelExtremes seen;
    ReadReport report;
    ReadOptions options;
    for (;;) {
        measure = std::make_unique<CMeasure>();
        report = ReadReport();
        bool read;
        {
            ReadProgress progress(&frame, path);
            read = readMeasure(*measure, path, type, &why, &seen, options, &report);
        }
        if (read) break;
        if (readWasCancelled(why)) return nullptr; // the user's own choice: nothing to say
        // A file that cannot be read opens no window; the reader says why. A
        // damaged one opens only its complete rows, and only when asked to; a
        // file without its sample rate opens with the rate the user gives, one
        // of several matrices with the one the user picks.
        const std::string refusal = readFailureText(path, type, why);
        if (report.partialAvailable && !options.partial) {
            if (!modalUi().askYesNo(&frame, partialReadQuestion(refusal, report))) return nullptr;
            options.partial = true;
        } else if (report.rateNeeded && !(options.rate > 0)) {
            double rate = 0.0; // the question starts empty
            if (!modalUi().askNumber(&frame, rateQuestion(path), &rate)) return nullptr;
            options.rate = rate;
        } else if (mayChooseSamples(report, options)) {
            if (!chooseSamples(&frame, path, report, options)) return nullptr;
        } else {
            showWarning(&frame, QString::fromStdString(refusal));
            return nullptr;
        }
    }
    CMeasureWnd* window = openMeasureWindow(frame, measure.release(), &seen);
    if (report.bytesIgnored > 0)
        showWarning(&frame, QString::fromStdString(ignoredBytesText(path, report)));
    return window;
}

void FileCommands::OnSaveAs() {
    if (auto* window = dynamic_cast<CMeasureWnd*>(frame_.activeChild()))
        saveMeasureAs(&frame_, *window);
    else if (CMDIChildWnd* child = frame_.activeChild())
        child->OnCommand(CMD_SAVE_AS, 0); // a window that is no measurement saves in its own way
}

bool saveMeasureAs(QWidget* owner, CMeasureWnd& window) {
    CMeasure* measure = window.measure.get();
    if (!measure) return false;
    FileDialogAnswer answer =
        askSavePath(owner, QStringLiteral("Save As"), saveFileTypes(), measure);
    if (!answer.accepted) return false;
    SaveTarget target =
        saveTarget(QFile::encodeName(answer.path).toStdString(), saveFileType(answer.filterIndex));
    // The writers report nothing themselves; a save that failed must not
    // pass for one that worked.
    std::string why = target.refusal;
    if (why.empty() && !mayReplace(owner, QFile::decodeName(target.path.c_str()))) return false;
    if (why.empty() && writeMeasure(*measure, target.path, target.type, &why)) {
        copyField(measure->path, sizeof measure->path, target.path.c_str());
        rememberName(QFile::decodeName(target.path.c_str()));
        window.measureSaved();
        return true;
    }
    showWarning(owner, QString::fromStdString(why));
    return false;
}

void FileCommands::OnSaveBlock() {
    auto* window = dynamic_cast<CMeasureWnd*>(frame_.activeChild());
    CMeasure* measure = window ? window->measure.get() : nullptr;
    if (!measure) return;
    FileDialogAnswer answer =
        askSavePath(&frame_, QStringLiteral("Save block"), blockFileTypes(), measure);
    if (!answer.accepted) return;
    BlockRange block = frame_.commands().childBlock();
    // An empty selection writes nothing, not even an empty file.
    if (block.from == block.to) return;
    SaveTarget target = blockSaveTarget(QFile::encodeName(answer.path).toStdString());
    if (!target.refusal.empty()) {
        showWarning(&frame_, QString::fromStdString(target.refusal));
        return;
    }
    if (!mayReplace(&frame_, QFile::decodeName(target.path.c_str()))) return;
    std::string why;
    if (!writeBlockText(*measure, block.channel, block.from, block.to, target.path.c_str(), &why))
        showWarning(&frame_, QStringLiteral("cannot write ") +
                                 QFile::decodeName(target.path.c_str()) + QStringLiteral(": ") +
                                 QString::fromStdString(why));
}
