#include "view/ui/view_feature.h"

#include "measure/measure_file.h"
#include "shell/ui/application.h"
#include "shell/ui/command_groups.h"
#include "view/ui/description_watch.h"
#include "view/ui/export_commands.h"
#include "view/ui/file_commands.h"
#include "view/ui/view_dialog_templates.h"

namespace {

// By its extension (unknown ones read as .INT), so that a file manager can
// open any measurement with the program; a failure is said, and opens nothing.
void openCommandLineFile(CMainFrame& frame, const std::string& path) {
    openMeasureFile(frame, path, fileTypeFromPath(path));
}

} // namespace

void registerView() {
    registerViewDialogTemplates();
    addCommandGroup<FileCommands>();
    addCommandGroup<ExportCommands>();
    setCommandLineOpener(&openCommandLineFile);
    addCommandWatch(watchDescription);
}
