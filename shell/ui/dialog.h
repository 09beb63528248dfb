// The modal dialog object layer: a CDialog receives the events of one dialog
// built from its template, and reads and writes its fields by control id.
#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class QDialog;
class QTableWidget;
class QWidget;

// Notification codes delivered to OnNotify for list views.
constexpr int NM_CLICK = -2;
constexpr int NM_DBLCLK = -3;
constexpr int LVN_ITEMCHANGED = -101;

// Notification codes delivered to OnCommand.
constexpr int BN_CLICKED = 0;     // buttons, check boxes, radio buttons
constexpr int EN_CHANGE = 0x0300; // an edit's text changed by the user
constexpr int CBN_SELCHANGE = 1;  // a combo box's selection changed

// A column of a list view: its title, width in pixels and alignment.
struct ListColumn {
    const char* title;
    int width;
    bool rightAligned = false;
};

struct NotifyRecord {
    int code;
    int row; // the list row concerned, -1 for none
};

class CDialog {
  public:
    CDialog() = default;
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Slot 0: stores the dialog in `hwnd`; returns 1.
    virtual int OnInitDialog(QDialog* dialog);
    // Slot 1: ends the dialog with 1.
    virtual int OnOK();
    // Slot 2: ends the dialog with 2.
    virtual int OnCancel();
    // Slot 3: list notifications.
    virtual int OnNotify(int controlId, const NotifyRecord& record);
    // Slot 4: every control id but 1 and 2.
    virtual int OnCommand(int controlId, int notificationCode, QWidget* control);

    // Reads a signed integer. On failure the field gets the focus and `out`
    // keeps its value.
    bool getInt(int id, int32_t& out) const;
    void setInt(int id, int32_t value);
    // Writes "%.10g".
    void setDouble(int id, double value);
    // Writes the value through a printf format such as "%8.6f".
    void setFormatted(int id, const char* format, double value);
    // Reads a number as strtod does from up to 79 characters. An empty field
    // fails quietly; text after the number fails and focuses the field.
    bool getDouble(int id, double& out) const;
    // As above; a number outside low .. high is stored all the same, then
    // focuses the field and fails.
    bool getDouble(int id, double& out, double low, double high) const;
    // The first selected row of a list view, -1 when none is selected.
    void getSelectedRow(int listId, int& out) const;

    // Readers for OK, one rule in every dialog: a field that is empty, not
    // a number, or outside low .. high leaves `out` unchanged, takes the
    // focus and shows in the dialog what it accepts; the caller then keeps
    // the dialog open.
    bool readInt(int id, int32_t& out, int32_t low, int32_t high);
    bool readDouble(int id, double& out, double low, double high);
    // Any finite number.
    bool readDouble(int id, double& out);
    // A name as the measurement keeps it: Windows-1250 bytes, at most
    // `capacity` - 1 of them. A character without a Windows-1250 form fails
    // as above and leaves `field` unchanged.
    bool readName(int id, char* field, int capacity);
    // Shows a name kept as file bytes; the field takes at most `capacity` - 1
    // characters, one byte each in the file.
    void setName(int id, const char* bytes, int capacity);
    // Focuses the field and shows `text` in the dialog's hint line: in red
    // for a refusal, in the dialog's own text colour for information (an
    // answer that is worth a word, such as a calibration's fit).
    enum class HintKind { Refusal, Information };
    void showFieldHint(int id, const QString& text, HintKind kind = HintKind::Refusal);
    QString fieldHint() const;

    // List views: columns, rows of texts, the selection.
    void setListColumns(int listId, const std::vector<ListColumn>& columns);
    // Replaces row `row`'s texts; a row past the end is appended.
    void setListRow(int listId, int row, const QStringList& texts);
    void insertListRow(int listId, int row, const QStringList& texts);
    void removeListRow(int listId, int row);
    void selectListRow(int listId, int row);
    int listRowCount(int listId) const;

    // Combo boxes: the entries, the selected index (-1 for none).
    void setComboItems(int id, const QStringList& items, int selected);
    int comboSelection(int id) const;
    void enableControl(int id, bool enabled);

    QWidget* control(int id) const;
    QTableWidget* listView(int id) const;
    QString text(int id) const;
    void setText(int id, const QString& text);
    bool isChecked(int id) const;
    void setChecked(int id, bool checked);
    void setFocusTo(int id) const;
    // Ends the modal dialog with `result`.
    void EndDialog(int result);

    // The dialog window; set by OnInitDialog.
    QDialog* hwnd = nullptr;
};

// Runs the modal dialog of template `templateId` with `dialog` behind it and
// returns how it ended (1 OK, 2 Cancel); -1 when there is no such template.
int showDialog(CDialog& dialog, QWidget* owner, int templateId);
