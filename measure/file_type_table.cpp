#include "measure/file_type_table.h"

#include <cctype>

#include "measure/csv_format.h"
#include "measure/hdf5_format.h"
#include "measure/int_format.h"
#include "measure/m11_format.h"
#include "measure/mat_format.h"
#include "measure/text_format.h"
#include "measure/wave_format.h"

namespace {

std::string lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string m11Failure(int code) {
    return std::string(m11CheckText(code)) + " (check " + std::to_string(code) + ")";
}

// An .M11 whose data records end before the declared count: its header read
// gives fewer rows, its full read stops at the first missing or damaged record.
bool m11Outcome(int code, const CMeasure& m, int32_t declared, const ReadOptions& options,
                ReadReport* report, std::string* error) {
    if (code == 0 && m.sampleCount >= declared) return true;
    std::string why;
    bool ok = false;
    if (code != 0 && code != M11_BAD_DATA_RECORD) {
        why = m11Failure(code);
    } else {
        why = m11Failure(M11_BAD_DATA_RECORD);
        ok = acceptDamage(options, report, m.sampleCount, declared, why);
    }
    if (error) *error = why;
    return ok;
}

bool readM11File(CMeasure& m, const char* path, std::string* error, ChannelExtremes*,
                 const ReadOptions& options, ReadReport* report) {
    int32_t declared = 0;
    int code = readM11(m, path, &declared);
    return m11Outcome(code, m, declared, options, report, error);
}

bool readM11FileHeader(CMeasure& m, const char* path, std::string* error,
                       const ReadOptions& options, ReadReport* report) {
    int32_t declared = 0;
    int code = readM11Header(m, path, &declared);
    return m11Outcome(code, m, declared, options, report, error);
}

bool readTextFile(CMeasure& m, const char* path, std::string* error, ChannelExtremes*,
                  const ReadOptions& options, ReadReport* report) {
    return readText(m, path, error, options, report);
}

bool readWaveFile(CMeasure& m, const char* path, std::string* error, ChannelExtremes*,
                  const ReadOptions& options, ReadReport* report) {
    return readWave(m, path, error, options, report);
}

bool readCsvFile(CMeasure& m, const char* path, std::string* error, ChannelExtremes*,
                 const ReadOptions& options, ReadReport* report) {
    return readCsv(m, path, error, options, report);
}

bool readMatFile(CMeasure& m, const char* path, std::string* error, ChannelExtremes*,
                 const ReadOptions& options, ReadReport* report) {
    return readMat(m, path, error, options, report);
}

bool readHdf5File(CMeasure& m, const char* path, std::string* error, ChannelExtremes*,
                  const ReadOptions& options, ReadReport* report) {
    return readHdf5(m, path, error, options, report);
}

std::vector<FileTypeRow> makeRows() {
    return {
        {FileType::Int,
         "int",
         {"INT"},
         "DAXO 1.0/1.2/1.4/1.5 File (*.INT)",
         "DAXO 1.5 File (*.INT)",
         readInt,
         readIntHeader,
         writeInt,
         intFormatRefusal,
         "application/x-ondarix-int",
         "Wave flume measurement (DAXO)"},
        {FileType::M11,
         "m11",
         {"M11"},
         "Wave syntesiser (*.M11)",
         "Wave syntesiser (*.M11)",
         readM11File,
         readM11FileHeader,
         writeM11,
         m11FormatRefusal,
         "application/x-ondarix-m11",
         "Wave synthesiser signal"},
        {FileType::Text,
         "txt",
         {"TXT"},
         "Plik tekstowy (*.TXT)",
         "Plik tekstowy (*.TXT)",
         readTextFile,
         readTextHeader,
         writeTextFile,
         textFormatRefusal,
         "",
         ""},
        {FileType::Wave,
         "wav",
         {"WAV"},
         "Plik dźwiękowy (*.WAV)",
         "",
         readWaveFile,
         readWaveHeader,
         nullptr,
         nullptr,
         "",
         ""},
        // text/csv is the desktop's own type for these files.
        {FileType::Csv,
         "csv",
         {"csv"},
         "CSV file (*.csv *.CSV)",
         "CSV file (*.csv *.CSV)",
         readCsvFile,
         readCsvHeader,
         writeCsv,
         csvFormatRefusal,
         "",
         ""},
        // shared-mime-info has no type for .mat files (only for .m scripts).
        {FileType::Mat,
         "mat",
         {"mat"},
         "MATLAB file (*.mat *.MAT)",
         "MATLAB file (*.mat *.MAT)",
         readMatFile,
         readMatHeader,
         writeMat,
         matFormatRefusal,
         "application/x-matlab-data",
         "MATLAB data file",
         true},
        // shared-mime-info already knows these as application/x-hdf (with HDF4).
        {FileType::Hdf5,
         "hdf5",
         {"h5", "hdf5"},
         "HDF5 file (*.h5 *.hdf5 *.H5 *.HDF5)",
         "HDF5 file (*.h5 *.hdf5 *.H5 *.HDF5)",
         readHdf5File,
         readHdf5Header,
         writeHdf5,
         hdf5FormatRefusal,
         "",
         "",
         true},
    };
}

// "a, b or c"
std::string joined(const std::vector<std::string>& items, const char* separator,
                   const char* lastJoin) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? lastJoin : separator;
        text += items[i];
    }
    return text;
}

} // namespace

