// Writes the shared-mime-info file installed for the measurement file types,
// from the file type table, so that a new row is also a new MIME type.
#include <cstdio>

#include "measure/file_type_table.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ondarix-mime-info OUT.xml\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const std::string xml = mimeInfoXml();
    bool ok = std::fwrite(xml.data(), 1, xml.size(), out) == xml.size();
    ok = std::fclose(out) == 0 && ok;
    if (!ok) std::perror(argv[1]);
    return ok ? 0 : 1;
}
