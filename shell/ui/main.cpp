// The desktop program's entry point.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include <clocale>

#include "shell/command_ids.h"
#include "shell/ui/application.h"
#include "shell/ui/main_frame.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"

namespace {

// Four channels at once, and a block on the first, as a user would set them.
void arrangeForScreenshot(CMainFrame* frame) {
    auto* window = dynamic_cast<CMeasureWnd*>(frame->activeChild());
    if (!window || !window->measure || !window->view) return;
    window->subWindow()->setGeometry(QRect(QPoint(0, 0), frame->mdiClient()->viewport()->size()));
    for (int i = 1; i < window->measure->channelCount && i < 4; ++i)
        frame->frameCommand(CMD_ZOOM_Y_OUT, 0);
    int32_t n = window->measure->sampleCount;
    window->view->SetBlock(0, n / 8, n / 5);
}

// ONDARIX_SCREENSHOT=<file.png>: a picture of the frame for the documentation,
// taken once the start-up file is shown; the program then ends.
void scheduleScreenshot(CMainFrame* frame, const QString& path) {
    frame->resize(1000, 700);
    QTimer::singleShot(500, frame, [frame, path] {
        arrangeForScreenshot(frame);
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