const std::vector<FileTypeRow>& fileTypeRows() {
    static const std::vector<FileTypeRow> rows = makeRows();
    return rows;
}

const FileTypeRow& fileTypeRow(FileType type) {
    for (const FileTypeRow& row : fileTypeRows())
        if (row.id == type) return row;
    return fileTypeRows().front();
}

const FileTypeRow* fileTypeRowNamed(const std::string& name) {
    std::string n = lower(name);
    for (const FileTypeRow& row : fileTypeRows()) {
        if (n == row.name) return &row;
        for (const std::string& extension : row.extensions)
            if (n == lower(extension)) return &row;
    }
    return nullptr;
}

bool writableTypeOfPath(const std::string& path, FileType& type) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
    const FileTypeRow* row = fileTypeRowNamed(path.substr(dot + 1));
    if (!row || !row->write) return false;
    type = row->id;
    return true;
}

std::string fileTypeNameList(bool writableOnly, const char* separator, const char* lastJoin) {
    std::vector<std::string> names;
    for (const FileTypeRow& row : fileTypeRows())
        if (!writableOnly || row.write) names.push_back(row.name);
    return joined(names, separator, lastJoin);
}

std::string extensionList(bool writableOnly) {
    std::vector<std::string> extensions;
    for (const FileTypeRow& row : fileTypeRows())
        if (!writableOnly || row.write) extensions.push_back("." + row.extensions.front());
    return joined(extensions, ", ", " or ");
}

std::string cannotWriteText(const FileTypeRow& row) {
    return "a ." + row.extensions.front() + " file cannot be written; name the file " +
           extensionList(true);
}

std::string mimeInfoXml() {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- The measurement files Ondarix opens with a double click. Text and sound\n"
        "     files keep their own types; the desktop entry offers Ondarix for them. -->\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    for (const FileTypeRow& row : fileTypeRows()) {
        if (!*row.mimeType) continue;
        xml += std::string("  <mime-type type=\"") + row.mimeType + "\">\n";
        xml += std::string("    <comment>") + row.mimeComment + "</comment>\n";
        xml += "    <generic-icon name=\"ondarix\"/>\n";
        for (const std::string& extension : row.extensions)
            xml += "    <glob pattern=\"*." + lower(extension) + "\"/>\n";
        xml += "  </mime-type>\n";
    }
    return xml + "</mime-info>\n";
}
