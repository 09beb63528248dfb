// The window of a drive for the wave-maker: the paddle's displacement and
// velocity with the sea they make over the target spectrum, and beside them
// the report. The measurement is the drive (File -> Save as writes an .M11 of
// the displacement); "&Recalculate" asks for the parameters again.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sea/sea_parameters.h"
#include "sea/sea_synthesis.h"
#include "view/ui/measure_wnd.h"

class QTableWidget;
class CResultPlot;

class CSeaWnd : public CMeasureWnd {
  public:
    CSeaWnd(const SeaParameters& parameters, std::string tablePath)
        : parameters(parameters), tablePath(std::move(tablePath)) {}
    ~CSeaWnd() override;

    bool Create(int x, int y, int width, int height, QWidget* parent, int style) override;
    // The drive's view over the spectrum's plot, and beside them the report.
    int OnCreate(void* createData) override;
    void OnSize(int sizeType, int width, int height) override;
    intptr_t OnCommand(int id, intptr_t param) override;

    // Shows `drive`, made from `parameters`; false when the memory for its
    // measurements was not there.
    bool showDrive(const SeaDrive& drive);
    // The target spectrum, the report and the title of `drive`, whose
    // measurement the window already shows; the window is then unsaved.
    bool showTarget(const SeaDrive& drive);

    SeaParameters parameters;
    std::string tablePath;
    CResultPlot* spectrumPlot = nullptr; // hidden for a regular sea
    std::unique_ptr<CMeasure> spectrum;  // the target, X in Hz; none for a regular sea
    QTableWidget* table = nullptr;
    std::vector<std::string> reportLines;

  private:
    void OnRecalculate();
};

// The drive as the window shows it: displacement, velocity and the target
// elevation; null without the memory for it.
OwnedMeasure seaWindowMeasure(const SeaDrive& drive);
