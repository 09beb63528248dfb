// The result window of a wave analysis: its curves (the spectrum, the
// incident and reflected spectra, or the wave heights and periods wave by
// wave) in the measurement view, and beside them the parameters in a table
// that copies as text. The analyses are fast, so the window computes in the
// user's thread: "&Recalculate" runs the dialog on its own options again.
#pragma once

#include <memory>
#include <string>

#include "view/ui/measure_wnd.h"
#include "waves/wave_result.h"

class QLabel;
class QPushButton;
class QTableWidget;

class CWaveResultWnd : public CMeasureWnd {
  public:
    CWaveResultWnd();
    ~CWaveResultWnd() override;
    // A child of class "KelvoKalmanClass".
    bool Create(int x, int y, int width, int height, QWidget* parent, int style) override;
    // The view and, beside it, the parameter table and its Copy button.
    int OnCreate(void* createData) override;
    void OnSize(int sizeType, int width, int height) override;
    // Lets go of the exceedance view before the result goes.
    void OnDestroy() override;
    // Shows the result (a CWaveResult), computing it first when it has not
    // been, and titles the window "<source> - <analysis>".
    void Attach(OwnedMeasure m) override;
    intptr_t OnCommand(int id, intptr_t param) override;
    // A saved result keeps its title: it names the source and the analysis.
    void OnSaved() override {}

    CWaveResult* result() const { return static_cast<CWaveResult*>(measure.get()); }
    // The table as "label<TAB>value" lines with CR LF ends.
    std::string tableText() const;
    // Puts tableText() on the clipboard.
    void copyTable() const;

    QTableWidget* table = nullptr;
    QPushButton* copyButton = nullptr;
    // Under the table: the result's noise warnings, hidden without any.
    QLabel* hint = nullptr;
    // Wave statistics: the exceedance plot (log10 P against H) under the
    // wave list; hidden for the other analyses.
    std::unique_ptr<CMeasureView> exceedanceView;

  private:
    void showResult();
    void showExceedance();
    void OnRecalculate();
};
