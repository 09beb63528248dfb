// The desktop program's entry point.
#include <QApplication>

#include <clocale>

#include "app/features.h"
#include "shell/ui/application.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Numbers are written and read the same way whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");
    registerFeatures();
    OndarixApp ondarix;
    if (!ondarix.startUp(commandLineText(QApplication::arguments()))) return 0;
    int code = app.exec();
    ondarix.finish();
    return code;
}
