// A CSV table's header cells as channel names and units, read and written so
// that a measurement's names come back as they were, while the headers of
// spreadsheets and pandas read as they always did.
#pragma once

#include <string>
#include <vector>

// One header cell as the reader splits it.
struct HeaderCell {
    std::string text;
    bool quoted = false; // a quoted cell keeps the blanks at its ends
};

// A channel's name and unit from its header cell. `named` is false for an
// empty cell, which leaves the channel its default name.
struct ChannelHeading {
    std::string name;
    std::string unit = "?";
    bool named = false;
};

std::string trimmed(const std::string& text);

// "depth [m]": a final bracket group is the unit, "depth (m)" from other
// programs too when no bracket group ends the cell. In a quoted cell the
// name keeps its blanks but for the one before the unit.
ChannelHeading readHeading(const HeaderCell& cell);

// "time", "t", "Time (s)", "time [s]".
bool isTimeHeading(const HeaderCell& cell);

// The header pandas writes for columns without names: 0,1,2,... (or from 1),
// after an empty index cell or not.
bool isNumberedHeader(const std::vector<HeaderCell>& cells);

// "<name> [<unit>]" as a cell of a comma-separated header, quoted as CSV
// quotes (doubling '"') when the reader would otherwise change it.
std::string headingCell(const std::string& name, const std::string& unit);

// A value of a `# key: value` comment, quoted like a cell when its blanks or
// a leading quote would otherwise be lost; and read back.
std::string commentValue(const std::string& text);
std::string readCommentValue(const std::string& text);
