// What the Kalman and approximation run dialogs share: working copies of the
// analysed channel's component list, of the analysis's options and of its
// range, the list with its buttons, the range fields, and the write-back on
// OK. Each dialog adds its own option fields and "Copy all".
#pragma once

#include "analysis/ui/run_range.h"
#include "measure/measure.h"
#include "shell/ui/dialog.h"
#include "view/ui/component_list.h"

template <typename Options> class CComponentRunDlg : public CDialog {
  public:
    // Edits copies of the channel's list, `options` and `range`; `source`
    // bounds the range.
    CComponentRunDlg(SignalParameters* list, Options* options_, BlockRange* range_,
                     const CMeasure& source_, ComponentListStyle style)
        : params(*list), options(*options_), range(*range_), listData(list), optionsData(options_),
          rangeData(range_), source(source_), list_(*this, params, std::move(style)) {}

    int OnInitDialog(QDialog* dialog) override {
        CDialog::OnInitDialog(dialog);
        showRunRange(*this, range);
        list_.fill();
        return 1;
    }
    int OnNotify(int id, const NotifyRecord& record) override {
        list_.OnNotify(id, record);
        return 0;
    }

    SignalParameters params;
    Options options;
    BlockRange range;
    SignalParameters* listData;
    Options* optionsData;
    BlockRange* rangeData;
    const CMeasure& source;

  protected:
    // The list's buttons; false for another control.
    bool listCommand(int id) { return list_.OnCommand(id); }
    // The range as typed now; false, the dialog on the refused field, otherwise.
    bool typedRange(BlockRange& out) {
        out = range;
        return readRunRange(*this, source, out);
    }
    // Shows the list anew after `params` was replaced as a whole.
    void refillList() { list_.fill(); }
    // Reads the range; on success writes it, `read` and the list back and
    // closes with OK. Otherwise, and while the list is empty (a run would
    // give nothing but the block's rest), the dialog stays open and says why.
    int acceptWith(const Options& read) {
        if (params.componentCount < 1) {
            showFieldHint(IDC_COMPONENT_LIST,
                          QStringLiteral("The list holds no wave component to work on: add one, "
                                         "or take the block's peaks with From spectrum."));
            return 1;
        }
        BlockRange readRange = range;
        if (!readRunRange(*this, source, readRange)) return 1;
        *rangeData = readRange;
        *optionsData = read;
        *listData = params;
        return CDialog::OnOK();
    }

  private:
    ComponentList list_;
};
