// The desktop's own boxes: the number asked for when a file does not give its
// sample rate, the file dialog's first filter, and warnings whose text comes
// from a damaged file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include "dialog_script.h"
#include "shell/ui/modal_ui.h"
#include "shell/ui/number_question.h"
#include "shell/ui/warning_message.h"
#include "support/temp_dir.h"

namespace {

struct Typed {
    bool okEnabled = false;
    QString hint;
    bool answered = false;
    double value = 0.0;
};

// The program's real box (no script installed): `text` typed into its
// field, then OK pressed when it can be, else Cancel.
Typed typeRate(const QString& text) {
    Typed typed;
    setModalUi(nullptr);
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        auto* field = box->findChild<QLineEdit*>();
        auto* buttons = box->findChild<QDialogButtonBox*>();
        field->clear();
        QTest::keyClicks(field, text);
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        typed.okEnabled = ok->isEnabled();
        for (QLabel* label : box->findChildren<QLabel*>())
            if (label->text() != QStringLiteral("Samples per second:")) typed.hint += label->text();
        if (typed.okEnabled)
            ok->click();
        else
            buttons->button(QDialogButtonBox::Cancel)->click();
    });
    typed.value = 50.0;
    typed.answered =
        modalUi().askNumber(nullptr, QStringLiteral("Samples per second:"), &typed.value);
    return typed;
}

} // namespace

TEST(RateQuestion, AnyPositiveFiniteNumberInTheCLocaleIsTaken) {
    for (const auto& [text, expected] :
         std::vector<std::pair<QString, double>>{{QStringLiteral("1e308"), 1e308},
                                                 {QStringLiteral("2.5E-3"), 2.5e-3},
                                                 {QStringLiteral("1e-7"), 1e-7},
                                                 {QStringLiteral("2000000000"), 2e9},
                                                 {QStringLiteral(" 128 "), 128.0}}) {
        Typed typed = typeRate(text);
        EXPECT_TRUE(typed.okEnabled) << text.toStdString();
        EXPECT_TRUE(typed.answered) << text.toStdString();
        EXPECT_EQ(typed.value, expected) << text.toStdString();
        EXPECT_TRUE(typed.hint.isEmpty()) << typed.hint.toStdString();
    }
}

TEST(RateQuestion, OkIsGreyedWithTheReasonBelowTheField) {
    for (const auto& [text, reason] : std::vector<std::pair<QString, QString>>{
             {QStringLiteral("0"), QStringLiteral("above 0")},
             {QStringLiteral("-50"), QStringLiteral("above 0")},
             {QStringLiteral("1e309"), QStringLiteral("too large")},
             {QStringLiteral("2,5"), QStringLiteral("Not a number")},
             {QStringLiteral("inf"), QStringLiteral("Not a number")},
             {QStringLiteral("50 Hz"), QStringLiteral("Not a number")},
             {QStringLiteral(""), QStringLiteral("Type a number")}}) {
        Typed typed = typeRate(text);
        EXPECT_FALSE(typed.okEnabled) << text.toStdString();
        EXPECT_FALSE(typed.answered) << text.toStdString();
        EXPECT_EQ(typed.value, 50.0) << "a cancelled question leaves the proposal";
        EXPECT_TRUE(typed.hint.contains(reason))
            << text.toStdString() << ": " << typed.hint.toStdString();
    }
}

// Enter at once must not give the file a rate nobody typed.
TEST(RateQuestion, TheFieldStartsEmptyAndEnterAcceptsNothing) {
    setModalUi(nullptr);
    QString shownText;
    bool okEnabled = true;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        auto* field = box->findChild<QLineEdit*>();
        shownText = field->text();
        okEnabled = box->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled();
        QTest::keyClick(field, Qt::Key_Return);
        if (box->isVisible()) QTest::keyClick(field, Qt::Key_Escape);
    });
    double value = 50.0;
    EXPECT_FALSE(modalUi().askNumber(nullptr, QStringLiteral("Samples per second:"), &value));
    EXPECT_TRUE(shownText.isEmpty()) << shownText.toStdString();
    EXPECT_FALSE(okEnabled);
}

// The program's real file dialog starts on the filter asked for.
TEST(FileDialog, StartsOnTheFilterAsked) {
    setModalUi(nullptr);
    FileDialogRequest request;
    request.filters = QStringList({"Plik tekstowy (*.TXT)", "All files (*)", "CSV file (*.csv)"});
    request.startFilter = 3;
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            shown = dialog->selectedNameFilter();
            dialog->reject();
        }
    });
    EXPECT_FALSE(modalUi().fileDialog(nullptr, request).accepted);
    EXPECT_EQ(shown, QStringLiteral("CSV file (*.csv)"));
}

