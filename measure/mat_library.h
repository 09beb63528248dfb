// libmatio logs on stderr (and aborts after its error level), and the HDF5
// library under a 7.3 file prints its error stack there; ondarix-batch says
// one line, and the reader and writer say what went wrong in their own words.
#pragma once

#include <hdf5.h>

// Held around every use of either library: libmatio's messages are dropped
// and HDF5's error printing is off (for this thread) until it goes away.
class MatLibraryUse {
  public:
    MatLibraryUse();
    ~MatLibraryUse();
    MatLibraryUse(const MatLibraryUse&) = delete;
    MatLibraryUse& operator=(const MatLibraryUse&) = delete;

  private:
    H5E_auto2_t printer_ = nullptr;
    void* printerData_ = nullptr;
};
