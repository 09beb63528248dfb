#include "measure/csv_format.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

#include "measure/atomic_file.h"
#include "measure/channel_calibration.h"
#include "measure/csv_calibration_line.h"
#include "measure/csv_cells.h"
#include "measure/csv_header.h"
#include "measure/file_io.h"
#include "measure/iso_date.h"
#include "measure/text_encoding.h"

namespace {

using csv::Cells;
using csv::isBlank;
using csv::isBlankChar;
using csv::isComment;
using csv::Lines;
using csv::parseNumber;
using csv::Span;

// The time column's values, and the place of the finest digit its cells print
// (-2 for "0.04"): how closely its times can agree with a rate.
struct TimeColumn {
    // Seconds; date-times from the first one's whole second, so that the
    // fraction keeps its digits.
    std::vector<double> values;
    int finestPlace = INT_MAX;
    int mostDigits = 0; // significant digits of the longest time
    bool dates = false; // ISO date-times, as pandas writes a DatetimeIndex
    int64_t firstSecond = 0;
    uint32_t firstDate = 0; // the first date-time, as a measurement's date
};

// How the file is laid out, from its comments and first line.
struct CsvLayout {
    char delimiter = ',';
    bool decimalComma = false;
    int cells = 0;        // per row
    int firstChannel = 0; // cells before the channels: the index, then the time
    bool timeColumn = false;
    bool timeIgnored = false;             // the caller's rate stands instead
    std::vector<ChannelHeading> headings; // empty without a header
    bool titled = false;                  // a "# name:" comment gives the title
    std::string title;
    uint32_t date = 0;
    double rate = 0;                          // from a "# rate:" comment
    int64_t rateLine = 0;                     // the comment's line
    std::vector<CsvCalibration> calibrations; // "# calibrated:" comments
    const char* rows = nullptr;               // where the rows start
    int64_t linesBefore = 0;                  // lines before them
};

char findDelimiter(Span line) {
    int tabs = 0, semicolons = 0, commas = 0;
    bool quoted = false;
    for (const char* p = line.begin; p < line.end; ++p) {
        if (*p == '"') quoted = !quoted;
        if (quoted) continue;
        tabs += *p == '\t';
        semicolons += *p == ';';
        commas += *p == ',';
    }
    return tabs ? '\t' : semicolons ? ';' : commas ? ',' : ' ';
}

// File text in a message, in quotes.
std::string quoted(Span text) {
    return '"' + messageText(text.begin, size_t(text.end - text.begin)) + '"';
}

std::string lineText(int64_t line) {
    return "line " + std::to_string(line);
}

bool readComment(Span line, int64_t number, CsvLayout& layout, std::string& error) {
    std::string text = trimmed(line.text());
    auto value = [&text](const char* key, std::string& out) {
        size_t n = std::strlen(key);
        if (text.compare(0, n, key) != 0) return false;
        out = trimmed(text.substr(n));
        return true;
    };
    std::string v;
    if (value("# name:", v)) {
        layout.titled = true;
        layout.title = readCommentValue(v);
    }
    if (value("# date:", v)) layout.date = parseIsoDate(v);
    if (value("# calibrated:", v)) {
        CsvCalibration c;
        if (!readCsvCalibration(v, c, &error)) {
            error = lineText(number) + ": the calibration comment is " + error;
            return false;
        }
        layout.calibrations.push_back(c);
    }
    if (value("# rate:", v)) {
        layout.rateLine = number;
        if (!parseNumber(Span{v.data(), v.data() + v.size()}, false, layout.rate) ||
            !(layout.rate > 0) || !std::isfinite(layout.rate)) {
            error = lineText(number) + ": the rate " + quoted(Span{v.data(), v.data() + v.size()}) +
                    " is no number of samples per second above 0";
            return false;
        }
    }
    return true;
}

// The channels, a time and an index column: no line of a measurement holds more.
constexpr int MAX_CELLS = MAX_CHANNELS + 2;
// Far beyond any row or header of MAX_CELLS cells; a longer line is no table.
constexpr int64_t MAX_LINE_BYTES = 1 << 20;

std::string tooLongText(int64_t line) {
    return lineText(line) + " is longer than 1 MiB; no row of a measurement is";
}

// The cells of the line numbered `number`, at most MAX_CELLS of them, so that
// a line of millions is refused before it is stored.
bool cellTexts(Span line, char delimiter, int64_t number, std::vector<HeaderCell>& texts,
               std::string& error) {
    texts.clear();
    Cells cells(line, delimiter);
    Span cell;
    while (cells.next(cell)) {
        if (texts.size() == size_t(MAX_CELLS)) {
            error = lineText(number) + " holds more than " + std::to_string(MAX_CELLS) +
                    " cells; a measurement holds at most " + std::to_string(MAX_CHANNELS) +
                    " channels, a time and an index column";
            return false;
        }
        texts.push_back(HeaderCell{cell.text(), cells.quoted()});
    }
    return true;
}

void readHeader(const std::vector<HeaderCell>& cells, CsvLayout& layout) {
    // pandas writes its index under an empty first header cell.
    if (cells.size() > 1 && trimmed(cells[0].text).empty()) layout.firstChannel = 1;
    if (int(cells.size()) > layout.firstChannel &&
        isTimeHeading(cells[size_t(layout.firstChannel)])) {
        layout.timeColumn = true;
        ++layout.firstChannel;
    }
    for (size_t c = size_t(layout.firstChannel); c < cells.size(); ++c)
        layout.headings.push_back(readHeading(cells[c]));
}

// A row of numbers and gaps is data; a cell of other text makes it a header.
bool isHeader(const std::vector<HeaderCell>& cells, bool decimalComma) {
    for (const HeaderCell& cell : cells) {
        const std::string& text = cell.text;
        double value;
        if (!text.empty() &&
            !parseNumber(Span{text.data(), text.data() + text.size()}, decimalComma, value))
            return true;
    }
    return false;
}

// Whether a row of data follows in `lines` (a copy is read).
bool rowFollows(Lines lines) {
    Span row;
    while (lines.next(row))
        if (!isBlank(row) && !isComment(row)) return true;
    return false;
}

// The delimiter of the first row after `lines` (a copy is read): a single
// value a row parts nothing, so a tab, which a blank header holds none of.
char rowDelimiter(Lines lines) {
    Span row;
    while (lines.next(row))
        if (!isBlank(row) && !isComment(row)) {
            while (isBlankChar(*row.begin, 0))
                ++row.begin;
            while (isBlankChar(row.end[-1], 0))
                --row.end;
            for (const char* p = row.begin; p < row.end; ++p)
                if (*p == '\t' || *p == ';' || *p == ',' || *p == ' ') return findDelimiter(row);
            break;
        }
    return '\t';
}

// Comments, then the header or the first row, decide the layout.
bool scanLayout(const char* begin, const char* end, CsvLayout& layout, std::string& error) {
    if (end - begin >= 3 && std::memcmp(begin, "\xEF\xBB\xBF", 3) == 0) begin += 3;
    Lines lines(begin, end);
    Span line;
    const char* start = begin;
    for (; lines.next(line); start = lines.position()) {
        if (line.end - line.begin > MAX_LINE_BYTES) {
            error = tooLongText(lines.number());
            return false;
        }
        if (isBlank(line)) continue;
        if (isComment(line)) {
            if (!readComment(line, lines.number(), layout, error)) return false;
            continue;
        }
        layout.delimiter = findDelimiter(line);
        layout.decimalComma = layout.delimiter == ';';
        std::vector<HeaderCell> cells;
        if (!cellTexts(line, layout.delimiter, lines.number(), cells, error)) return false;
        const bool header =
            isHeader(cells, layout.decimalComma) || (isNumberedHeader(cells) && rowFollows(lines));
        if (header && layout.delimiter == ' ') {
            // Names may hold blanks ("gauge [m]"): the rows say what parts them.
            layout.delimiter = rowDelimiter(lines);
            layout.decimalComma = layout.delimiter == ';';
            if (!cellTexts(line, layout.delimiter, lines.number(), cells, error)) return false;
        }
        layout.cells = int(cells.size());
        if (header) readHeader(cells, layout);
        layout.rows = header ? lines.position() : start;
        layout.linesBefore = header ? lines.number() : lines.number() - 1;
        const int channels = layout.cells - layout.firstChannel;
        if (channels < 1) error = "the file holds no channel";
        if (channels > MAX_CHANNELS)
            error = "the file holds " + std::to_string(channels) + " channels; at most " +
                    std::to_string(MAX_CHANNELS) + " fit in a measurement";
        return channels >= 1 && channels <= MAX_CHANNELS;
    }
    error = "the file holds no rows";
    return false;
}

// Rows up to the last line that is not blank; comment lines are no rows.
// Returns -1 at a line too long to be a row.
int64_t countRows(const CsvLayout& layout, const char* end, std::string& error) {
    Lines lines(layout.rows, end, layout.linesBefore);
    Span line;
    int64_t count = 0, rows = 0;
    while (lines.next(line)) {
        if (line.end - line.begin > MAX_LINE_BYTES) {
            error = tooLongText(lines.number());
            return -1;
        }
        if (isComment(line)) continue;
        ++count;
        if (!isBlank(line)) rows = count;
    }
    return rows;
}

// The file's line that holds row `row` (from 0).
int64_t lineOfRow(const CsvLayout& layout, const char* end, int64_t row) {
    Lines lines(layout.rows, end, layout.linesBefore);
    Span line;
    for (int64_t count = -1; lines.next(line);)
        if (!isComment(line) && ++count == row) break;
    return lines.number();
}

std::string cellText(int64_t line, int column) {
    return "row " + std::to_string(line) + ", column " + std::to_string(column + 1);
}

// The place of the last digit of a number cell: -2 for "0.04", -6 for "1.5e-5".
int printedPlace(Span cell) {
    int decimals = 0;
    bool point = false;
    const char* p = cell.begin;
    for (; p < cell.end && *p != 'e' && *p != 'E'; ++p) {
        if (*p == '.' || *p == ',') point = true;
        if (point && *p >= '0' && *p <= '9') ++decimals;
    }
    int exponent = 0;
    if (p < cell.end && ++p < cell.end && *p == '+') ++p;
    std::from_chars(p, cell.end, exponent);
    return exponent - decimals;
}

// The significant digits of a number cell: 4 for "0.03330", 3 for "1.25e-5".
int significantDigits(Span cell) {
    int digits = 0;
    for (const char* p = cell.begin; p < cell.end && *p != 'e' && *p != 'E'; ++p)
        if ((*p >= '1' && *p <= '9') || (*p == '0' && digits)) ++digits;
    return digits;
}

// One time cell into `time`: a number, or a date-time when the first one
// was. `error` is what follows the cell's place.
bool readTime(Span cell, bool decimalComma, TimeColumn& time, std::string& error) {
    double t = 0;
    if (!time.dates && parseNumber(cell, decimalComma, t)) {
        if (!std::isfinite(t)) {
            error = ": the time " + quoted(cell) + " is not a finite number";
            return false;
        }
        time.values.push_back(t);
        time.finestPlace = std::min(time.finestPlace, printedPlace(cell));
        time.mostDigits = std::max(time.mostDigits, significantDigits(cell));
        return true;
    }
    IsoDateTime date;
    if ((time.dates || time.values.empty()) && parseIsoDateTime(cell.begin, cell.end, date)) {
        if (!time.dates) {
            time.dates = true;
            time.firstSecond = date.second;
            time.firstDate = date.packed;
        }
        time.values.push_back(double(date.second - time.firstSecond) + date.fraction);
        // Every second of a date-time is printed, however late.
        time.mostDigits = INT_MAX / 2;
        time.finestPlace = std::min(time.finestPlace, -date.decimals);
        return true;
    }
    error = cell.empty()
                ? std::string(" is empty")
                : ": " + quoted(cell) + (time.dates ? " is not a date-time" : " is not a number");
    return false;
}

// Converts the rows into the channels' `columns` (when given) and the time
// column into `time`. Returns the row that is damaged, or `rows` when none is.
int64_t convertRows(const CsvLayout& layout, const char* end, int64_t rows, float* const* columns,
                    TimeColumn& time, std::string& error) {
    Lines lines(layout.rows, end, layout.linesBefore);
    Span line, cell;
    const int timeCell = layout.firstChannel - 1;
    const bool timed = layout.timeColumn && !layout.timeIgnored;
    int64_t row = 0;
    for (; row < rows && lines.next(line);) {
        if (isComment(line)) continue;
        if (isBlank(line)) {
            error = "row " + std::to_string(lines.number()) + " is empty";
            return row;
        }
        Cells cells(line, layout.delimiter);
        for (int c = 0; c < layout.cells; ++c) {
            if (!cells.next(cell)) {
                error = "row " + std::to_string(lines.number()) + " holds " + std::to_string(c) +
                        " cells, not " + std::to_string(layout.cells);
                return row;
            }
            if (c < layout.firstChannel && !(timed && c == timeCell)) continue;
            bool number;
            if (c < layout.firstChannel) {
                if (!readTime(cell, layout.decimalComma, time, error)) {
                    error = cellText(lines.number(), c) + error;
                    return row;
                }
                number = true;
            } else {
                // An empty cell is a gap, NaN as pandas reads it.
                float v = NAN;
                number = cell.empty() || parseNumber(cell, layout.decimalComma, v);
                if (columns) columns[c - layout.firstChannel][row] = v;
            }
            if (!number) {
                error = cellText(lines.number(), c) +
                        (cell.empty() ? std::string(" is empty")
                                      : ": " + quoted(cell) + " is not a number");
                return row;
            }
        }
        if (cells.next(cell)) {
            error = "row " + std::to_string(lines.number()) + " holds more than " +
                    std::to_string(layout.cells) + " cells";
            return row;
        }
        ++row;
    }
    return row;
}

// Half a unit of the last digit a time prints: the column's finest place
// for fixed decimals; for significant digits ("%g", MATLAB's csvwrite), a
// coarser place as the times grow. Kept for a decade of times, which
// increase: a logarithm per row would slow a long file's read.
class HalfUnit {
  public:
    explicit HalfUnit(const TimeColumn& time)
        : fixed_(0.5 * std::pow(10.0, time.finestPlace)), digits_(time.mostDigits) {}
    double operator()(double t) {
        const double size = std::fabs(t);
        if (size == 0) return fixed_;
        if (!(size >= low_ && size < high_)) {
            const double decade = std::floor(std::log10(size));
            low_ = std::pow(10.0, decade);
            high_ = 10 * low_;
            half_ = std::max(fixed_, 0.5 * std::pow(10.0, decade - digits_ + 1));
        }
        return half_;
    }

