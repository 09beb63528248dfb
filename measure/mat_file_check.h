// What a file must look like before libmatio is given it: the MATLAB header,
// for version 5 every variable whole within the file, for 7.3 (HDF5) no data
// set larger than the file could hold. libmatio trusts the lengths it reads,
// so a file cut short or damaged is told here, in its own words.
#pragma once

#include <cstdint>
#include <string>

enum class MatVersion { None, V5, V73 };

// The file's version; None with `*error` saying why when it is neither a
// version 5 nor a 7.3 file, or when it is cut short or its sizes are
// damaged. `*dataLimit` (where given) gets the most bytes of data one
// variable of the file can hold; a size beyond it is damage.
MatVersion checkMatFile(const char* path, std::string* error, uint64_t* dataLimit = nullptr);
