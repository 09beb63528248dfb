// "Set Block": the block's channel and bounds as three integer fields.
#pragma once

#include "measure/measure.h"
#include "shell/ui/dialog.h"

class CBlockDlg : public CDialog {
  public:
    explicit CBlockDlg(BlockRange* data) : data(data), block(*data) {}

    int OnInitDialog(QDialog* dialog) override;
    // Reads the three fields; a field without an integer keeps its old
    // value. The dialog closes all the same.
    int OnOK() override;

    BlockRange* data;
    BlockRange block; // the private copy the fields edit
};