class WarningTest : public ::testing::Test {
  protected:
    void SetUp() override { dialogScript::begin(); }
    void TearDown() override { dialogScript::end(); }
    QString shown(const QString& text) {
        showWarning(nullptr, text);
        return dialogScript::messages().constLast();
    }
};

TEST_F(WarningTest, AReasonRunningToMegabytesIsCutToAFewLines) {
    // One line of 32 MiB, as a reader quoting a damaged file might give.
    QString line = QStringLiteral("cannot read x: ") + QString(32 * 1024 * 1024, QLatin1Char('A'));
    QString text = shown(line);
    EXPECT_LE(text.size(), WARNING_MAX_CHARS + 3);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Cannot read x: AAA")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("A...")));

    QStringList many;
    for (int i = 1; i <= 5000; ++i)
        many << QStringLiteral("row %1 refused").arg(i);
    text = shown(many.join(QLatin1Char('\n')));
    EXPECT_EQ(text.count(QLatin1Char('\n')), WARNING_MAX_LINES - 1);
    EXPECT_TRUE(text.endsWith(QStringLiteral("row 12 refused...")));
}

TEST_F(WarningTest, AShortReasonIsShownWhole) {
    EXPECT_EQ(shown(QStringLiteral("cannot open the file")),
              QStringLiteral("Cannot open the file"));
    QStringList twelve;
    for (int i = 1; i <= WARNING_MAX_LINES; ++i)
        twelve << QStringLiteral("line %1").arg(i);
    const QString whole = twelve.join(QLatin1Char('\n'));
    EXPECT_EQ(shown(whole), QStringLiteral("L") + whole.mid(1));
    EXPECT_EQ(shown(whole + QLatin1Char('\n')),
              QStringLiteral("L") + whole.mid(1) + QLatin1Char('\n'));
}

TEST_F(WarningTest, AFileNameAtTheStartKeepsItsLetterCase) {
    const QString reason = QStringLiteral(": not a readable .mat file: no variable");
    for (const QString& path : {QStringLiteral("gauges_t.mat"), QStringLiteral("data"),
                                QStringLiteral("/tmp/gauges_t.mat"), QStringLiteral("ü.mat")})
        EXPECT_EQ(shown(path + reason), path + reason);
    // A name whose first part reads as a word: told apart by the file itself.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString spaced = dir.filePath(QStringLiteral("flume runs"));
    writeString(spaced.toStdString(), "");
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QString relative = QStringLiteral("flume runs");
    EXPECT_EQ(shown(relative + reason), relative + reason);
    QDir::setCurrent(before);
    EXPECT_EQ(shown(QStringLiteral("flume gauges: no such file")),
              QStringLiteral("Flume gauges: no such file"));
}

// The program's real list: the proposal marked, the longest row shown
// whole, OK greyed without a row, a double click taking the row clicked,
// Cancel nothing.
TEST(ChoiceQuestion, StartsOnTheProposalAndTakesTheRowChosen) {
    setModalUi(nullptr);
    const QStringList items = {
        QStringLiteral("/a  2 \u00d7 10 double"),
        QStringLiteral("/run/2026-12-08/probe_array/gauges  16 \u00d7 1200000 double"),
        QStringLiteral("/c  7 int16")};
    int markedRow = -2;
    bool rowsFit = false;
    QTimer::singleShot(0, [&] {
        auto* box = QApplication::activeModalWidget();
        if (!box) return;
        auto* list = box->findChild<QListWidget*>();
        markedRow = list->currentRow();
        QListWidgetItem* last = list->item(2);
        // Where the rows are drawn is known once the list was laid out.
        if (!QTest::qWaitForWindowExposed(box)) return;
        list->doItemsLayout();
        rowsFit = list->viewport()->width() >= list->sizeHintForColumn(0);
        // A double click's first press and release, then its second press.
        const QPoint row = list->visualItemRect(last).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
        auto* buttons = box->findChild<QDialogButtonBox*>();
        if (box->isVisible()) buttons->button(QDialogButtonBox::Cancel)->click();
    });
    EXPECT_EQ(modalUi().askChoice(nullptr, QStringLiteral("Which?"), items, 1), 2);
    EXPECT_EQ(markedRow, 1);
    EXPECT_TRUE(rowsFit) << "the longest row is cut";

    bool okEnabled = true;
    QTimer::singleShot(0, [&] {
        auto* box = QApplication::activeModalWidget();
        if (!box) return;
        box->findChild<QListWidget*>()->clearSelection();
        auto* buttons = box->findChild<QDialogButtonBox*>();
        okEnabled = buttons->button(QDialogButtonBox::Ok)->isEnabled();
        buttons->button(QDialogButtonBox::Ok)->click();
        if (box->isVisible()) buttons->button(QDialogButtonBox::Cancel)->click();
    });
    EXPECT_EQ(modalUi().askChoice(nullptr, QStringLiteral("Which?"), items, 0), -1);
    EXPECT_FALSE(okEnabled);
}
