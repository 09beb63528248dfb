// "From spectrum" and its K field in the Kalman and approximation run dialogs:
// a component list from the largest peaks of the spectrum of the block the
// dialog runs on.
#pragma once

#include "measure/measure.h"

class CDialog;
class DialogBuilder;

constexpr int IDC_SPECTRUM_STARTS = 1060;
constexpr int IDC_SPECTRUM_START_COUNT = 1061;

// The button at x, y and the K field below it.
void addSpectrumStartRows(DialogBuilder& d, int x, int y);
// K as a dialog opens: 3.
void showSpectrumStartCount(CDialog& dialog);
// Reads K (1 .. 10) and replaces `list` by the start components of `block`
// of `source`. False, `list` untouched, when K is refused or the block gives
// no component; the dialog then says why on the field or the button.
bool readSpectrumStarts(CDialog& dialog, const CMeasure& source, const BlockRange& block,
                        SignalParameters& list);
