// Command ids of menus, toolbar, accelerators and the frame's queries to its
// children. Every command of the program ends as one of these in the frame's
// command handler.
#pragma once

constexpr int CMD_ABOUT = 102;
constexpr int CMD_OPEN = 103;
constexpr int CMD_ADD_COMPONENT = 106; // popup "&Add"
constexpr int CMD_SAVE_BLOCK = 124;
constexpr int CMD_SAVE_AS = 126;
constexpr int CMD_EXIT = 127;
constexpr int CMD_FOURIER_OPTIONS = 135;
constexpr int CMD_HELP_CONTENTS = 152;
constexpr int CMD_INFO = 154;
constexpr int CMD_GENERATE = 158;
constexpr int CMD_FOURIER = 159;
constexpr int CMD_KALMAN = 161;
constexpr int CMD_APPROXIMATION = 162;
constexpr int CMD_RECALCULATE = 163;
constexpr int CMD_APROX_OPTIONS = 169;
constexpr int CMD_STATISTIC = 192;
constexpr int CMD_COPY = 193;
constexpr int CMD_CUT = 194;   // bound to keys, handled nowhere
constexpr int CMD_PASTE = 195; // bound to keys, handled nowhere
constexpr int CMD_KALMAN_OPTIONS = 198;
constexpr int CMD_CLOSE_WINDOW = 199;
constexpr int CMD_BLOCK_INFO = 200;
constexpr int CMD_Y_RANGE_IN = 201;
constexpr int CMD_Y_RANGE_OUT = 202;
constexpr int CMD_ZOOM_X_IN = 203;
constexpr int CMD_ZOOM_Y_OUT = 204;
constexpr int CMD_ZOOM_Y_IN = 206;
constexpr int CMD_ZOOM_X_OUT = 207;
constexpr int CMD_ADD_SAMPLE = 212;
constexpr int CMD_SUB_SAMPLE = 213;
constexpr int CMD_CHANNEL_INFO = 215; // popup "&Info"
constexpr int CMD_BEGIN_BLOCK = 217;
constexpr int CMD_END_BLOCK = 218;
constexpr int CMD_SELECT_ALL = 219;
constexpr int CMD_PLOT_SIGNAL = 220;
constexpr int CMD_PLOT_ENVELOPE = 221;
constexpr int CMD_PLOT_COSIGNAL = 222;
constexpr int CMD_PLOT_ALL = 223;
constexpr int CMD_PLOT_MODULE = 224;
constexpr int CMD_BLOCK_ERASE = 278;
constexpr int CMD_BLOCK_SET = 279;

// Queries the frame sends to the active child; the parameter points to the
// caller's record: a BlockRange, an int32_t plot mode, a CMeasure* slot.
constexpr int CMD_GET_BLOCK = 2100;
constexpr int CMD_GET_PLOT_MODE = 2102;
constexpr int CMD_GET_MEASURE = 2104;

// The "&Window" menu lists the open children from this id on.
constexpr int CMD_FIRST_CHILD = 1000;

// Menu and accelerator resources.
constexpr int MENU_FRAME = 101;
constexpr int MENU_SIGNAL_POPUP = 136;
constexpr int ACCELERATORS_FRAME = 125;

// Plot modes the plot commands set (bits: 1 signal, 2 cosignal, 4 envelope,
// 8 module).
constexpr int PLOT_MODE_SIGNAL = 1;
constexpr int PLOT_MODE_SIGNAL_COSIGNAL = 3;
constexpr int PLOT_MODE_SIGNAL_ENVELOPE = 5;
constexpr int PLOT_MODE_ALL = 7;
constexpr int PLOT_MODE_MODULE = 8;
