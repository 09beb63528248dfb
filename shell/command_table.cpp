#include "shell/command_table.h"

#include <string>

#include "measure/file_type_table.h"
#include "shell/command_ids.h"
#include "shell/toolbar_images.h"

namespace {

constexpr const char* FILE_MENU = "&File";
constexpr const char* EDIT_MENU = "&Edit";
constexpr const char* VIEW_MENU = "&View";
constexpr const char* GENERATE_MENU = "&Generate";
constexpr const char* ANALYSIS_MENU = "&Analysis";
constexpr const char* PLOT_MENU = "&Plot";
constexpr const char* OPTIONS_MENU = "&Options";
constexpr const char* WINDOW_MENU = "&Window";
constexpr const char* HELP_MENU = "&Help";

constexpr Separator NONE = Separator::None;
constexpr Separator LINE = Separator::Before;
constexpr int NO_IMAGE = NO_TOOLBAR_IMAGE;

constexpr EnableRule ALWAYS = EnableRule::Always;
constexpr EnableRule WINDOW = EnableRule::NeedsWindow;
constexpr EnableRule BLOCK = EnableRule::NeedsBlock;
constexpr EnableRule UNDO = EnableRule::NeedsUndo;
constexpr EnableRule PLOT = EnableRule::PlotChoice;

constexpr const char* PLOT_TIP = "Chooses what the active window plots";
constexpr const char* OPTIONS_TIP = "Settings that new analyses start from";

} // namespace

