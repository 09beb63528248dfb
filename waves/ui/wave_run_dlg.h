// The run dialog of a wave analysis. OK reads the fields and runs the
// analysis at once (it is fast): what cannot be computed keeps the dialog
// open with the reason in its hint line, so no entry is lost; what can is
// handed out in `created`.
#pragma once

#include <memory>

#include "shell/ui/dialog.h"
#include "waves/wave_result.h"

class CWaveRunDlg : public CDialog {
  public:
    // A first run on the blocks of `source`; `options` gets what OK read.
    CWaveRunDlg(WaveAnalysis kind, WaveRunOptions* options, const CMeasure& source)
        : kind(kind), optionsData(options), options(*options), source(&source) {}
    // A Recalculate of `previous` on its own blocks: its channels and block
    // show greyed, its analysis options are edited.
    explicit CWaveRunDlg(const CWaveResult& previous)
        : kind(previous.kind), options(previous.options), previous(&previous) {}

    int OnInitDialog(QDialog* dialog) override;
    int OnOK() override;

    // The dialog template of each analysis.
    static int templateOf(WaveAnalysis kind);

    const WaveAnalysis kind;
    WaveRunOptions* optionsData = nullptr;
    WaveRunOptions options;
    // The computed result, after OK.
    std::unique_ptr<CWaveResult> created;

  private:
    void showFields();
    // The channels and block (first run only); false leaves the dialog open.
    bool readBlock(WaveRunOptions& read);
    bool readGauges(WaveRunOptions& read);
    bool readAnalysisFields(WaveRunOptions& read);
    // The field a reason of the core is about.
    int fieldFor(const std::string& reason) const;

    const CMeasure* source = nullptr;
    const CWaveResult* previous = nullptr;
};
