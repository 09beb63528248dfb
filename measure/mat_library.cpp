#include "measure/mat_library.h"

#include <matio.h>

namespace {

void dropMessage(int, char*) {}

} // namespace

MatLibraryUse::MatLibraryUse() {
    // Once: a function-local static is initialised by one thread only.
    static const bool quiet = Mat_LogInitFunc("ondarix", dropMessage) == 0;
    (void)quiet;
    H5Eget_auto2(H5E_DEFAULT, &printer_, &printerData_);
    H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
}

MatLibraryUse::~MatLibraryUse() {
    H5Eset_auto2(H5E_DEFAULT, printer_, printerData_);
}
