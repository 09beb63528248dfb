#include "measure/measure_file.h"

#include <cctype>

#include "measure/int_format.h"
#include "measure/m11_format.h"
#include "measure/text_format.h"
#include "measure/wave_format.h"

namespace {

std::string lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Why the writer of `type` refuses `m`, or null.
const char* writeRefusal(const CMeasure& m, FileType type) {
    switch (type) {
    case FileType::Int:
        return intFormatRefusal(m);
    case FileType::Text:
        return textFormatRefusal(m);
    case FileType::M11:
        return m11FormatRefusal(m);
    case FileType::Wave:
        return ".WAV files are read only";
    }
    return nullptr;
}

std::string m11Failure(int code) {
    return std::string(m11CheckText(code)) + " (check " + std::to_string(code) + ")";
}

// An .M11 whose data records end before the declared count: its header read
// gives fewer rows, its full read stops at the first missing or damaged record.
bool m11Outcome(int code, const CMeasure& m, int32_t declared, const ReadOptions& options,
                ReadReport* report, std::string& why) {
    if (code == 0 && m.sampleCount >= declared) return true;
    if (code != 0 && code != M11_BAD_DATA_RECORD) {
        why = m11Failure(code);
        return false;
    }
    why = m11Failure(M11_BAD_DATA_RECORD);
    return acceptDamage(options, report, m.sampleCount, declared, why);
}

// Where the reader reported no damage, the report holds every row.
void completeReport(ReadReport* report, const CMeasure& m, bool ok) {
    if (report && ok && !report->partialAvailable)
        report->rowsRead = report->rowsExpected = m.sampleCount;
}

// A window is titled by its file; the .WAV reader does not note the path.
void notePath(CMeasure& m, const std::string& path) {
    if (m.path[0] == '\0') copyField(m.path, sizeof m.path, path.c_str());
}

} // namespace

bool fileTypeFromName(const std::string& name, FileType& type) {
    std::string n = lower(name);
    if (n == "int")
        type = FileType::Int;
    else if (n == "m11")
        type = FileType::M11;
    else if (n == "txt")
        type = FileType::Text;
    else if (n == "wav")
        type = FileType::Wave;
    else
        return false;
    return true;
}

FileType fileTypeFromPath(const std::string& path) {
    size_t dot = path.find_last_of('.');
    size_t slash = path.find_last_of('/');
    FileType type = FileType::Int;
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        fileTypeFromName(path.substr(dot + 1), type);
    return type;
}

const char* fileTypeName(FileType type) {
    switch (type) {
    case FileType::Int:
        return "int";
    case FileType::M11:
        return "m11";
    case FileType::Text:
        return "txt";
    case FileType::Wave:
        return "wav";
    }
    return "int";
}

bool readMeasure(CMeasure& m, const std::string& path, FileType type, std::string* error,
                 ChannelExtremes* seen, const ReadOptions& options, ReadReport* report) {
    std::string why;
    bool ok = false;
    if (seen) *seen = ChannelExtremes();
    if (report) *report = ReadReport();
    switch (type) {
    case FileType::Int:
        ok = readInt(m, path.c_str(), &why, seen, options, report);
        break;
    case FileType::Text:
        ok = readText(m, path.c_str(), &why, options, report);
        break;
    case FileType::Wave:
        ok = readWave(m, path.c_str(), &why, options, report);
        break;
    case FileType::M11: {
        int32_t declared = 0;
        int code = readM11(m, path.c_str(), &declared);
        ok = m11Outcome(code, m, declared, options, report, why);
        break;
    }
    }
    completeReport(report, m, ok);
    if (ok) notePath(m, path);
    if (error) *error = ok ? std::string() : why;
    return ok;
}

bool readMeasureHeader(CMeasure& m, const std::string& path, FileType type, std::string* error,
                       const ReadOptions& options, ReadReport* report) {
    std::string why;
    bool ok = false;
    if (report) *report = ReadReport();
    switch (type) {
    case FileType::Int:
        ok = readIntHeader(m, path.c_str(), &why, options, report);
        break;
    case FileType::Text:
        ok = readTextHeader(m, path.c_str(), &why, options, report);
        break;
    case FileType::Wave:
        ok = readWaveHeader(m, path.c_str(), &why, options, report);
        break;
    case FileType::M11: {
        int32_t declared = 0;
        int code = readM11Header(m, path.c_str(), &declared);
        ok = m11Outcome(code, m, declared, options, report, why);
        break;
    }
    }
    completeReport(report, m, ok);
    if (ok) notePath(m, path);
    if (error) *error = ok ? std::string() : why;
    return ok;
}

bool writeMeasure(CMeasure& m, const std::string& path, FileType type, std::string* error) {
    // A file its own reader could not read back is not written at all.
    if (const char* refusal = writeRefusal(m, type)) {
        if (error)
            *error = type == FileType::Wave ? refusal : "cannot write " + path + ": " + refusal;
        return false;
    }
    bool ok = false;
    std::string why;
    switch (type) {
    case FileType::Int:
        ok = writeInt(m, path.c_str(), &why);
        break;
    case FileType::Text:
        ok = writeTextFile(m, path.c_str(), &why);
        break;
    case FileType::M11:
        ok = writeM11(m, path.c_str(), &why);
        break;
    case FileType::Wave:
        break;
    }
    if (!ok && error) *error = "cannot write " + path + ": " + why;
    return ok;
}
