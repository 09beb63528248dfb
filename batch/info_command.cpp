// ondarix-batch info: the header of a measurement and its channel descriptions.
#include <cstdio>
#include <string>

#include "batch/batch_command.h"
#include "batch/json_text.h"
#include "batch/measure_input.h"
#include "measure/text_encoding.h"

namespace {

const char* formatName(int code) {
    return code == SAMPLE_FORMAT_COMPLEX ? "complex"
           : code == SAMPLE_FORMAT_REAL  ? "real"
                                         : "other";
}

// The field's text for display, padded with blanks to `width` characters
// (not bytes: a Polish letter takes two bytes in UTF-8).
std::string column(const char* field, size_t width) {
    std::string text = displayText(field);
    size_t shown = displayLength(text);
    if (shown < width) text.append(width - shown, ' ');
    return text;
}

// `date` is null for a measurement without one.
void printText(const CMeasure& m, const char* date, const ReadReport& report) {
    std::printf("name:        %s\n", displayText(m.name).c_str());
    std::printf("date:        %s\n", date ? date : "no date");
    std::printf("sample rate: %.10g\n", m.sampleRate);
    std::printf("channels:    %d\n", m.channelCount);
    std::printf("samples:     %d\n", m.sampleCount);
    std::printf("format:      %d (%s)\n", m.sampleFormat, formatName(m.sampleFormat));
    std::printf("path:        %s\n", displayText(m.path).c_str());
    if (report.bytesIgnored > 0)
        std::printf("ignored:     %lld bytes after the samples\n",
                    static_cast<long long>(report.bytesIgnored));
    std::printf("\n%-7s  %-40s  %-7s  %14s  %14s\n", "channel", "name", "unit", "coefficient",
                "constant");
    for (int c = 0; c < m.channelCount; ++c) {
        const ChannelInfo& ch = m.channels[c];
        std::printf("%-7d  %s  %s  %14.8g  %14.8g\n", c, column(ch.name, 40).c_str(),
                    column(ch.unit, 7).c_str(), ch.coefficient, ch.constant);
    }
}

void printJson(const CMeasure& m, const char* date, const ReadReport& report) {
    std::printf("{\n  \"name\": %s,\n  \"date\": %s,\n  \"sampleRate\": %s,\n",
                jsonString(displayText(m.name)).c_str(), date ? jsonString(date).c_str() : "null",
                jsonNumber(m.sampleRate).c_str());
    std::printf("  \"channelCount\": %d,\n  \"sampleCount\": %d,\n  \"sampleFormat\": %d,\n",
                m.channelCount, m.sampleCount, m.sampleFormat);
    std::printf("  \"path\": %s,\n", jsonString(displayText(m.path)).c_str());
    std::printf("  \"bytesIgnored\": %lld,\n  \"channels\": [",
                static_cast<long long>(report.bytesIgnored));
    for (int c = 0; c < m.channelCount; ++c) {
        const ChannelInfo& ch = m.channels[c];
        std::printf("%s\n    {\"name\": %s, \"unit\": %s, \"coefficient\": %s, \"constant\": %s}",
                    c ? "," : "", jsonString(displayText(ch.name)).c_str(),
                    jsonString(displayText(ch.unit)).c_str(), jsonNumber(ch.coefficient).c_str(),
                    jsonNumber(ch.constant).c_str());
    }
    std::printf("%s]\n}\n", m.channelCount ? "\n  " : "");
}

int runInfo(Args& args) {
    static const BatchCommand& self = *findBatchCommand("info");
    args.allowOnly(withReadingOptions({"json"}));
    if (!args.error().empty()) return usageError(self, args.error());
    if (args.positional().size() != 1) return usageError(self, "info takes one input file");
    CMeasure m;
    // The header only: info on a large file neither reads nor holds its samples.
    ReadReport report;
    if (int rc = readInputHeader(m, args.positional()[0], args, &report)) return rc;
    // A file that names no date (0 in the MS-DOS layout) has none, not 1980-00-00.
    char buffer[64];
    const char* date = m.date ? m.dateText(buffer, sizeof buffer) : nullptr;
    if (args.has("json"))
        printJson(m, date, report);
    else
        printText(m, date, report);
    return EXIT_OK;
}

const std::string usage =
    std::string("FILE [--type ") + typeChoices() + "] " READING_USAGE " [--json]";

BatchCommandRegistration info{{"info", usage.c_str(), "show a measurement's header and channels",
                               withReadingValues({}), runInfo}};

} // namespace
