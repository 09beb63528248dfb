// The editor of one wave component, "Channel configuration": its name and
// the numbers a given list shows, each in its own format. The
// signal-parameters, Kalman and approximation lists each show a different
// set of numbers; the rest of the component passes through unchanged.
#pragma once

#include <vector>

#include "measure/measure.h"
#include "shell/ui/dialog.h"

constexpr int IDC_COMPONENT_NAME_FIELD = 138;

struct ComponentField {
    int id;
    double SignalComponent::*value;
    const char* format; // shown through it, read back as any finite number
};

class CComponentDlg : public CDialog {
  public:
    CComponentDlg(SignalComponent* data, std::vector<ComponentField> fields)
        : data(data), component(*data), fields_(std::move(fields)) {}

    int OnInitDialog(QDialog* dialog) override;
    // Writes the whole component back once every field reads.
    int OnOK() override;

    SignalComponent* data;
    SignalComponent component;

  private:
    std::vector<ComponentField> fields_;
};
