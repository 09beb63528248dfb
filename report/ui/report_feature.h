// The test report's part of the desktop program: File -> "Report...".
#pragma once

void registerReport();
