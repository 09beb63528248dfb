// What the measurement view draws: a bit set over the channel's complex samples.
#pragma once

#include <cstdint>

#include "shell/view_commands.h"

using PlotMode = int32_t;

constexpr PlotMode PLOT_SIGNAL = 1;   // real part, a polyline
constexpr PlotMode PLOT_COSIGNAL = 2; // imaginary part, a polyline
constexpr PlotMode PLOT_ENVELOPE = 4; // +|z| and -|z|, two polylines
constexpr PlotMode PLOT_MODULE = 8;   // |z| as bars; the other bits are then ignored
constexpr PlotMode PLOT_PHASE = 16;   // arg z in radians as bars; ignores the bits below it

// The one quantity drawn alone, as bars (or a line): the modulus wins over the phase.
inline bool plotsModule(PlotMode mode) {
    return (mode & PLOT_MODULE) != 0;
}
inline bool plotsPhase(PlotMode mode) {
    return !plotsModule(mode) && (mode & PLOT_PHASE) != 0;
}

// The plot command whose radio mark a plot mode selects; 0 for none.
inline int plotCommandForMode(PlotMode plotMode) {
    switch (plotMode) {
    case PLOT_SIGNAL:
        return CMD_PLOT_SIGNAL;
    case PLOT_SIGNAL | PLOT_ENVELOPE:
        return CMD_PLOT_ENVELOPE;
    case PLOT_SIGNAL | PLOT_COSIGNAL:
        return CMD_PLOT_COSIGNAL;
    case PLOT_SIGNAL | PLOT_COSIGNAL | PLOT_ENVELOPE:
        return CMD_PLOT_ALL;
    case PLOT_MODULE:
        return CMD_PLOT_MODULE;
    default:
        return 0;
    }
}
