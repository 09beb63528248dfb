// Dialog templates as data: per dialog id its title, size and controls (id,
// kind, label, geometry in pixels). The user interface builds a dialog from
// its template; controls are found by id.
#pragma once

#include <vector>

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDC_STATIC = -1; // labels nobody looks up

enum class ControlKind {
    Label,
    Edit,
    Button,
    DefaultButton,
    CheckBox,
    RadioButton,
    GroupBox,
    ListView, // report style: columns, grid lines, whole-row selection
    ComboBox,
    Icon, // the program icon; the text is unused
};

// Control style bits.
constexpr int CONTROL_READ_ONLY = 0x1;
constexpr int CONTROL_MULTI_LINE = 0x2;
constexpr int CONTROL_GROUP = 0x4; // the first radio button of a group
constexpr int CONTROL_DISABLED = 0x8;

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;
    int x;
    int y;
    int width;
    int height;
    int style = 0;
};

struct DialogTemplate {
    int id;
    const char* title;
    int width;
    int height;
    std::vector<ControlTemplate> controls;
};

constexpr int DIALOG_ABOUT = 104;
constexpr int DIALOG_SET_BLOCK = 280;
constexpr int IDC_BLOCK_CHANNEL = 271;
constexpr int IDC_BLOCK_FROM = 1050;
constexpr int IDC_BLOCK_TO = 244;

// The template of dialog `id`; null when there is none.
const DialogTemplate* findDialogTemplate(int id);
// Adds a template or replaces the one with the same id.
void addDialogTemplate(const DialogTemplate& dialog);
