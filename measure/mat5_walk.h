// A walk over every element of a version 5 MATLAB file before libmatio is
// given it. libmatio trusts the sizes it reads: it recurses as deep as cells
// nest, allocates a name as long as its length says and copies as many
// elements as a matrix claims, whatever the file stores. Here each size must
// fit in what holds it, and what a file may ask for is bounded.
#pragma once

#include <cstdint>
#include <string>

#include "measure/file_io.h"

// Cells and structs nested deeper than this are refused (MATLAB's own files
// of measurements nest two or three).
constexpr int MAT5_MAX_DEPTH = 64;
// Matrices in one file, cells and fields counted.
constexpr uint64_t MAT5_MAX_MATRICES = 1 << 17;
// Bytes of a variable's or field's name (MATLAB allows 63 characters).
constexpr uint64_t MAT5_MAX_NAME = 1024;

// Walks the data elements after the 128-byte header; compressed ones are
// inflated as they are walked, and must hold exactly one whole matrix.
// False with `*error` saying what is wrong and in which variable.
bool walkMat5(const FileHandle& file, int64_t size, bool bigEndian, std::string* error);
