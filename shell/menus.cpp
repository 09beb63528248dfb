#include "shell/menus.h"

#include "shell/command_ids.h"

namespace {
constexpr MenuItem SEPARATOR{0, ""};
}

const std::vector<MenuPopup>& frameMenu() {
    static const std::vector<MenuPopup> menu{
        {"&File",
         {{CMD_OPEN, "&Open..."},
          {CMD_SAVE_AS, "S&ave as..."},
          {CMD_SAVE_BLOCK, "S&ave block..."},
          {CMD_INFO, "&Info..."},
          {CMD_EXPORT_PLOT, "&Export plot..."},
          SEPARATOR,
          {CMD_EXIT, "Exit"}}},
        {"&Edit",
         {{CMD_UNDO, "&Undo\tCtrl+Z"},
          SEPARATOR,
          {CMD_VIEW_COPY, "&Copy"},
          SEPARATOR,
          {CMD_BLOCK_SET, "Block &set..."},
          {CMD_BLOCK_INFO, "&Block info..."},
          {CMD_BLOCK_ERASE, "Block &erease"}}},
        {"&View",
         {{CMD_Y_RANGE_IN, "Y Range in\tCtrl+&I"},
          {CMD_Y_RANGE_OUT, "Y Range out\tCtrl+&0"},
          SEPARATOR,
          {CMD_ZOOM_X_IN, "Zoom X in\tCtrl+&W"},
          {CMD_ZOOM_X_OUT, "Zoom X out\tCtrl+&Q"},
          {CMD_ZOOM_Y_IN, "Zoom Y in\tCtrl+&E"},
          {CMD_ZOOM_Y_OUT, "Zoom Y out\tCtrl+&D"},
          SEPARATOR,
          {CMD_ADD_SAMPLE, "Add sample\tCtrl+&A"},
          {CMD_SUB_SAMPLE, "Sub sample\tCtrl+&S"}}},
        {"&Generate", {{CMD_GENERATE, "&Kalman models"}}},
        {"&Analysis",
         {{CMD_FOURIER, "&Fourier\tF5"},
          {CMD_KALMAN, "&Kalman\tF6"},
          {CMD_APPROXIMATION, "&Approximation\tF7"},
          {CMD_RECALCULATE, "&Recalculate\tF9"},
          SEPARATOR,
          {CMD_STATISTIC, "&Statistic..."},
          {CMD_WAVE_STATISTICS, "&Wave statistics..."},
          {CMD_SPECTRUM, "S&pectrum..."},
          {CMD_REFLECTION, "R&eflection..."}}},
        {"&Plot",
         {{CMD_PLOT_SIGNAL, "&Signal"},
          {CMD_PLOT_ENVELOPE, "Signal+&Envelope"},
          {CMD_PLOT_COSIGNAL, "Signal+&Cosignal"},
          {CMD_PLOT_ALL, "&All"},
          {CMD_PLOT_MODULE, "&Module"}}},
        {"&Options",
         {{CMD_FOURIER_OPTIONS, "&Fourier..."},
          {CMD_KALMAN_OPTIONS, "&Kalman..."},
          {CMD_APROX_OPTIONS, "&Approximation..."}}},
        {"&Window",
         {{CMD_CLOSE_WINDOW, "&Close"},
          SEPARATOR,
          {CMD_TILE_WINDOWS, "&Tile"},
          {CMD_CASCADE_WINDOWS, "C&ascade"},
          {CMD_ARRANGE_ICONS, "Arrange &icons"}}},
        {"&Help", {{CMD_HELP_CONTENTS, "&Contents"}, SEPARATOR, {CMD_ABOUT, "&About..."}}},
    };
    return menu;
}

const MenuPopup& signalPopup() {
    static const MenuPopup popup{"signal",
                                 {{CMD_VIEW_INFO, "&Info"},
                                  {CMD_VIEW_ADD, "&Add"},
                                  SEPARATOR,
                                  {CMD_ZOOM_X_IN, "Zoom X in"},
                                  {CMD_ZOOM_X_OUT, "Zoom X out"},
                                  {CMD_ZOOM_Y_IN, "Zoom Y in"},
                                  {CMD_ZOOM_Y_OUT, "Zoom Y out"},
                                  SEPARATOR,
                                  {CMD_BEGIN_BLOCK, "Begin block"},
                                  {CMD_END_BLOCK, "End block"},
                                  {CMD_SELECT_ALL, "Select all"}}};
    return popup;
}

