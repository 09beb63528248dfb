// The dialogs of the measurement view and its window: "Set Block", and the
// "Signal Parameters" list with its component editor.
#pragma once

constexpr int DIALOG_SET_BLOCK = 280;
constexpr int IDC_BLOCK_CHANNEL = 271;
constexpr int IDC_BLOCK_FROM = 1050;
constexpr int IDC_BLOCK_TO = 244;

// Adds the view's dialog templates to the registry.
void registerViewDialogTemplates();
