// Where a plot's legend entries go: left to right in rows across the plot's
// width, a new row when the next entry would not fit.
#pragma once

#include <vector>

struct LegendSlot {
    int x;   // from the legend's left edge
    int row; // from 0
};

// Pixels between two entries of a row.
constexpr int LEGEND_ENTRY_GAP = 16;

// One slot per entry of `widths`; empty when an entry is wider than `width`
// (the legend is then left out rather than cut).
std::vector<LegendSlot> legendSlots(const std::vector<int>& widths, int width);
// Rows `slots` take.
int legendRows(const std::vector<LegendSlot>& slots);
