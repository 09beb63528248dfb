#include "shell/ui/frame_services.h"

namespace {
FrameServices* g_services = nullptr;
}

void setFrameServices(FrameServices* services) {
    g_services = services;
}

FrameServices* frameServices() {
    return g_services;
}

void setStatusText(int part, const QString& text) {
    if (g_services) g_services->setStatusText(part, text);
}

void trackSignalPopup(QWidget* owner, const QPoint& globalPos) {
    if (g_services) g_services->trackSignalPopup(owner, globalPos);
}

intptr_t frameCommand(int id, intptr_t param) {
    return g_services ? g_services->frameCommand(id, param) : 0;
}