const std::vector<CommandInfo>& commandTable() {
    // The file types named in the tips are the file type table's.
    static const std::string openTip =
        "Opens a measurement (" + extensionList(false) + ") in a new window";
    static const std::string saveTip =
        "Saves the active window's measurement as " + extensionList(true);
    // clang-format off
    static const std::vector<CommandInfo> table{
        // id, menu, separator, text, keys, rule, toolbar image, tool tip, status tip
        {CMD_OPEN, FILE_MENU, NONE, "&Open...", {}, ALWAYS, TOOLBAR_IMAGE_OPEN, "Open",
         openTip.c_str()},
        {CMD_SAVE_AS, FILE_MENU, NONE, "S&ave as...", {}, WINDOW, TOOLBAR_IMAGE_SAVE_AS, "Save as",
         saveTip.c_str()},
        {CMD_SAVE_BLOCK, FILE_MENU, NONE, "S&ave block...", {}, BLOCK, NO_IMAGE, "",
         "Saves the selected block of one channel as text"},
        {CMD_INFO, FILE_MENU, NONE, "&Info...", {}, WINDOW, TOOLBAR_IMAGE_INFO, "Info",
         "Shows and edits the measurement's name, rate and channels"},
        {CMD_EXPORT_PLOT, FILE_MENU, NONE, "&Export plot...", {}, WINDOW, NO_IMAGE, "",
         "Writes the active window's plot as a PNG, SVG or PDF picture"},
        {CMD_REPORT, FILE_MENU, NONE, "&Report...", {}, WINDOW, NO_IMAGE, "",
         "Writes a test report of the active window's measurement (its block) as HTML or PDF"},
        {CMD_EXIT, FILE_MENU, LINE, "Exit", {}, ALWAYS, NO_IMAGE, "", "Ends Ondarix"},

        {CMD_UNDO, EDIT_MENU, NONE, "&Undo\tCtrl+Z", {"Ctrl+Z"}, UNDO, NO_IMAGE, "",
         "Takes the last Block erease back"},
        {CMD_VIEW_COPY, EDIT_MENU, LINE, "&Copy", {"Ctrl+C", "Ctrl+Ins"}, BLOCK, TOOLBAR_IMAGE_COPY,
         "Copy", "Copies the selected block to the clipboard as text"},
        {CMD_BLOCK_SET, EDIT_MENU, LINE, "Block &set...", {}, WINDOW, NO_IMAGE, "",
         "Sets the block's channel and bounds by number"},
        {CMD_BLOCK_INFO, EDIT_MENU, NONE, "&Block info...", {}, BLOCK, NO_IMAGE, "",
         "Shows and edits the wave components of the block's channel"},
        {CMD_BLOCK_ERASE, EDIT_MENU, NONE, "Block &erease", {}, BLOCK, NO_IMAGE, "",
         "Sets the selected block to zero"},

        {CMD_Y_RANGE_IN, VIEW_MENU, NONE, "Y Range in\tCtrl+&I", {"Ctrl+I"}, WINDOW, NO_IMAGE, "",
         "Magnifies the values of every channel"},
        // The item names Ctrl+0 (zero); Ctrl+O, the key it had first, works as well.
        {CMD_Y_RANGE_OUT, VIEW_MENU, NONE, "Y Range out\tCtrl+&0", {"Ctrl+O", "Ctrl+0"}, WINDOW,
         NO_IMAGE, "", "Shrinks the values of every channel"},
        {CMD_ZOOM_X_IN, VIEW_MENU, LINE, "Zoom X in\tCtrl+&W", {"Ctrl+W"}, WINDOW, NO_IMAGE, "",
         "Shows half as much time, keeping the middle in place"},
        {CMD_ZOOM_X_OUT, VIEW_MENU, NONE, "Zoom X out\tCtrl+&Q", {"Ctrl+Q"}, WINDOW, NO_IMAGE, "",
         "Shows twice as much time, keeping the middle in place"},
        {CMD_ZOOM_Y_IN, VIEW_MENU, NONE, "Zoom Y in\tCtrl+&E", {"Ctrl+E"}, WINDOW, NO_IMAGE, "",
         "Shows fewer channels at once"},
        {CMD_ZOOM_Y_OUT, VIEW_MENU, NONE, "Zoom Y out\tCtrl+&D", {"Ctrl+D"}, WINDOW, NO_IMAGE, "",
         "Shows more channels at once"},
        {CMD_ADD_SAMPLE, VIEW_MENU, LINE, "Add sample\tCtrl+&A", {"Ctrl+A"}, WINDOW, NO_IMAGE, "",
         "Lengthens a Fourier window's range by one sample"},
        {CMD_SUB_SAMPLE, VIEW_MENU, NONE, "Sub sample\tCtrl+&S", {"Ctrl+S"}, WINDOW, NO_IMAGE, "",
         "Shortens a Fourier window's range by one sample"},

        {CMD_GENERATE, GENERATE_MENU, NONE, "&Kalman models", {}, ALWAYS, NO_IMAGE, "",
         "Synthesises a wave-maker control signal"},
        {CMD_IRREGULAR_SEA, GENERATE_MENU, NONE, "&Irregular sea...", {}, ALWAYS, NO_IMAGE, "",
         "Synthesises the wave-maker's drive for an irregular sea from its target spectrum"},

        {CMD_FOURIER, ANALYSIS_MENU, NONE, "&Fourier\tF5", {"F5"}, WINDOW, NO_IMAGE, "",
         "Discrete Fourier transform of the block"},
        {CMD_KALMAN, ANALYSIS_MENU, NONE, "&Kalman\tF6", {"F6"}, WINDOW, NO_IMAGE, "",
         "Splits the block into its channel's wave components with a Kalman filter"},
        {CMD_APPROXIMATION, ANALYSIS_MENU, NONE, "&Approximation\tF7", {"F7"}, WINDOW, NO_IMAGE, "",
         "Fits damped sinusoids to the block"},
        {CMD_RECALCULATE, ANALYSIS_MENU, NONE, "&Recalculate\tF9", {"F9"}, WINDOW, NO_IMAGE, "",
         "Runs the active result window's analysis again"},
        {CMD_STATISTIC, ANALYSIS_MENU, LINE, "&Statistic...", {}, WINDOW, NO_IMAGE, "",
         "Extremes, mean, deviation and wave heights and periods of the block"},
        {CMD_WAVE_STATISTICS, ANALYSIS_MENU, NONE, "&Wave statistics...", {}, WINDOW, NO_IMAGE, "",
         "Wave-by-wave heights and periods of the block: Hmax, H1/3, H1/10, Hrms, Tz"},
        {CMD_SPECTRUM, ANALYSIS_MENU, NONE, "S&pectrum...", {}, WINDOW, NO_IMAGE, "",
         "Variance density spectrum of the block with Hm0, Tp, Tm01, Tm02"},
        {CMD_REFLECTION, ANALYSIS_MENU, NONE, "R&eflection...", {}, WINDOW, NO_IMAGE, "",
         "Incident and reflected spectra, series or harmonics from 2 to 16 gauges, and Kr"},
        {CMD_ANALYSE_FILES, ANALYSIS_MENU, LINE, "Ana&lyse files...", {}, ALWAYS, NO_IMAGE, "",
         "Runs a wave analysis on several files and shows one row per file"},

        {CMD_PLOT_SIGNAL, PLOT_MENU, NONE, "&Signal", {}, PLOT, NO_IMAGE, "", PLOT_TIP},
        {CMD_PLOT_ENVELOPE, PLOT_MENU, NONE, "Signal+&Envelope", {}, PLOT, NO_IMAGE, "", PLOT_TIP},
        {CMD_PLOT_COSIGNAL, PLOT_MENU, NONE, "Signal+&Cosignal", {}, PLOT, NO_IMAGE, "", PLOT_TIP},
        {CMD_PLOT_ALL, PLOT_MENU, NONE, "&All", {}, PLOT, NO_IMAGE, "", PLOT_TIP},
        {CMD_PLOT_MODULE, PLOT_MENU, NONE, "&Module", {}, PLOT, NO_IMAGE, "", PLOT_TIP},

        {CMD_FOURIER_OPTIONS, OPTIONS_MENU, NONE, "&Fourier...", {}, ALWAYS, NO_IMAGE, "",
         OPTIONS_TIP},
        {CMD_KALMAN_OPTIONS, OPTIONS_MENU, NONE, "&Kalman...", {}, ALWAYS, NO_IMAGE, "",
         OPTIONS_TIP},
        {CMD_APROX_OPTIONS, OPTIONS_MENU, NONE, "&Approximation...", {}, ALWAYS, NO_IMAGE, "",
         OPTIONS_TIP},

        // The open windows are listed below these, from CMD_FIRST_CHILD on.
        {CMD_CLOSE_WINDOW, WINDOW_MENU, NONE, "&Close", {}, WINDOW, NO_IMAGE, "",
         "Closes the active window"},
        {CMD_TILE_WINDOWS, WINDOW_MENU, LINE, "&Tile", {}, WINDOW, NO_IMAGE, "",
         "Arranges the windows side by side"},
        {CMD_CASCADE_WINDOWS, WINDOW_MENU, NONE, "C&ascade", {}, WINDOW, NO_IMAGE, "",
         "Arranges the windows overlapping"},
        {CMD_ARRANGE_ICONS, WINDOW_MENU, NONE, "Arrange &icons", {}, WINDOW, NO_IMAGE, "",
         "Lines up the minimised windows"},

        {CMD_HELP_CONTENTS, HELP_MENU, NONE, "&Contents", {}, ALWAYS, NO_IMAGE, "",
         "Opens the user manual"},
        {CMD_ABOUT, HELP_MENU, LINE, "&About...", {}, ALWAYS, NO_IMAGE, "",
         "Shows the program's version"},

        // The plot view's popup offers these beside the zooms.
        {CMD_VIEW_INFO, nullptr, NONE, "&Info", {}, ALWAYS, NO_IMAGE, "", ""},
        {CMD_VIEW_ADD, nullptr, NONE, "&Add", {}, ALWAYS, NO_IMAGE, "", ""},
        {CMD_BEGIN_BLOCK, nullptr, NONE, "Begin block", {}, ALWAYS, NO_IMAGE, "", ""},
        {CMD_END_BLOCK, nullptr, NONE, "End block", {}, ALWAYS, NO_IMAGE, "", ""},
        {CMD_SELECT_ALL, nullptr, NONE, "Select all", {}, ALWAYS, NO_IMAGE, "", ""},
        // Keys only, answered by nothing: the clipboard keys of the first version.
        {CMD_CUT, nullptr, NONE, "", {"Shift+Del", "Ctrl+X"}, ALWAYS, NO_IMAGE, "", ""},
        {CMD_PASTE, nullptr, NONE, "", {"Ctrl+V", "Shift+Ins"}, ALWAYS, NO_IMAGE, "", ""},
    };
    // clang-format on
    return table;
}

const CommandInfo* commandInfo(int id) {
    for (const CommandInfo& row : commandTable())
        if (row.id == id) return &row;
    return nullptr;
}

const char* commandStatusTip(int id) {
    const CommandInfo* row = commandInfo(id);
    return row ? row->statusTip : "";
}
