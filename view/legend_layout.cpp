#include "view/legend_layout.h"

std::vector<LegendSlot> legendSlots(const std::vector<int>& widths, int width) {
    std::vector<LegendSlot> slots;
    int x = 0, row = 0;
    for (int w : widths) {
        if (w > width) return {};
        if (x > 0 && x + w > width) {
            x = 0;
            ++row;
        }
        slots.push_back({x, row});
        x += w + LEGEND_ENTRY_GAP;
    }
    return slots;
}

int legendRows(const std::vector<LegendSlot>& slots) {
    return slots.empty() ? 0 : slots.back().row + 1;
}
