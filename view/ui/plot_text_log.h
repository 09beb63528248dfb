// The texts a plot painted, each with the rectangle it took in the plot's
// pixels, so that a test sees where the labels went without reading pixels.
#pragma once

#include <QRect>
#include <QString>

#include <utility>
#include <vector>

using PlotTextLog = std::vector<std::pair<QRect, QString>>;
