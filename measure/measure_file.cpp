#include "measure/measure_file.h"

#include "measure/fenced_read.h"

namespace {

// Where the reader reported no damage, the report holds every row.
void completeReport(ReadReport* report, const CMeasure& m, bool ok) {
    if (report && ok && !report->partialAvailable)
        report->rowsRead = report->rowsExpected = m.sampleCount;
}

// A window is titled by its file; the .WAV reader does not note the path.
void notePath(CMeasure& m, const std::string& path) {
    if (m.path[0] == '\0') copyField(m.path, sizeof m.path, path.c_str());
}

// The outcome of either reader: the report completed, the path noted, the
// error cleared on success.
bool finishRead(CMeasure& m, const std::string& path, bool ok, const std::string& why,
                std::string* error, ReadReport* report) {
    completeReport(report, m, ok);
    if (ok) notePath(m, path);
    if (error) *error = ok ? std::string() : why;
    return ok;
}

} // namespace

bool fileTypeFromName(const std::string& name, FileType& type) {
    const FileTypeRow* row = fileTypeRowNamed(name);
    if (row) type = row->id;
    return row != nullptr;
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
    return fileTypeRow(type).name;
}

bool readMeasure(CMeasure& m, const std::string& path, FileType type, std::string* error,
                 ChannelExtremes* seen, const ReadOptions& options, ReadReport* report) {
    std::string why;
    if (seen) *seen = ChannelExtremes();
    if (report) *report = ReadReport();
    const FileTypeRow& row = fileTypeRow(type);
    bool ok = row.fenced ? readFenced(
                               m, path.c_str(),
                               [&](CMeasure& c, std::string* e, ReadReport* r) {
                                   return row.read(c, path.c_str(), e, nullptr, options, r);
                               },
                               &why, report)
                         : row.read(m, path.c_str(), &why, seen, options, report);
    return finishRead(m, path, ok, why, error, report);
}

bool readMeasureHeader(CMeasure& m, const std::string& path, FileType type, std::string* error,
                       const ReadOptions& options, ReadReport* report) {
    std::string why;
    if (report) *report = ReadReport();
    const FileTypeRow& row = fileTypeRow(type);
    bool ok = row.fenced ? readFenced(
                               m, path.c_str(),
                               [&](CMeasure& c, std::string* e, ReadReport* r) {
                                   return row.readHeader(c, path.c_str(), e, options, r);
                               },
                               &why, report)
                         : row.readHeader(m, path.c_str(), &why, options, report);
    return finishRead(m, path, ok, why, error, report);
}

bool writeMeasure(CMeasure& m, const std::string& path, FileType type, std::string* error) {
    const FileTypeRow& row = fileTypeRow(type);
    if (!row.write) {
        if (error) *error = cannotWriteText(row);
        return false;
    }
    // A file its own reader could not read back is not written at all.
    if (const char* refusal = row.refusal ? row.refusal(m) : nullptr) {
        if (error) *error = "cannot write " + path + ": " + refusal;
        return false;
    }
    std::string why;
    bool ok = row.write(m, path.c_str(), &why);
    if (!ok && error) *error = "cannot write " + path + ": " + why;
    return ok;
}
