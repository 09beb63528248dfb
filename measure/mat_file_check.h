// What a file must look like before libmatio is given it: the MATLAB header,
// and for version 5 every variable whole within the file. libmatio trusts
// the lengths it reads, so a file cut short is told here, by its own words.
#pragma once

#include <string>

enum class MatVersion { None, V5, V73 };

// The file's version; None with `*error` saying why when it is neither a
// version 5 nor a 7.3 file, or when a version 5 file is cut short or its
// variables' lengths run past its end.
MatVersion checkMatFile(const char* path, std::string* error);
