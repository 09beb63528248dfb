// "Signal Parameters" from "&Block info..." and the popup's "&Info": the
// component list and its editor, "Copy all", and what OK and Cancel leave in
// the channel's list.
#include <gtest/gtest.h>

#include <QTableWidget>

#include <cstring>

#include "frame_test_support.h"
#include "shell/dialog_templates.h"
#include "view/ui/component_list.h"
#include "view/ui/file_commands.h"
#include "view/ui/measure_view.h"
#include "view/ui/measure_wnd.h"
#include "view/ui/view_dialog_templates.h"

namespace {

QStringList column(const ScriptedDialog& d, int col) {
    auto* list = qobject_cast<QTableWidget*>(d.control(IDC_COMPONENT_LIST));
    QStringList texts;
    for (int r = 0; r < list->rowCount(); ++r)
        texts << (list->item(r, col) ? list->item(r, col)->text() : QString());
    return texts;
}

SignalComponent component(const char* name, double frequency, double amplitude, double k, double a,
                          double d, double eta) {
    SignalComponent c{};
    copyField(c.name, sizeof c.name, name);
    c.frequency = frequency;
    c.amplitude = amplitude;
    c.k = k;
    c.a = a;
    c.d = d;
    c.eta = eta;
    return c;
}

// Presses a list button, answering the component editor with `editor`.
void pressWithEditor(ScriptedDialog& d, int button, const dialogScript::DialogStep& editor) {
    dialogScript::pushDialog(editor);
    d.press(button);
}

void confirm(ScriptedDialog& editor) {
    editor.press(IDOK);
}

} // namespace

class SignalParametersTest : public FrameTest {
  protected:
    void SetUp() override {
        FrameTest::SetUp();
        window = openMeasureWindow(*frame, makeMeasure(3, 2000));
        params = &window->measure->signalParameters[2];
        settle();
    }
    // Opens the dialog for channel 2 over 0 .. 1000 through "&Block info...".
    void run(const dialogScript::DialogStep& step) {
        window->view->SetBlock(2, 0, 1000);
        dialogScript::pushDialog(step);
        frame->frameCommand(CMD_BLOCK_INFO, 0);
    }
    CMeasureWnd* window = nullptr;
    SignalParameters* params = nullptr;
};

TEST_F(SignalParametersTest, NewComponentRowFillsTheListToTenAndNoFurther) {
    int editorsOpened = 0;
    QStringList names;
    run([&](ScriptedDialog& d) {
        EXPECT_EQ(column(d, 0), QStringList({"New component"}));
        for (int i = 0; i < 11; ++i) {
            d.selectRow(IDC_COMPONENT_LIST, i < 10 ? i : 10);
            pressWithEditor(d, IDC_COMPONENT_EDIT, [&](ScriptedDialog& e) {
                ++editorsOpened;
                e.press(IDOK);
            });
        }
        names = column(d, 0);
        d.press(IDOK);
    });
    EXPECT_EQ(editorsOpened, 11); // the eleventh opens, and adds nothing
    EXPECT_EQ(params->componentCount, 10);
    ASSERT_EQ(names.size(), 11);
    EXPECT_EQ(names[0], "Component no 1");
    EXPECT_EQ(names[9], "Component no 10");
    EXPECT_EQ(names[10], "New component");
    EXPECT_STREQ(params->components[9].name, "Component no 10");
    EXPECT_EQ(params->components[0].k, 5.0);
    EXPECT_EQ(params->components[0].frequency, 1.0);
}

TEST_F(SignalParametersTest, EditInsertAndDeleteWorkOnTheRowsTheyName) {
    for (const char* name : {"first", "second", "third"})
        appendComponent(*params, component(name, 1, 1, 5, 1, 1, 0));
    QStringList afterDelete, afterInsert, afterEdit;
    run([&](ScriptedDialog& d) {
        d.selectRow(IDC_COMPONENT_LIST, 0);
        d.press(IDC_COMPONENT_DELETE);
        afterDelete = column(d, 0);
        // Insert and Delete on the "New component" row do nothing here.
        d.selectRow(IDC_COMPONENT_LIST, 2);
        d.press(IDC_COMPONENT_INSERT); // an editor would be cancelled: none scripted
        d.press(IDC_COMPONENT_DELETE);
        EXPECT_EQ(column(d, 0), afterDelete);
        // Insert before row 1 names the new component after its row.
        d.selectRow(IDC_COMPONENT_LIST, 1);
        pressWithEditor(d, IDC_COMPONENT_INSERT, confirm);
        afterInsert = column(d, 0);
        // Edit rereads every field; the row shows it at once.
        d.selectRow(IDC_COMPONENT_LIST, 0);
        pressWithEditor(d, IDC_COMPONENT_EDIT, [](ScriptedDialog& e) {
            EXPECT_EQ(e.title(), "Channel configuration");
            EXPECT_EQ(e.text(IDC_COMPONENT_K), "5.00");
            e.setText(IDC_COMPONENT_FREQUENCY, "0.625");
            e.setText(IDC_COMPONENT_AMPLITUDE, "0.04");
            e.press(IDOK);
        });
        afterEdit = column(d, 1);
        // Edit with no row selected does nothing.
        d.selectRow(IDC_COMPONENT_LIST, -1);
        pressWithEditor(d, IDC_COMPONENT_EDIT, [](ScriptedDialog&) { ADD_FAILURE(); });
        d.press(IDOK);
    });
    EXPECT_EQ(afterDelete, QStringList({"second", "third", "New component"}));
    EXPECT_EQ(afterInsert, QStringList({"second", "Component no 2", "third", "New component"}));
    EXPECT_EQ(afterEdit[0], "0.6250");
    ASSERT_EQ(params->componentCount, 3);
    EXPECT_STREQ(params->components[0].name, "second");
    EXPECT_EQ(params->components[0].frequency, 0.625);
    EXPECT_EQ(params->components[0].amplitude, 0.04);
    EXPECT_STREQ(params->components[2].name, "third");
}

