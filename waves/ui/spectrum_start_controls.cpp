#include "waves/ui/spectrum_start_controls.h"

#include <cmath>
#include <string>

#include "shell/dialog_templates.h"
#include "shell/ui/dialog.h"
#include "waves/spectrum_starts.h"

void addSpectrumStartRows(DialogBuilder& d, int x, int y) {
    // Wider than the buttons above it, to the same right edge: the label is longer.
    d.control({IDC_SPECTRUM_STARTS, ControlKind::Button, "From &spectrum", x - 12, y,
               BUTTON_WIDTH + 12 + 8, BUTTON_HEIGHT})
        .labelEdit(x, y + BUTTON_HEIGHT + 10, 30, "K", IDC_SPECTRUM_START_COUNT, 50);
}

void showSpectrumStartCount(CDialog& dialog) {
    dialog.setInt(IDC_SPECTRUM_START_COUNT, 3);
}

bool readSpectrumStarts(CDialog& dialog, const CMeasure& source, const BlockRange& block,
                        SignalParameters& list) {
    int32_t count = 0;
    if (!dialog.readInt(IDC_SPECTRUM_START_COUNT, count, 1, MAX_COMPONENTS)) return false;
    std::string why;
    if (!spectrumStartComponents(source, block, count, list, &why)) {
        dialog.showFieldHint(IDC_SPECTRUM_STARTS,
                             QString::fromStdString("No start components: " + why));
        return false;
    }
    // Fewer than asked is an answer, not a refusal, but not a silent one.
    if (list.componentCount < count)
        dialog.showFieldHint(IDC_SPECTRUM_START_COUNT,
                             QString("Only %1 of %2 peaks: the others are under %3 % of the "
                                     "largest wave's amplitude")
                                 .arg(list.componentCount)
                                 .arg(count)
                                 .arg(100 * std::sqrt(PEAK_FLOOR)),
                             CDialog::HintKind::Information);
    return true;
}
