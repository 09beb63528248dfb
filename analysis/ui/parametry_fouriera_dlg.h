// "Transformata Fouriera": channel, range and direction of a Fourier run.
#pragma once

#include "analysis/fourier_options.h"
#include "measure/measure.h"
#include "shell/ui/dialog.h"

class CParametryFourieraDlg : public CDialog {
  public:
    // Edits copies of `options` and `range`; `source` bounds the range.
    CParametryFourieraDlg(FourierOptions* options, BlockRange* range, const CMeasure& source)
        : optionsData(options), rangeData(range), options(*options), range(*range), source(source) {
    }

    int OnInitDialog(QDialog* dialog) override;
    // Writes the range and the whole options record back.
    int OnOK() override;

    FourierOptions* optionsData;
    BlockRange* rangeData;
    FourierOptions options;
    BlockRange range;
    const CMeasure& source;
};
