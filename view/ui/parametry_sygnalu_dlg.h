// "Signal Parameters": a channel's component list with its block, edited in
// place and copied as text.
#pragma once

#include "measure/measure.h"
#include "shell/ui/dialog.h"
#include "view/ui/component_list.h"

class CParametrySygnaluDlg : public CDialog {
  public:
    // Edits `data` (the channel's list) for the block `opened`; OK writes the
    // block's fields to `caller`. From and To take 0 .. `samples`.
    CParametrySygnaluDlg(SignalParameters* data, const BlockRange& opened, BlockRange* caller,
                         int32_t samples);

    int OnInitDialog(QDialog* dialog) override;
    // Writes the whole list back, and the block's fields to the caller.
    int OnOK() override;
    int OnCommand(int id, int code, QWidget* control) override;
    int OnNotify(int id, const NotifyRecord& record) override;

    SignalParameters params; // the private copy
    SignalParameters* data;
    BlockRange range; // as opened
    BlockRange* caller;
    int32_t samples;

  private:
    void copyAll();

    ComponentList list_;
};