TEST_F(SignalParametersTest, CopyAllPutsTheEditedListWithTheOpenedBlock) {
    appendComponent(*params, component("wave", 0.5, 2, 5, 1, 1, 0));
    RecordingClipboard clip;
    setClipboard(&clip);
    run([&](ScriptedDialog& d) {
        d.setText(IDC_SIGNAL_FROM, "10"); // not what Copy all names
        d.press(IDC_COPY_ALL);
        d.press(IDCANCEL);
    });
    setClipboard(nullptr);
    EXPECT_EQ(clip.text, "2\t0\t1000\t1\r\n0.5000\t2.0000\t5.0000\t1.0000\t1.0000\t0.0000\r\n");
}

TEST_F(SignalParametersTest, CancelDropsEditsMadeInNestedDialogs) {
    appendComponent(*params, component("kept", 0.5, 2, 5, 1, 1, 0));
    SignalParameters before = *params;
    run([&](ScriptedDialog& d) {
        pressWithEditor(d, IDC_COMPONENT_EDIT, [](ScriptedDialog& e) {
            e.setText(IDC_COMPONENT_NAME, "changed");
            e.press(IDOK);
        });
        d.selectRow(IDC_COMPONENT_LIST, 1);
        pressWithEditor(d, IDC_COMPONENT_EDIT, confirm); // a second component
        d.press(IDCANCEL);
    });
    EXPECT_EQ(std::memcmp(params, &before, sizeof before), 0);

    // A field OK cannot take keeps both dialogs open until mended.
    run([&](ScriptedDialog& d) {
        pressWithEditor(d, IDC_COMPONENT_EDIT, [](ScriptedDialog& e) {
            e.setText(IDC_COMPONENT_ETA, "x");
            e.press(IDOK);
            EXPECT_FALSE(e.ended());
            EXPECT_EQ(e.focusedControl(), IDC_COMPONENT_ETA);
            e.setText(IDC_COMPONENT_ETA, "0.5");
            e.press(IDOK);
            EXPECT_TRUE(e.ended());
        });
        d.setText(IDC_SIGNAL_TO, "2001"); // past the last sample
        d.press(IDOK);
        EXPECT_FALSE(d.ended());
        EXPECT_TRUE(d.hint().contains("from 0 to 2000")) << d.hint().toStdString();
        d.setText(IDC_SIGNAL_TO, "2000");
        d.press(IDOK);
    });
    EXPECT_EQ(params->components[0].eta, 0.5);
}

TEST_F(SignalParametersTest, PopupInfoOpensOnItsChannelOverAllSamples) {
    QString channel, from, to;
    dialogScript::pushDialog([&](ScriptedDialog& d) {
        channel = d.text(IDC_SIGNAL_CHANNEL);
        from = d.text(IDC_SIGNAL_FROM);
        to = d.text(IDC_SIGNAL_TO);
    });
    window->view->cursor_channel = 1;
    frame->frameCommand(CMD_VIEW_INFO, 0);
    EXPECT_EQ(channel, "1");
    EXPECT_EQ(from, "0");
    EXPECT_EQ(to, "2000");

    // Below the last channel, and with an empty block, nothing opens.
    int opened = 0;
    dialogScript::pushDialog([&](ScriptedDialog&) { ++opened; });
    window->view->cursor_channel = -1;
    frame->frameCommand(CMD_VIEW_INFO, 0);
    window->view->SetBlock(0, 5, 5);
    frame->frameCommand(CMD_BLOCK_INFO, 0);
    EXPECT_EQ(opened, 0);
}
