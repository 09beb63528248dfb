// Whether two headers describe a measurement alike: what the configuration
// dialogs and the component lists edit, so that a window can tell a real
// change from a dialog closed with OK on the values it showed.
#pragma once

#include "measure/measure.h"

// Name, date, rate, counts, and per channel its description and its
// component list. Numbers compare by their bits (a NaN equals itself),
// texts up to their terminating NUL.
bool sameDescription(const CHeader& a, const CHeader& b);
