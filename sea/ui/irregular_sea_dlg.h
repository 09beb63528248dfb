// "Irregular Sea": the parameters of a drive for the wave-maker. On OK the
// drive is synthesised at once, so that a sea the band cannot hold or a drive
// beyond the paddle's limits keeps the dialog open and says why.
#pragma once

#include <memory>
#include <string>

#include "sea/sea_parameters.h"
#include "sea/sea_synthesis.h"
#include "shell/ui/dialog.h"

class CIrregularSeaDlg : public CDialog {
  public:
    explicit CIrregularSeaDlg(const SeaParameters& start) : parameters(start) {}

    int OnInitDialog(QDialog* dialog) override;
    int OnOK() override;
    // The wave, order, spectrum and paddle lists and the subharmonics box
    // enable their fields; "Browse..." picks the table file.
    int OnCommand(int id, int code, QWidget* control) override;

    // The parameters as shown and, after OK, as read.
    SeaParameters parameters;
    // The file the user's table was read from, shown when asked again.
    std::string tablePath;
    // The drive synthesised on OK.
    std::unique_ptr<SeaDrive> created;

  private:
    void enableFields();
    void enableSpectrumFields(bool spectral);
    void showWave();
    void showTwoPartSea();
    void browseTable();
    bool readFields(SeaParameters& read);
    // A blank field reads as `blank` (a default the core works out).
    bool readOptional(int id, double& out, double blank);
    bool readTable(SeaParameters& read);
    // The wave chosen and its own fields.
    bool readWave(SeaParameters& read);
    bool readOrder(SeaParameters& read);
    // A composite sea's swell and wind sea, or Ochi-Hubble's six numbers.
    bool readTwoPartSea(SeaParameters& read);
    void showOptional(int id, double value, double blank);
};
