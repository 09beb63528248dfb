#include "generator/ui/generator_wnd.h"

#include "generator/generator_synthesis.h"
#include "generator/ui/generator_dialog_templates.h"
#include "generator/ui/parametry_generatora_dlg.h"
#include "shell/command_ids.h"
#include "shell/ui/warning_message.h"
#include "shell/window_classes.h"
#include "view/ui/measure_view.h"

bool CGeneratorWnd::Create(int x, int y, int width, int height, QWidget* parent, int style) {
    return createChild(GENERATOR_CLASS, QStringLiteral("Generator Analisys"), parent, x, y, width,
                       height, style);
}

void CGeneratorWnd::synthesise() {
    std::string error;
    if (!GeneratorSynthesis(*generator(), &error))
        showWarning(
            hwnd,
            QStringLiteral("The signal was not generated: %1.").arg(QString::fromStdString(error)));
}

void CGeneratorWnd::Attach(OwnedMeasure m) {
    measure = std::move(m);
    synthesise();
    if (view) view->SetMeasure(measure.get());
    setTitle(QStringLiteral("Generated"));
    showStatusIfActive();
}

intptr_t CGeneratorWnd::OnCommand(int id, intptr_t param) {
    if (id == CMD_RECALCULATE && generator()) {
        // This window's own parameters; the global ones stay as they are.
        GeneratorParameters edited = generator()->parameters;
        CParametryGeneratoraDlg dialog(&edited);
        if (showDialog(dialog, hwnd, DIALOG_GENERATOR) == 1) {
            generator()->parameters = edited;
            synthesise();
            if (view) view->Refresh();
        }
    }
    return CMeasureWnd::OnCommand(id, param);
}
