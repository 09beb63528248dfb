// The result window of a wave analysis: its curves (the spectrum with its
// band, the incident and reflected spectra, or the wave heights and periods
// wave by wave over their exceedance) in plots with titled axes and legends,
// and beside them the parameters in a table
// that copies as text. The analyses are fast, so the window computes in the
// user's thread: "&Recalculate" runs the dialog on its own options again.
#pragma once

#include <string>
#include <vector>

#include "view/ui/measure_wnd.h"
#include "waves/wave_result.h"

class QLabel;
class QPushButton;
class QTableWidget;
class CResultPlot;

class CWaveResultWnd : public CMeasureWnd {
  public:
    CWaveResultWnd();
    ~CWaveResultWnd() override;
    // A child of class "KelvoKalmanClass".
    bool Create(int x, int y, int width, int height, QWidget* parent, int style) override;
    // The plots and, beside them, the parameter table and its Copy button.
    // The measurement view stays hidden: it only keeps the result for the
    // window's commands (Save as and the like).
    int OnCreate(void* createData) override;
    void OnSize(int sizeType, int width, int height) override;
    // Shows the result (a CWaveResult), computing it first when it has not
    // been, and titles the window "<source> - <analysis>".
    void Attach(OwnedMeasure m) override;
    intptr_t OnCommand(int id, intptr_t param) override;
    // A saved result keeps its title: it names the source and the analysis.
    void OnSaved() override {}
    // File -> Export: the shown plots one above the other, as the window
    // stacks them, filling `size`.
    bool paintPicture(QPainter& painter, QSize size, PlotTextLog* log) const override;
    // The area the shown plots take together.
    QSize pictureSize() const override;

    CWaveResult* result() const { return static_cast<CWaveResult*>(measure.get()); }
    // The table as "label<TAB>value" lines with CR LF ends.
    std::string tableText() const;
    // Puts tableText() on the clipboard.
    void copyTable() const;

    QTableWidget* table = nullptr;
    QPushButton* copyButton = nullptr;
    // Under the table: the result's noise warnings, hidden without any.
    QLabel* hint = nullptr;
    // Top to bottom: H and T wave by wave and their exceedance for the
    // statistics, one plot of the spectra otherwise; plots not used are hidden.
    std::vector<CResultPlot*> plots;
    // The plots shown.
    std::vector<CResultPlot*> shownPlots() const;

  private:
    void showResult();
    void showPlots();
    void OnRecalculate();
};
