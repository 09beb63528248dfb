// The window side of every analysis result: the worker's messages with their
// run tag (a message of an earlier run is ignored), a progress bar while the
// worker runs, "&Recalculate", and a title that says "Closed" once the
// source measurement is gone.
#pragma once

#include "analysis/calculation.h"
#include "analysis/message_sink.h"
#include "view/ui/measure_wnd.h"

class QProgressBar;

class CResultWnd : public CMeasureWnd, private MessageSink {
  public:
    // Creates the view in the window's plot mode and the progress bar.
    int OnCreate(void* createData) override;
    void OnSize(int sizeType, int width, int height) override;
    // The worker's messages, "&Recalculate", then the measure window's commands.
    intptr_t OnCommand(int id, intptr_t param) override;
    // Shows the result (a CCalculation), titles the window and starts a run.
    void Attach(OwnedMeasure m) override;

    // A saved result keeps its title: it names the source and the analysis.
    void OnSaved() override {}

    CCalculation* result() const;
    // Starts a run on the result's current range and options. A run that
    // cannot be computed is refused with a message; false then.
    bool start();
    bool running() const;

  protected:
    virtual const char* titleSuffix() const = 0;
    virtual PlotMode initialPlotMode() const { return PLOT_SIGNAL; }
    // Why a run would be refused now, or null.
    virtual const char* runProblem() const;
    // The analysis's run dialog on the result's own options and range; true on OK.
    virtual bool runDialog() = 0;
    virtual void beforeRun() {}
    // After a run ended and the view shows its rows.
    virtual void afterRun() {}
    // Whether `done` counts towards the source range (else a busy bar shows).
    virtual bool countsProgress() const { return true; }

    void updateTitle();
    void updateProgress();

  private:
    // On the worker's thread: queue the message for this window.
    void post(int command, int32_t done, uint32_t run) override;
    void OnRecalculate();
    void placeChildren(int width, int height);

    QProgressBar* progress_ = nullptr;
};
