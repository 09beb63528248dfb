// "Measure configuration": the measurement's name, rate, counts, date and a
// list of its channels, each edited in "Channel configuration".
#pragma once

#include <memory>

#include "measure/measure.h"
#include "shell/ui/dialog.h"

class CFileInfoDlg : public CDialog {
  public:
    explicit CFileInfoDlg(CMeasure* measure)
        : measure(measure), header(std::make_unique<CHeader>(*measure)) {}

    int OnInitDialog(QDialog* dialog) override;
    // Writes the name, the rate and the channel descriptions back; a channel
    // calibrated in "Channel configuration" has its values scaled to the new
    // coefficient and constant, whatever file it came from. The counts and
    // the component lists are not the dialog's: an analysis may have changed
    // them while it was open.
    int OnOK() override;
    int OnCommand(int id, int code, QWidget* control) override;
    int OnNotify(int id, const NotifyRecord& record) override;

    bool modified = false;
    CMeasure* measure;
    std::unique_ptr<CHeader> header;    // the private copy the dialog edits
    bool calibrated[MAX_CHANNELS] = {}; // channels given a fit by Calibrate...

  private:
    void editChannel(int row);
    bool applyCalibrations();
    void showChannelRow(int row);
};