const std::vector<Accelerator>& frameAccelerators() {
    static const std::vector<Accelerator> table{
        {"Ctrl+A", CMD_ADD_SAMPLE}, {"Ctrl+C", CMD_VIEW_COPY},  {"Ctrl+D", CMD_ZOOM_Y_OUT},
        {"Ctrl+E", CMD_ZOOM_Y_IN},  {"Ctrl+I", CMD_Y_RANGE_IN}, {"Ctrl+O", CMD_Y_RANGE_OUT},
        {"Ctrl+Q", CMD_ZOOM_X_OUT}, {"Ctrl+S", CMD_SUB_SAMPLE}, {"Ctrl+V", CMD_PASTE},
        {"Shift+Del", CMD_CUT},     {"F5", CMD_FOURIER},        {"F6", CMD_KALMAN},
        {"F7", CMD_APPROXIMATION},  {"F9", CMD_RECALCULATE},    {"Ctrl+Ins", CMD_VIEW_COPY},
        {"Shift+Ins", CMD_PASTE},   {"Ctrl+W", CMD_ZOOM_X_IN},  {"Ctrl+X", CMD_CUT},
    };
    return table;
}

const std::vector<Accelerator>& frameAcceleratorAliases() {
    static const std::vector<Accelerator> table{{"Ctrl+0", CMD_Y_RANGE_OUT}};
    return table;
}

const std::vector<Accelerator>& frameAddedAccelerators() {
    static const std::vector<Accelerator> table{{"Ctrl+Z", CMD_UNDO}};
    return table;
}

const char* commandStatusTip(int id) {
    switch (id) {
    case CMD_OPEN:
        return "Opens a measurement (.INT, .M11, .TXT or .WAV) in a new window";
    case CMD_SAVE_AS:
        return "Saves the active window's measurement as .INT, .M11 or .TXT";
    case CMD_SAVE_BLOCK:
        return "Saves the selected block of one channel as text";
    case CMD_INFO:
        return "Shows and edits the measurement's name, rate and channels";
    case CMD_EXPORT_PLOT:
        return "Writes the active window's plot as a PNG, SVG or PDF picture";
    case CMD_EXIT:
        return "Ends Ondarix";
    case CMD_VIEW_COPY:
        return "Copies the selected block to the clipboard as text";
    case CMD_BLOCK_SET:
        return "Sets the block's channel and bounds by number";
    case CMD_BLOCK_INFO:
        return "Shows and edits the wave components of the block's channel";
    case CMD_BLOCK_ERASE:
        return "Sets the selected block to zero";
    case CMD_UNDO:
        return "Takes the last Block erease back";
    case CMD_Y_RANGE_IN:
        return "Magnifies the values of every channel";
    case CMD_Y_RANGE_OUT:
        return "Shrinks the values of every channel";
    case CMD_ZOOM_X_IN:
        return "Shows half as much time, keeping the middle in place";
    case CMD_ZOOM_X_OUT:
        return "Shows twice as much time, keeping the middle in place";
    case CMD_ZOOM_Y_IN:
        return "Shows fewer channels at once";
    case CMD_ZOOM_Y_OUT:
        return "Shows more channels at once";
    case CMD_ADD_SAMPLE:
        return "Lengthens a Fourier window's range by one sample";
    case CMD_SUB_SAMPLE:
        return "Shortens a Fourier window's range by one sample";
    case CMD_GENERATE:
        return "Synthesises a wave-maker control signal";
    case CMD_FOURIER:
        return "Discrete Fourier transform of the block";
    case CMD_KALMAN:
        return "Splits the block into its channel's wave components with a Kalman filter";
    case CMD_APPROXIMATION:
        return "Fits damped sinusoids to the block";
    case CMD_RECALCULATE:
        return "Runs the active result window's analysis again";
    case CMD_STATISTIC:
        return "Extremes, mean, deviation and wave heights and periods of the block";
    case CMD_WAVE_STATISTICS:
        return "Wave-by-wave heights and periods of the block: Hmax, H1/3, H1/10, Hrms, Tz";
    case CMD_SPECTRUM:
        return "Variance density spectrum of the block with Hm0, Tp, Tm01, Tm02";
    case CMD_REFLECTION:
        return "Incident and reflected spectra from two or three gauges, and Kr";
    case CMD_PLOT_SIGNAL:
    case CMD_PLOT_ENVELOPE:
    case CMD_PLOT_COSIGNAL:
    case CMD_PLOT_ALL:
    case CMD_PLOT_MODULE:
        return "Chooses what the active window plots";
    case CMD_FOURIER_OPTIONS:
    case CMD_KALMAN_OPTIONS:
    case CMD_APROX_OPTIONS:
        return "Settings that new analyses start from";
    case CMD_CLOSE_WINDOW:
        return "Closes the active window";
    case CMD_TILE_WINDOWS:
        return "Arranges the windows side by side";
    case CMD_CASCADE_WINDOWS:
        return "Arranges the windows overlapping";
    case CMD_ARRANGE_ICONS:
        return "Lines up the minimised windows";
    case CMD_HELP_CONTENTS:
        return "Opens the user manual";
    case CMD_ABOUT:
        return "Shows the program's version";
    default:
        return "";
    }
}

const char* commandToolTip(int id) {
    switch (id) {
    case CMD_OPEN:
        return "Open";
    case CMD_SAVE_AS:
        return "Save as";
    case CMD_INFO:
        return "Info";
    case CMD_VIEW_COPY:
        return "Copy";
    default:
        return "";
    }
}
