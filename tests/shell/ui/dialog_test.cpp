// The dialog layer: templates built into dialogs, routing of buttons and
// lists to the dialog object, and the field helpers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTableWidget>

#include <cmath>
#include <vector>

#include "dialog_script.h"
#include "shell/dialog_templates.h"
#include "shell/ui/dialog.h"

namespace {

constexpr int TEST_DIALOG = 9001;
constexpr int FIELD = 300;
constexpr int OTHER_FIELD = 301;
constexpr int LIST = 302;
constexpr int APPLY = 303;

// Records what reaches the dialog object.
class ProbeDialog : public CDialog {
  public:
    int OnInitDialog(QDialog* dialog) override {
        CDialog::OnInitDialog(dialog);
        QTableWidget* list = listView(LIST);
        list->setColumnCount(1);
        list->setRowCount(3);
        if (init) init(*this);
        return 1;
    }
    int OnOK() override {
        calls.push_back(1);
        return CDialog::OnOK();
    }
    int OnCancel() override {
        calls.push_back(2);
        return CDialog::OnCancel();
    }
    int OnCommand(int id, int code, QWidget*) override {
        calls.push_back(id);
        codes.push_back(code);
        return 0;
    }
    int OnNotify(int id, const NotifyRecord& record) override {
        notes.push_back({id, record.code, record.row});
        return 0;
    }
    std::function<void(ProbeDialog&)> init;
    std::vector<int> calls;
    std::vector<int> codes;
    std::vector<std::vector<int>> notes;
};

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        addDialogTemplate({TEST_DIALOG,
                           "Probe",
                           300,
                           200,
                           {{FIELD, ControlKind::Edit, "", 10, 10, 100, 24},
                            {OTHER_FIELD, ControlKind::Edit, "", 10, 40, 100, 24},
                            {LIST, ControlKind::ListView, "", 10, 70, 200, 80},
                            {APPLY, ControlKind::Button, "Apply", 220, 10, 60, 24},
                            {IDOK, ControlKind::DefaultButton, "OK", 150, 160, 60, 26},
                            {IDCANCEL, ControlKind::Button, "Cancel", 220, 160, 60, 26}}});
        dialogScript::begin();
    }
    void TearDown() override { dialogScript::end(); }

    // Runs the probe with `step` playing the user; returns how it ended.
    int run(const dialogScript::DialogStep& step) {
        dialogScript::pushDialog(step);
        return showDialog(probe, nullptr, TEST_DIALOG);
    }
    ProbeDialog probe;
};

// The field setFocus was last called on, whether or not the window is active.
bool hasFocus(const CDialog& d, int id) {
    return d.hwnd->focusWidget() == d.control(id);
}

} // namespace

TEST_F(DialogTest, ButtonsRouteToOkCancelAndCommand) {
    EXPECT_EQ(run([](ScriptedDialog& d) {
                  d.press(APPLY);
                  d.press(IDOK);
              }),
              1);
    EXPECT_EQ(probe.calls, (std::vector<int>{APPLY, 1}));
    EXPECT_EQ(probe.codes, (std::vector<int>{BN_CLICKED}));

    probe.calls.clear();
    EXPECT_EQ(run([](ScriptedDialog& d) { d.press(IDCANCEL); }), 2);
    EXPECT_EQ(probe.calls, (std::vector<int>{2}));
    EXPECT_EQ(probe.hwnd, nullptr);
}

TEST_F(DialogTest, EscapeAndAnUnplayedDialogCancel) {
    EXPECT_EQ(run([](ScriptedDialog& d) { d.dialog()->reject(); }), 2);
    EXPECT_EQ(probe.calls, (std::vector<int>{2}));
    probe.calls.clear();
    EXPECT_EQ(showDialog(probe, nullptr, TEST_DIALOG), 2); // nothing scripted
    EXPECT_EQ(probe.calls, (std::vector<int>{2}));
    EXPECT_EQ(showDialog(probe, nullptr, 4242), -1); // no such template
}

