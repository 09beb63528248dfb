// "Set Block": the block's channel and bounds as three integer fields.
#pragma once

#include "measure/measure.h"
#include "shell/ui/dialog.h"

class CBlockDlg : public CDialog {
  public:
    // `measure` bounds what OK accepts: a channel of it and bounds within
    // 0 .. its sample count (a block may run backwards).
    CBlockDlg(BlockRange* data, const CMeasure* measure)
        : data(data), block(*data), channels(measure ? measure->channelCount : 0),
          samples(measure ? measure->sampleCount : 0) {}

    int OnInitDialog(QDialog* dialog) override;
    // Reads the three fields; a field that is not an integer in its range
    // keeps the dialog open and says what it accepts.
    int OnOK() override;

    BlockRange* data;
    BlockRange block; // the private copy the fields edit
    int32_t channels;
    int32_t samples;
};
