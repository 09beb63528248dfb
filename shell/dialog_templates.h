// Dialog templates as data: per dialog id its title, size and controls (id,
// kind, label, geometry in pixels). The user interface builds a dialog from
// its template; controls are found by id. Each subsystem keeps the templates
// of its own dialogs and adds them to this registry at start-up.
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

// The template of dialog `id`; null when there is none.
const DialogTemplate* findDialogTemplate(int id);
// Adds a template or replaces the one with the same id.
void addDialogTemplate(const DialogTemplate& dialog);

// Sizes of hand-placed rows.
constexpr int ROW_HEIGHT = 30;
constexpr int FIELD_HEIGHT = 24;
constexpr int BUTTON_WIDTH = 80;
constexpr int BUTTON_HEIGHT = 26;

// Keeps hand placement short: the common rows of a dialog in one call each.
class DialogBuilder {
  public:
    DialogBuilder(int id, const char* title, int width, int height);

    // A label at (x, y) and the field `id` right of it, `labelWidth` apart.
    DialogBuilder& labelEdit(int x, int y, int labelWidth, const char* label, int id,
                             int fieldWidth, int style = 0);
    DialogBuilder& labelCombo(int x, int y, int labelWidth, const char* label, int id,
                              int fieldWidth);
    // A label above a list view of `width` x `height` (no label when null).
    DialogBuilder& labelList(int x, int y, const char* label, int id, int width, int height);
    DialogBuilder& check(int x, int y, int id, const char* text, int width);
    DialogBuilder& button(int x, int y, int id, const char* text, bool isDefault = false);
    DialogBuilder& control(const ControlTemplate& control);
    // OK (default) and Cancel side by side, from (x, y).
    DialogBuilder& okCancel(int x, int y, const char* ok = "OK", const char* cancel = "Cancel");

    const DialogTemplate& result() const { return dialog_; }

  private:
    DialogTemplate dialog_;
};
