#include "measure/csv_header.h"

#include <cctype>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string quotedText(const std::string& text) {
    std::string cell = "\"";
    for (char c : text) {
        if (c == '"') cell += '"';
        cell += c;
    }
    return cell + '"';
}

// "12" as 12; -1 for anything but plain digits.
long columnNumber(const std::string& text) {
    if (text.empty() || text.size() > 3) return -1;
    long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return text.size() > 1 && text[0] == '0' ? -1 : n;
}

} // namespace

std::string trimmed(const std::string& text) {
    size_t b = text.find_first_not_of(" \t");
    if (b == std::string::npos) return std::string();
    return text.substr(b, text.find_last_not_of(" \t") - b + 1);
}

ChannelHeading readHeading(const HeaderCell& cell) {
    ChannelHeading heading;
    // A quoted cell ending in its unit is written as "<name> [<unit>]" and
    // kept exactly; other cells lose the blanks around name and unit.
    const bool exact = cell.quoted && !cell.text.empty() && cell.text.back() == ']';
    const std::string text = exact ? cell.text : trimmed(cell.text);
    heading.name = text;
    heading.named = !text.empty();
    if (text.empty()) return heading;
    const char close = text.back();
    const size_t open = close == ']'   ? text.rfind('[')
                        : close == ')' ? text.rfind('(')
                                       : std::string::npos;
    if (open == std::string::npos || open == 0) return heading;
    heading.unit = text.substr(open + 1, text.size() - open - 2);
    heading.name = text.substr(0, open);
    if (exact) {
        if (isBlank(heading.name.back())) heading.name.pop_back();
    } else {
        heading.unit = trimmed(heading.unit);
        heading.name = trimmed(heading.name);
    }
    return heading;
}

bool isTimeHeading(const HeaderCell& cell) {
    ChannelHeading heading = readHeading(cell);
    for (char& c : heading.name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return (heading.name == "time" || heading.name == "t") &&
           (heading.unit == "?" || heading.unit == "s");
}

bool isNumberedHeader(const std::vector<HeaderCell>& cells) {
    const size_t first = !cells.empty() && trimmed(cells[0].text).empty() ? 1 : 0;
    // One unnamed column would take every single-column table starting at 0.
    if (cells.size() - first < (first ? 1u : 2u)) return false;
    const long start = columnNumber(trimmed(cells[first].text));
    if (start != 0 && start != 1) return false;
    for (size_t c = first; c < cells.size(); ++c)
        if (columnNumber(trimmed(cells[c].text)) != start + long(c - first)) return false;
    return true;
}

std::string headingCell(const std::string& name, const std::string& unit) {
    const std::string cell = name + " [" + unit + "]";
    const bool quote = cell.find_first_of(",;\t\"\r\n#") != std::string::npos || name.empty() ||
                       isBlank(name.front()) || isBlank(name.back());
    return quote ? quotedText(cell) : cell;
}

std::string commentValue(const std::string& text) {
    const bool quote =
        !text.empty() && (isBlank(text.front()) || isBlank(text.back()) || text.front() == '"');
    return quote ? quotedText(text) : text;
}

std::string readCommentValue(const std::string& text) {
    const std::string value = trimmed(text);
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') return value;
    std::string out;
    for (size_t i = 1; i + 1 < value.size(); ++i) {
        if (value[i] == '"' && value[i + 1] == '"') ++i;
        out += value[i];
    }
    return out;
}
