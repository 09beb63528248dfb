// "Kalman Models": the wave generator's parameters.
#pragma once

#include "generator/generator_parameters.h"
#include "shell/ui/dialog.h"

class CParametryGeneratoraDlg : public CDialog {
  public:
    explicit CParametryGeneratoraDlg(GeneratorParameters* data) : data(data), parameters(*data) {}

    int OnInitDialog(QDialog* dialog) override;
    // Writes the whole record back once every field reads and the record can
    // be synthesised; otherwise the dialog stays open and says why.
    int OnOK() override;
    // The model list enables the fields of its model; "Copy all".
    int OnCommand(int id, int code, QWidget* control) override;

    GeneratorParameters* data;
    GeneratorParameters parameters;

  private:
    bool readFields(GeneratorParameters& read);
    void enableModelFields(int model);
};
