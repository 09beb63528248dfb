// List views and combo boxes of CDialog.
#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>

#include "shell/ui/dialog.h"

namespace {

constexpr Qt::Alignment LEFT = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment RIGHT = Qt::AlignRight | Qt::AlignVCenter;

void fillRow(QTableWidget* list, int row, const QStringList& texts) {
    for (int c = 0; c < list->columnCount(); ++c) {
        auto* item = new QTableWidgetItem(c < texts.size() ? texts[c] : QString());
        const QTableWidgetItem* header = list->horizontalHeaderItem(c);
        item->setTextAlignment(header ? Qt::Alignment::fromInt(header->textAlignment()) : LEFT);
        list->setItem(row, c, item);
    }
}

} // namespace

void CDialog::setListColumns(int listId, const std::vector<ListColumn>& columns) {
    QTableWidget* list = listView(listId);
    if (!list) return;
    list->setColumnCount(int(columns.size()));
    list->horizontalHeader()->setStretchLastSection(false);
    for (int c = 0; c < int(columns.size()); ++c) {
        auto* header = new QTableWidgetItem(QString::fromUtf8(columns[c].title));
        header->setTextAlignment(columns[c].rightAligned ? RIGHT : LEFT);
        list->setHorizontalHeaderItem(c, header);
        list->setColumnWidth(c, columns[c].width);
    }
}

void CDialog::setListRow(int listId, int row, const QStringList& texts) {
    QTableWidget* list = listView(listId);
    if (!list || row < 0) return;
    if (row >= list->rowCount()) {
        row = list->rowCount();
        list->insertRow(row);
    }
    fillRow(list, row, texts);
}

void CDialog::insertListRow(int listId, int row, const QStringList& texts) {
    QTableWidget* list = listView(listId);
    if (!list || row < 0 || row > list->rowCount()) return;
    list->insertRow(row);
    fillRow(list, row, texts);
}

void CDialog::removeListRow(int listId, int row) {
    QTableWidget* list = listView(listId);
    if (list && row >= 0 && row < list->rowCount()) list->removeRow(row);
}

void CDialog::selectListRow(int listId, int row) {
    QTableWidget* list = listView(listId);
    if (!list) return;
    if (row < 0 || row >= list->rowCount())
        list->clearSelection();
    else
        list->selectRow(row);
}

int CDialog::listRowCount(int listId) const {
    QTableWidget* list = listView(listId);
    return list ? list->rowCount() : 0;
}

void CDialog::setComboItems(int id, const QStringList& items, int selected) {
    auto* combo = qobject_cast<QComboBox*>(control(id));
    if (!combo) return;
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(selected >= 0 && selected < items.size() ? selected : -1);
}

int CDialog::comboSelection(int id) const {
    auto* combo = qobject_cast<QComboBox*>(control(id));
    return combo ? combo->currentIndex() : -1;
}

void CDialog::enableControl(int id, bool enabled) {
    if (QWidget* c = control(id)) c->setEnabled(enabled);
}
