// A table of text cells as CSV, for spreadsheets and pandas: cells with a
// comma, a quote or a line break quoted, quotes doubled.
#pragma once

#include <string>
#include <vector>

std::string csvTableCell(const std::string& text);
// The cells separated by commas, ended by "\n".
std::string csvTableLine(const std::vector<std::string>& cells);
