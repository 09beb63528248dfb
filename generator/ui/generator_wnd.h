// The generator window: a synthesised wave-maker signal, synthesised again
// from its own edited parameters on "&Recalculate".
#pragma once

#include "generator/generator.h"
#include "view/ui/measure_wnd.h"

class CGeneratorWnd : public CMeasureWnd {
  public:
    // A child of class "KelvoGeneratorClass" titled "Generator Analisys".
    bool Create(int x, int y, int width, int height, QWidget* parent, int style) override;
    // Synthesises the generator (a CGenerator), shows it and titles the window "Generated".
    void Attach(OwnedMeasure m) override;
    intptr_t OnCommand(int id, intptr_t param) override;

    CGenerator* generator() const { return static_cast<CGenerator*>(measure.get()); }

  private:
    // A synthesis that fails says why; the window then shows no samples.
    void synthesise();
};
