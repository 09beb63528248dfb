// Writes the shared-mime-info file installed for the measurement file types,
// from the file type table, so that a new row is also a new MIME type.
#include <cstdio>

#include "measure/atomic_file.h"
#include "measure/file_type_table.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: ondarix-mime-info OUT.xml\n");
        return 2;
    }
    // Replaced whole, so an interrupted build never installs half a file.
    std::string why;
    if (replaceFile(argv[1], mimeInfoXml(), &why)) return 0;
    std::fprintf(stderr, "ondarix-mime-info: cannot write %s: %s\n", argv[1], why.c_str());
    return 1;
}
