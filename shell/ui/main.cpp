// The desktop program's entry point.
#include <QApplication>
#include <QMdiSubWindow>
#include <QTimer>

#include <clocale>

#include "shell/ui/application.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/mdi_child_wnd.h"

namespace {

// ONDARIX_SCREENSHOT=<file.png>: a picture of the frame for the documentation,
// taken once the start-up file is shown; the program then ends.
void scheduleScreenshot(CMainFrame* frame, const QString& path) {
    frame->resize(1000, 700);
    QTimer::singleShot(500, frame, [frame, path] {
        if (CMDIChildWnd* child = frame->activeChild())
            if (child->subWindow()) child->subWindow()->showMaximized();
        QTimer::singleShot(300, frame, [frame, path] {
            frame->grab().save(path);
            frame->close();
        });
    });
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Numbers are written and read the same way whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    OndarixApp ondarix;
    if (!ondarix.startUp(commandLineText(QApplication::arguments()))) return 0;
    const QString screenshot = qEnvironmentVariable("ONDARIX_SCREENSHOT");
    if (!screenshot.isEmpty()) scheduleScreenshot(ondarix.frame(), screenshot);
    int code = app.exec();
    ondarix.finish();
    return code;
}
