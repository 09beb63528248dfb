#include "shell/ui/parameter_table.h"

#include <QTableWidget>

void showParameterLines(QTableWidget* table, const std::vector<std::string>& lines) {
    if (!table) return;
    table->setRowCount(int(lines.size()));
    for (int row = 0; row < int(lines.size()); ++row) {
        const std::string& line = lines[size_t(row)];
        const size_t tab = line.find('\t');
        const std::string value = tab == std::string::npos ? std::string() : line.substr(tab + 1);
        table->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(line.substr(0, tab))));
        table->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(value)));
    }
}