TEST_F(DialogTest, ListSelectionIsNotifiedAndRead) {
    int before = 0, after = 0;
    run([&](ScriptedDialog& d) {
        probe.getSelectedRow(LIST, before);
        d.selectRow(LIST, 2);
        probe.getSelectedRow(LIST, after);
        d.press(IDOK);
    });
    EXPECT_EQ(before, -1);
    EXPECT_EQ(after, 2);
    ASSERT_FALSE(probe.notes.empty());
    EXPECT_EQ(probe.notes.back(), (std::vector<int>{LIST, LVN_ITEMCHANGED, 2}));
}

TEST_F(DialogTest, SetDoubleWritesTenSignificantDigits) {
    QStringList shown;
    probe.init = [&](ProbeDialog& d) {
        for (double v : {0.1, 1e-14, 2.0 / 3.0, -1234567.0}) {
            d.setDouble(FIELD, v);
            shown << d.text(FIELD);
        }
    };
    run([](ScriptedDialog& d) { d.press(IDOK); });
    EXPECT_EQ(shown, QStringList({"0.1", "1e-14", "0.6666666667", "-1234567"}));
}

TEST_F(DialogTest, GetDoubleAcceptsOnlyAWholeNumber) {
    run([&](ScriptedDialog& d) {
        double v = 7.0;
        d.setText(FIELD, QStringLiteral("   12.5"));
        EXPECT_TRUE(probe.getDouble(FIELD, v));
        EXPECT_EQ(v, 12.5);

        d.control(OTHER_FIELD)->setFocus();
        d.setText(FIELD, QStringLiteral("12.5 "));
        EXPECT_FALSE(probe.getDouble(FIELD, v));
        EXPECT_EQ(v, 12.5);
        EXPECT_TRUE(hasFocus(probe, FIELD));

        // An empty field fails without taking the focus.
        d.control(OTHER_FIELD)->setFocus();
        d.setText(FIELD, QString());
        EXPECT_FALSE(probe.getDouble(FIELD, v));
        EXPECT_TRUE(hasFocus(probe, OTHER_FIELD));

        // Out of range: stored all the same, but refused.
        d.setText(FIELD, QStringLiteral("150"));
        EXPECT_FALSE(probe.getDouble(FIELD, v, 0.0, 100.0));
        EXPECT_EQ(v, 150.0);
        EXPECT_TRUE(hasFocus(probe, FIELD));
        d.setText(FIELD, QStringLiteral("1e2"));
        EXPECT_TRUE(probe.getDouble(FIELD, v, 0.0, 100.0));
        d.setText(FIELD, QStringLiteral("nan"));
        EXPECT_FALSE(probe.getDouble(FIELD, v, 0.0, 100.0));

        // Only the first 79 characters count.
        d.setText(FIELD, QString(79, QLatin1Char('1')) + QStringLiteral("x"));
        EXPECT_TRUE(probe.getDouble(FIELD, v));
        d.press(IDOK);
    });
}

TEST_F(DialogTest, GetIntReadsSignedIntegersOnly) {
    run([&](ScriptedDialog& d) {
        int32_t v = 5;
        d.setText(FIELD, QStringLiteral("-42"));
        EXPECT_TRUE(probe.getInt(FIELD, v));
        EXPECT_EQ(v, -42);
        for (const char* bad : {"", "4.5", "12x", "2147483648", "abc"}) {
            d.setText(FIELD, QString::fromLatin1(bad));
            EXPECT_FALSE(probe.getInt(FIELD, v)) << bad;
            EXPECT_EQ(v, -42);
        }
        d.setText(FIELD, QStringLiteral("-2147483648"));
        EXPECT_TRUE(probe.getInt(FIELD, v));
        EXPECT_EQ(v, INT32_MIN);
        d.press(IDOK);
    });
}

TEST_F(DialogTest, TypingIntoAFieldIsACommand) {
    run([](ScriptedDialog& d) {
        d.setText(FIELD, QStringLiteral("3"));
        d.press(IDOK);
    });
    EXPECT_EQ(probe.calls, (std::vector<int>{FIELD, 1}));
    EXPECT_EQ(probe.codes, (std::vector<int>{EN_CHANGE}));
}
