#include "shell/ui/application.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include <vector>

#include "shell/settings.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/warning_message.h"
#include "shell/window_classes.h"

namespace {

// Where a frame goes without a stored placement: the window manager picks
// the position; the size is three quarters of the screen.
QSize defaultFrameSize() {
    QScreen* screen = QGuiApplication::primaryScreen();
    QSize available = screen ? screen->availableSize() : QSize(1024, 768);
    return available * 3 / 4;
}

CommandLineOpener commandLineOpener = nullptr;

std::vector<StartUpStep>& startUpSteps() {
    static std::vector<StartUpStep> steps;
    return steps;
}

} // namespace

QString commandLineText(const QStringList& arguments) {
    QString text = arguments.mid(1).join(QLatin1Char(' '));
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        text = text.mid(1, text.size() - 2);
    return text;
}

OndarixApp::OndarixApp() = default;

OndarixApp::~OndarixApp() {
    frame_.reset();
    if (clipboard() == &clipboard_) setClipboard(nullptr);
}

bool OndarixApp::startUp(const QString& commandLine) {
    setClipboard(&clipboard_);
    loadSettings();
    if (!registerWindowClasses()) return false;
    WindowPlacement placement;
    QSize size = defaultFrameSize();
    placement.width = size.width();
    placement.height = size.height();
    bool stored = loadWindowPlacement(placement);
    frame_ = std::make_unique<CMainFrame>();
    if (stored)
        frame_->applyPlacement(placement);
    else
        frame_->resize(size);
    frame_->show();
    for (StartUpStep step : startUpSteps())
        step(*frame_);
    if (!commandLine.isEmpty()) openCommandLineFile(commandLine);
    return true;
}

void setCommandLineOpener(CommandLineOpener opener) {
    commandLineOpener = opener;
}

void addStartUpStep(StartUpStep step) {
    startUpSteps().push_back(step);
}

void OndarixApp::openCommandLineFile(const QString& path) {
    if (commandLineOpener) commandLineOpener(*frame_, QFile::encodeName(path).toStdString());
}

void OndarixApp::finish() {
    frame_.reset();
    SaveStatus saved = saveSettings();
    // Options the user set would silently be gone at the next start.
    if (!saved)
        showWarning(nullptr, QStringLiteral("The settings were not saved. ") +
                                 QString::fromStdString(saved.reason));
}
