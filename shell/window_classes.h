// The program's window classes: name, icon, whether the class has the arrow
// cursor and the frame menu. Windows keep their class name as an identifier.
#pragma once

constexpr const char* FRAME_CLASS = "OndarixClass";
constexpr const char* DISPLAY_CLASS = "KelvoDisplayClass";
constexpr const char* MEASURE_CLASS = "KelvoMeasureClass";
constexpr const char* FOURIER_CLASS = "KelvoFourierClass";
constexpr const char* KALMAN_CLASS = "KelvoKalmanClass";
constexpr const char* GENERATOR_CLASS = "KelvoGeneratorClass";

struct WindowClass {
    const char* name;
    int iconId;       // 0: none
    bool arrowCursor; // the standard arrow; otherwise the window sets its own
    int menuId;       // 0: none
};

constexpr int WINDOW_CLASS_COUNT = 6;

// The six classes in registration order.
const WindowClass* windowClassTable();
// Registers the classes in table order; false when one of them could not be
// registered. Registering again changes nothing.
bool registerWindowClasses();
// A registered class by name; null before registration or for another name.
const WindowClass* findWindowClass(const char* name);
