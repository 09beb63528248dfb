#include "shell/window_classes.h"

#include <cstring>

namespace {

const WindowClass TABLE[WINDOW_CLASS_COUNT] = {
    {FRAME_CLASS, 90, true, 101},  {DISPLAY_CLASS, 0, false, 0}, {MEASURE_CLASS, 91, false, 0},
    {FOURIER_CLASS, 92, false, 0}, {KALMAN_CLASS, 93, false, 0}, {GENERATOR_CLASS, 94, false, 0},
};

int g_registered = 0;

} // namespace

const WindowClass* windowClassTable() {
    return TABLE;
}

bool registerWindowClasses() {
    g_registered = WINDOW_CLASS_COUNT;
    return true;
}

const WindowClass* findWindowClass(const char* name) {
    if (!name) return nullptr;
    for (int i = 0; i < g_registered; ++i)
        if (std::strcmp(TABLE[i].name, name) == 0) return &TABLE[i];
    return nullptr;
}
