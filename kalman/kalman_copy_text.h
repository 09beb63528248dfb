// The text the Kalman run dialog's "Copy all" puts on the clipboard.
#pragma once

#include <string>

#include "kalman/kalman_options.h"
#include "measure/measure.h"

// "%d\t%d\t%d\t%d" (channel, From, To, component count), one "%8.6f" line of
// frequency, amplitude and K per component, then "%4.2f\t%d\t%d" (observation
// error, use damp, model); lines end in CR LF. The first and last lines are
// cut at 39 characters and component lines at 59, the next line following
// directly after a cut one, as the dialog's fixed buffers do. Needs the "C"
// numeric locale.
std::string kalmanCopyAllText(const BlockRange& range, const SignalParameters& components,
                              const KalmanOptions& options);
