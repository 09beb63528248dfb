// The dialogs of the measurement view and its window: "Set Block", and the
// "Signal Parameters" list with its component editor.
#pragma once

constexpr int DIALOG_SET_BLOCK = 280;
constexpr int IDC_BLOCK_CHANNEL = 271;
constexpr int IDC_BLOCK_FROM = 1050;
constexpr int IDC_BLOCK_TO = 244;

// Adds the view's dialog templates to the registry.
void registerViewDialogTemplates();

// "Signal Parameters": a channel's component list (list and buttons as
// ComponentList names them) and its block.
constexpr int DIALOG_SIGNAL_PARAMETERS = 454;
constexpr int IDC_SIGNAL_CHANNEL = 271;
constexpr int IDC_SIGNAL_FROM = 1050;
constexpr int IDC_SIGNAL_TO = 244;
constexpr int IDC_COPY_ALL = 238;

// Its component editor, titled "Channel configuration".
constexpr int DIALOG_SIGNAL_COMPONENT = 455;
constexpr int IDC_COMPONENT_NAME = 138;
constexpr int IDC_COMPONENT_FREQUENCY = 205;
constexpr int IDC_COMPONENT_AMPLITUDE = 214;
constexpr int IDC_COMPONENT_K = 225;
constexpr int IDC_COMPONENT_A = 1051;
constexpr int IDC_COMPONENT_D = 1052;
constexpr int IDC_COMPONENT_ETA = 113;

// "Export Plot": the picture's size in pixels.
constexpr int DIALOG_EXPORT_SIZE = 470;
constexpr int IDC_EXPORT_WIDTH = 471;
constexpr int IDC_EXPORT_HEIGHT = 472;
