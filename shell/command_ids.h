// Command ids of menus, toolbar, accelerators and the frame's queries to its
// children. Every command of the program ends as one of these in the frame's
// command handler.
#pragma once

// The ids every measurement view answers (zoom, range, block, plot mode, the
// popup items and the block and plot-mode queries), which the frame forwards
// to the active child.
#include "shell/view_commands.h"

constexpr int CMD_ABOUT = 102;
constexpr int CMD_OPEN = 103;
constexpr int CMD_SAVE_BLOCK = 124;
constexpr int CMD_SAVE_AS = 126;
constexpr int CMD_EXIT = 127;
constexpr int CMD_FOURIER_OPTIONS = 135;
constexpr int CMD_HELP_CONTENTS = 152;
constexpr int CMD_INFO = 154;
constexpr int CMD_GENERATE = 158;
// Generate -> "&Irregular sea...": a drive for the wave-maker from a target spectrum.
constexpr int CMD_IRREGULAR_SEA = 320;
constexpr int CMD_FOURIER = 159;
constexpr int CMD_KALMAN = 161;
constexpr int CMD_APPROXIMATION = 162;
constexpr int CMD_RECALCULATE = 163;
constexpr int CMD_APROX_OPTIONS = 169;
constexpr int CMD_STATISTIC = 192;
constexpr int CMD_CUT = 194;   // bound to keys, handled nowhere
constexpr int CMD_PASTE = 195; // bound to keys, handled nowhere
constexpr int CMD_KALMAN_OPTIONS = 198;
constexpr int CMD_CLOSE_WINDOW = 199;
constexpr int CMD_BLOCK_INFO = 200;
constexpr int CMD_ADD_SAMPLE = 212;
constexpr int CMD_SUB_SAMPLE = 213;
constexpr int CMD_BLOCK_ERASE = 278;
constexpr int CMD_BLOCK_SET = 279;
// File -> "Export plot...": the active window's view as a picture.
constexpr int CMD_EXPORT_PLOT = 185;
// File -> "Report...": the active window's measurement as a test report.
constexpr int CMD_REPORT = 186;
// The wave analyses of the Analysis menu.
constexpr int CMD_WAVE_STATISTICS = 290;
constexpr int CMD_SPECTRUM = 291;
constexpr int CMD_REFLECTION = 292;
// Analysis -> "Ana&lyse files...": one wave analysis over several files, as a table.
constexpr int CMD_ANALYSE_FILES = 293;

// Edit -> "&Undo": takes the last "Block erease" back.
constexpr int CMD_UNDO = 310;

// The Window menu's arrangements, beside "&Close".
constexpr int CMD_TILE_WINDOWS = 300;
constexpr int CMD_CASCADE_WINDOWS = 301;
constexpr int CMD_ARRANGE_ICONS = 302;

// The query for the child's measurement; the parameter points to the
// caller's CMeasure* (the block and plot-mode queries are the view's).
constexpr int CMD_GET_MEASURE = 2104;
// The query whether the child has something to undo; the parameter points to
// the caller's int32_t, set to 1 when it has.
constexpr int CMD_GET_UNDO = 2106;

// The "&Window" menu lists the open children from this id on.
constexpr int CMD_FIRST_CHILD = 1000;

// Menu and accelerator resources.
constexpr int MENU_FRAME = 101;
constexpr int ACCELERATORS_FRAME = 125;