  private:
    double fixed_;
    int digits_;
    double low_ = 0, high_ = 0, half_ = 0;
};

// The first of `kept` rows whose time breaks an even spacing, or `kept`;
// `step` is its step and `before` the mean step up to it. Each time is
// foretold from the first and the one before it: as printed, each of the
// three may be off by half a unit of its last digit, or by 1e-3 of the
// step (a clock's jitter), but never by half a step, so that a dropped
// sample stays uneven.
int64_t unevenRow(const TimeColumn& time, int64_t kept, double& step, double& before) {
    HalfUnit half(time);
    const std::vector<double>& t = time.values;
    const double firstHalf = half(t[0]);
    double lastHalf = half(t[0]);
    before = 0;
    for (size_t i = 1; i < size_t(kept); ++i) {
        step = t[i] - t[i - 1];
        if (!(step > 0)) return int64_t(i);
        const double previousHalf = lastHalf;
        lastHalf = half(t[i]);
        if (i == 1) continue;
        before = (t[i - 1] - t[0]) / double(i - 1);
        const double n = double(i - 1);
        const double rounding = firstHalf / n + previousHalf * (n + 1) / n + lastHalf;
        const double spread = std::max(rounding, 1e-3 * before * 2 * (n + 1) / n);
        const double slack = 8 * DBL_EPSILON * (std::fabs(t[0]) + std::fabs(t[i] - t[0]));
        if (std::fabs(t[i] - t[i - 1] - before) > std::min(spread, 0.5 * before) + slack)
            return int64_t(i);
    }
    return kept;
}

// The least-squares slope of time against row number, which every row's
// digits refine. Times are taken from the first, so that epoch seconds keep
// their fraction.
double fittedStep(const std::vector<double>& t, int64_t kept) {
    const double n = double(kept), middle = (n - 1) / 2;
    double sum = 0;
    for (size_t i = 0; i < size_t(kept); ++i)
        sum += (double(i) - middle) * (t[i] - t[0]);
    return sum / (n * (n * n - 1) / 12);
}

// The rate of a time column's first `kept` rows, which must be evenly
// spaced as far as the column's printed digits tell. Uneven steps are
// refused, never resampled.
bool timeColumnRate(const CsvLayout& layout, const char* end, const TimeColumn& time, int64_t kept,
                    double& rate, std::string& error) {
    if (kept < 2) {
        error = "a time column needs at least 2 rows to give the sample rate";
        return false;
    }
    double step = 0, before = 0;
    const int64_t uneven = unevenRow(time, kept, step, before);
    if (uneven < kept) {
        char text[128];
        if (!(step > 0))
            std::snprintf(text, sizeof text, " the time step is %.9g s; the times must increase",
                          step);
        else
            std::snprintf(text, sizeof text,
                          " the time step is %.9g s after %.9g s; the samples must be evenly "
                          "spaced",
                          step, before);
        error = "row " + std::to_string(lineOfRow(layout, end, uneven)) + ":" + text;
        return false;
    }
    rate = 1.0 / fittedStep(time.values, kept);
    if (std::isfinite(rate) && rate > 0) return true;
    error = "the time column's step is too small to give a sample rate";
    return false;
}

// Whether the "# rate:" comment agrees with the time column: each time as
// printed may be off the rate's by half a unit of its last digit.
bool rateAgrees(const CsvLayout& layout, const TimeColumn& time, int64_t kept, double timeRate,
                std::string& error) {
    const double span = time.values[size_t(kept - 1)] - time.values[0];
    const double expected = double(kept - 1) / layout.rate;
    if (std::fabs(span - expected) <= std::pow(10.0, time.finestPlace) + 1e-12 * span) return true;
    char text[160];
    std::snprintf(text, sizeof text,
                  ": the rate %.9g Hz disagrees with the time column, which gives %.9g Hz",
                  layout.rate, timeRate);
    error = lineText(layout.rateLine) + text;
    return false;
}

// The rate of `kept` rows: the caller's over a time column, else the
// "# rate:" comment (which a time column must agree with), else the time
// column's, else the caller's.
bool findRate(const CsvLayout& layout, const char* end, const TimeColumn& time, int64_t kept,
              const ReadOptions& options, double& rate, std::string& error, ReadReport* report) {
    if (layout.timeIgnored) {
        rate = options.rate;
        if (report) report->timeColumnIgnored = true;
        return true;
    }
    if (layout.timeColumn) {
        if (!timeColumnRate(layout, end, time, kept, rate, error)) return false;
        if (!(layout.rate > 0)) return true;
        if (!rateAgrees(layout, time, kept, rate, error)) return false;
        rate = layout.rate;
        return true;
    }
    rate = layout.rate > 0 ? layout.rate : options.rate;
    if (rate > 0 && std::isfinite(rate)) return true;
    error = "the file has no time column: give the sample rate";
    return false;
}

void describe(CMeasure& m, const CsvLayout& layout, const TimeColumn& time) {
    describePlainChannels(m);
    if (layout.titled) copyNameField(m.name, MAX_NAME + 1, layout.title);
    m.date = layout.date ? layout.date : time.firstDate;
    for (int c = 0; c < m.channelCount && size_t(c) < layout.headings.size(); ++c) {
        ChannelInfo& info = m.channels[c];
        const ChannelHeading& heading = layout.headings[size_t(c)];
        if (heading.named) copyNameField(info.name, MAX_CHANNEL_NAME + 1, heading.name);
        copyNameField(info.unit, MAX_UNIT + 1, heading.unit);
    }
    // The values were written calibrated: the pair describes them, unapplied.
    for (const CsvCalibration& c : layout.calibrations)
        if (c.channel < m.channelCount) {
            m.channels[c.channel].coefficient = c.coefficient;
            m.channels[c.channel].constant = c.constant;
        }
}

bool loadFile(const char* path, std::string& bytes, std::string& error) {
    OpenError opened;
    FileHandle file = FileHandle::openRead(path, &opened);
    if (!file.valid()) {
        error = openErrorText(opened);
        return false;
    }
    const int64_t size = file.remaining();
    bytes.resize(size_t(size < 0 ? 0 : size));
    if (size < 0 || !file.readExact(bytes.data(), bytes.size())) {
        error = "cannot read the file";
        return false;
    }
    return true;
}

// Why the bytes are not text a CSV reader can read, or null. Notepad's
// "Unicode" is UTF-16, whose NUL bytes would cut every message short.
const char* notTextReason(const std::string& bytes) {
    const bool mark = bytes.size() >= 2 && (bytes.compare(0, 2, "\xFF\xFE") == 0 ||
                                            bytes.compare(0, 2, "\xFE\xFF") == 0);
    if (mark) return "the file is UTF-16 text; save it as UTF-8";
    if (std::memchr(bytes.data(), 0, bytes.size()))
        return "the file holds NUL bytes, as UTF-16 text does; save it as UTF-8 text";
    return nullptr;
}

bool readCsvFile(CMeasure& m, const char* path, bool samples, std::string& why,
                 const ReadOptions& options, ReadReport* report) {
    std::string bytes;
    CsvLayout layout;
    if (!loadFile(path, bytes, why)) return false;
    if (const char* reason = notTextReason(bytes)) {
        why = reason;
        return false;
    }
    const char* end = bytes.data() + bytes.size();
    if (!scanLayout(bytes.data(), end, layout, why)) return false;
    layout.timeIgnored = layout.timeColumn && options.rate > 0;
    int64_t rows = countRows(layout, end, why);
    const int channels = layout.cells - layout.firstChannel;
    if (rows < 0) return false;
    if (rows == 0) {
        why = "the file holds no rows";
        return false;
    }
    TimeColumn time;
    // A complete row takes a byte per cell at least (a delimiter or its line
    // end): more rows than the bytes allow means short rows, found before
    // their samples are allocated.
    if (rows * layout.cells > int64_t(end - layout.rows) + 1) {
        const int64_t complete = convertRows(layout, end, rows, nullptr, time, why);
        time = TimeColumn();
        if (!acceptDamage(options, report, complete, rows, why)) return false;
        rows = complete;
    }
    if (rows > INT32_MAX) {
        why = "too many rows for one measurement";
        return false;
    }
    if (samples && !m.allocateSamples(rows, channels, SAMPLE_FORMAT_REAL, &why)) {
        m.sampleCount = 0;
        return false;
    }
    m.channelCount = channels;
    m.sampleCount = int32_t(rows);
    float* columns[MAX_CHANNELS];
    for (int c = 0; c < channels && c < MAX_CHANNELS; ++c)
        columns[c] = m.column(c);
    if (layout.timeColumn) time.values.reserve(size_t(rows));
    const int64_t kept =
        convertRows(layout, end, rows, m.hasSamples() ? columns : nullptr, time, why);
    if (kept < rows && !acceptDamage(options, report, kept, rows, why)) {
        for (int c = 0; m.hasSamples() && c < channels; ++c)
            std::fill(columns[c] + kept, columns[c] + rows, 0.0f);
        describePlainChannels(m);
        return false;
    }
    describe(m, layout, time);
    if (!findRate(layout, end, time, kept, options, m.sampleRate, why, report)) {
        if (report && !layout.timeColumn && !(layout.rate > 0)) report->rateNeeded = true;
        m.truncateSamples(0);
        m.sampleCount = 0;
        return false;
    }
    if (samples) m.truncateSamples(int32_t(kept));
    m.sampleCount = int32_t(kept);
    return true;
}

bool readCsvAny(CMeasure& m, const char* path, bool samples, std::string* error,
                const ReadOptions& options, ReadReport* report) {
    std::string why;
    const bool ok = readCsvFile(m, path, samples, why, options, report);
    copyField(m.path, sizeof m.path, path);
    if (error) *error = ok ? std::string() : why;
    return ok;
}

// ---------------------------------------------------------------------------

// One line of text for a comment: line breaks would end it.
std::string commentText(const char* bytes) {
    std::string text = displayText(bytes);
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

// As "%.<digits>g" in the "C" locale; with 0 digits, the shortest text that
// reads back as the same double (the time column stays "0.04", not
// "0.040000000000000001").
void appendNumber(std::string& out, double value, int digits) {
    char text[40];
    auto result =
        digits ? std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits)
               : std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

std::string csvPreamble(const CMeasure& m) {
    std::string text = "# name: " + commentValue(commentText(m.name)) + "\r\n";
    if (m.date) text += "# date: " + isoDateText(m.date) + "\r\n";
    text += "# rate: ";
    appendNumber(text, m.sampleRate, 0);
    text += "\r\n";
    for (int c = 0; c < m.channelCount; ++c)
        if (channelIsScaled(m.channels[c]))
            text += csvCalibrationComment(c, m.channels[c]) + "\r\n";
    text += "time [s]";
    for (int c = 0; c < m.channelCount; ++c)
        text += ',' + headingCell(displayText(m.channels[c].name), displayText(m.channels[c].unit));
    return text + "\r\n";
}

} // namespace

bool readCsv(CMeasure& m, const char* path, std::string* error, const ReadOptions& options,
             ReadReport* report) {
    return readCsvAny(m, path, true, error, options, report);
}

bool readCsvHeader(CMeasure& m, const char* path, std::string* error, const ReadOptions& options,
                   ReadReport* report) {
    return readCsvAny(m, path, false, error, options, report);
}

const char* csvFormatRefusal(const CMeasure& m) {
    if (const char* why = noSamplesReason(m)) return why;
    if (m.TextValuesPerRow() != m.channelCount)
        return "a CSV file holds one value per channel; an analysis result has two";
    if (!(m.sampleRate > 0) || !std::isfinite(m.sampleRate))
        return "a CSV file needs a sample rate above 0";
    return nullptr;
}

bool writeCsv(CMeasure& m, const char* path, std::string* error) {
    if (const char* why = csvFormatRefusal(m)) {
        if (error) *error = why;
        return false;
    }
    AtomicFile out;
    bool ok = out.open(path);
    if (ok) {
        std::string text = csvPreamble(m);
        for (int32_t row = 0; ok && row < m.sampleCount; ++row) {
            appendNumber(text, row / m.sampleRate, 0);
            for (int c = 0; c < m.channelCount; ++c) {
                text += ',';
                appendNumber(text, m.value(c, row), 9);
            }
            text += "\r\n";
            if (text.size() > (1 << 20) || row + 1 == m.sampleCount) {
                ok = out.write(text.data(), text.size());
                text.clear();
            }
        }
        ok = out.commit(ok);
    }
    if (!ok && error) *error = out.error();
    return ok;
}
