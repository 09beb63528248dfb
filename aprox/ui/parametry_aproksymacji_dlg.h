// "Approximation": the range, the analysed channel's component list and the
// two start options of an approximation run.
#pragma once

#include "aprox/aprox_options.h"
#include "measure/measure.h"
#include "shell/ui/dialog.h"
#include "view/ui/component_list.h"

class CParametryAproksymacjiDlg : public CDialog {
  public:
    // Edits copies of the channel's list, `options` and `range`; `source`
    // bounds the range. OK writes all three back.
    CParametryAproksymacjiDlg(SignalParameters* list, AproxOptions* options, BlockRange* range,
                              const CMeasure& source);

    int OnInitDialog(QDialog* dialog) override;
    int OnOK() override;
    int OnCommand(int id, int code, QWidget* control) override;
    int OnNotify(int id, const NotifyRecord& record) override;

    SignalParameters params;
    AproxOptions options;
    BlockRange range;
    SignalParameters* listData;
    AproxOptions* optionsData;
    BlockRange* rangeData;
    const CMeasure& source;

  private:
    ComponentList list_;
};
