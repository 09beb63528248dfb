// "Export Plot": the width and height of the picture, in pixels.
#pragma once

#include <QSize>

#include "shell/ui/dialog.h"

class CExportSizeDlg : public CDialog {
  public:
    explicit CExportSizeDlg(QSize* data) : data(data), size(*data) {}

    int OnInitDialog(QDialog* dialog) override;
    // A side that is not a whole number within the accepted sizes keeps the
    // dialog open and says what it accepts.
    int OnOK() override;

    QSize* data;
    QSize size; // the private copy the fields edit
};
