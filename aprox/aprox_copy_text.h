// The "Copy all" text of the approximation run dialog: the component list as
// assignments of a matrix-computing language.
#pragma once

#include <string>

#include "measure/measure.h"

// "FRS1=[f0;f1;...]" and one "AS1<j>=A+i*D;" line per component, numbers as
// "%6.4f", CR LF line ends. An empty list gives "FRS1=[]".
std::string aproxCopyText(const SignalParameters& list);

// Puts aproxCopyText on the clipboard; without one nothing happens.
void copyAproxText(const SignalParameters& list);
