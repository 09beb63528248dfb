#include "sea/ui/sea_commands.h"

#include "sea/ui/irregular_sea_dlg.h"
#include "sea/ui/sea_dialog_templates.h"
#include "sea/ui/sea_wnd.h"
#include "shell/command_ids.h"
#include "shell/ui/main_frame.h"
#include "shell/ui/warning_message.h"
#include "view/ui/measure_view.h"

bool SeaCommands::OnCommand(int id) {
    if (id != CMD_IRREGULAR_SEA) return false;
    CIrregularSeaDlg dialog(last_);
    dialog.tablePath = lastTable_;
    if (showDialog(dialog, &frame_, DIALOG_IRREGULAR_SEA) != 1 || !dialog.created) return true;
    last_ = dialog.parameters;
    lastTable_ = dialog.tablePath;
    auto* window = new CSeaWnd(last_, lastTable_);
    OwnedMeasure shown = seaWindowMeasure(*dialog.created);
    if (!shown) {
        delete window;
        showWarning(&frame_, QStringLiteral("Not enough memory to show the drive."));
        return true;
    }
    if (CMeasureWnd* made = showInNewWindow(frame_, window, std::move(shown)))
        static_cast<CSeaWnd*>(made)->showTarget(*dialog.created);
    return true;
}
