#include "waves/ui/file_table_wnd.h"

#include <QFile>
#include <QHeaderView>
#include <QTableWidget>

#include "measure/atomic_file.h"
#include "measure/csv_table.h"
#include "shell/command_ids.h"
#include "shell/ui/modal_ui.h"
#include "shell/ui/replace_question.h"
#include "shell/ui/warning_message.h"
#include "shell/window_classes.h"

bool CFileTableWnd::Create(int x, int y, int width, int height, QWidget* parent, int style) {
    return createChild(KALMAN_CLASS, QStringLiteral("Files"), parent, x, y, width, height, style);
}

int CFileTableWnd::OnCreate(void*) {
    table = new QTableWidget(0, 0, hwnd);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    return 0;
}

void CFileTableWnd::OnSize(int, int width, int height) {
    if (table) table->setGeometry(0, 0, width, height);
}

void CFileTableWnd::showTable(const std::vector<std::vector<std::string>>& cells,
                              const QString& title) {
    cells_ = cells;
    const int columns = cells.empty() ? 0 : int(cells[0].size());
    table->setColumnCount(columns);
    table->setRowCount(cells.empty() ? 0 : int(cells.size()) - 1);
    for (int c = 0; c < columns; ++c)
        table->setHorizontalHeaderItem(
            c, new QTableWidgetItem(QString::fromStdString(cells[0][size_t(c)])));
    for (size_t r = 1; r < cells.size(); ++r) {
        // A failed row's reason is in the last column, often out of sight:
        // each of its cells tells it when pointed at.
        const QString error =
            cells[r].empty() ? QString() : QString::fromStdString(cells[r].back());
        for (int c = 0; c < columns && size_t(c) < cells[r].size(); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(cells[r][size_t(c)]));
            item->setToolTip(error);
            table->setItem(int(r) - 1, c, item);
        }
    }
    table->resizeColumnsToContents();
    setTitle(title);
}

bool CFileTableWnd::saveAs() {
    FileDialogRequest request;
    request.save = true;
    request.title = QStringLiteral("Save As");
    request.filters = {QStringLiteral("CSV table (*.csv)")};
    request.defaultSuffix = QStringLiteral("csv");
    const FileDialogAnswer answer = modalUi().fileDialog(hwnd, request);
    if (!answer.accepted || !mayReplace(hwnd, answer.path)) return false;
    std::string text, why;
    for (const std::vector<std::string>& row : cells_)
        text += csvTableLine(row);
    if (replaceFile(QFile::encodeName(answer.path).toStdString(), text, &why)) return true;
    showWarning(
        hwnd, QStringLiteral("cannot write %1: %2").arg(answer.path, QString::fromStdString(why)));
    return false;
}

intptr_t CFileTableWnd::OnCommand(int id, intptr_t param) {
    if (id == CMD_SAVE_AS) {
        saveAs();
        return 0;
    }
    return CMDIChildWnd::OnCommand(id, param);
}
