// Which reader opens a file chosen in the open dialog.
#pragma once

#include <string>

#include "measure/measure_file.h"

// A known extension (.INT, .M11, .TXT, .WAV, in any letter case) decides,
// whatever type the dialog had selected: the type list only filters what the
// dialog shows. Other names go by the dialog's type (1-based, in the order
// of the open dialog's list); "All files" and "All measurements" read them as
// .INT.
FileType openFileType(int filterIndex, const std::string& path);

// "All measurements (*.INT ... *.hdf5)": every extension of every type the
// open dialog lists, so that a folder of any of them shows its files. It
// follows the types and "All files" in that list.
std::string allMeasurementsFilter();
// Its position in the open dialog's list (1-based), where Open starts.
int allMeasurementsFilterIndex();
