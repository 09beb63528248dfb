#include "generator/ui/generator_feature.h"

#include "generator/generator_parameters.h"
#include "generator/ui/generator_commands.h"
#include "generator/ui/generator_dialog_templates.h"
#include "shell/ui/command_groups.h"

void registerGenerator() {
    registerGeneratorDialogTemplates();
    registerGeneratorSettings();
    addCommandGroup<GeneratorCommands>();
}
