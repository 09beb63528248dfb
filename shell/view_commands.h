// Command ids the measurement view answers; its window forwards them unchanged.
#pragma once

constexpr int CMD_VIEW_ADD = 106;
constexpr int CMD_VIEW_COPY = 193;
constexpr int CMD_Y_RANGE_IN = 201;
constexpr int CMD_Y_RANGE_OUT = 202;
constexpr int CMD_ZOOM_X_IN = 203;
constexpr int CMD_ZOOM_Y_OUT = 204;
constexpr int CMD_ZOOM_Y_IN = 206;
constexpr int CMD_ZOOM_X_OUT = 207;
constexpr int CMD_VIEW_INFO = 215;
constexpr int CMD_BEGIN_BLOCK = 217;
constexpr int CMD_END_BLOCK = 218;
constexpr int CMD_SELECT_ALL = 219;
// The plot-mode menu items, in menu order: Signal, Signal+Envelope,
// Signal+Cosignal, All, Module.
constexpr int CMD_PLOT_SIGNAL = 220;
constexpr int CMD_PLOT_ENVELOPE = 221;
constexpr int CMD_PLOT_COSIGNAL = 222;
constexpr int CMD_PLOT_ALL = 223;
constexpr int CMD_PLOT_MODULE = 224;

// Queries from the frame to the active child, answered by its view: the
// parameter points to the caller's BlockRange or integer.
constexpr int CMD_GET_BLOCK = 2100;
constexpr int CMD_GET_PLOT_MODE = 2102;
// The plot command whose radio mark the view's plot mode selects; 0 for none.
constexpr int CMD_GET_PLOT_COMMAND = 2103;

// The popup menu of the view.
constexpr int MENU_SIGNAL_POPUP = 136;

// The commands a window passes on to its view, whatever the window.
constexpr int VIEW_COMMANDS[] = {
    CMD_VIEW_ADD,    CMD_VIEW_COPY,   CMD_Y_RANGE_IN,    CMD_Y_RANGE_OUT,      CMD_ZOOM_X_IN,
    CMD_ZOOM_Y_OUT,  CMD_ZOOM_Y_IN,   CMD_ZOOM_X_OUT,    CMD_BEGIN_BLOCK,      CMD_END_BLOCK,
    CMD_SELECT_ALL,  CMD_PLOT_SIGNAL, CMD_PLOT_ENVELOPE, CMD_PLOT_COSIGNAL,    CMD_PLOT_ALL,
    CMD_PLOT_MODULE, CMD_GET_BLOCK,   CMD_GET_PLOT_MODE, CMD_GET_PLOT_COMMAND,
};

constexpr bool isViewCommand(int id) {
    for (int command : VIEW_COMMANDS)
        if (command == id) return true;
    return false;
}
