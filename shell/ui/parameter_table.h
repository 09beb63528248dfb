// A result window's two-column table of "label<TAB>value" lines.
#pragma once

#include <string>
#include <vector>

class QTableWidget;

// One row a line: the text before the first tab, and the rest.
void showParameterLines(QTableWidget* table, const std::vector<std::string>& lines);
