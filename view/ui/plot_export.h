// Writes a laid-out view as a picture: painted by the view's own PlotPainter
// into a QImage, so the file shows what the window shows, and written as PNG,
// or carried as that image of the chosen size by QSvgGenerator (SVG) and
// QPdfWriter (PDF, one point per pixel). The picture is made in memory and
// then replaces the file whole, so that a failed write leaves the old one.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include "view/export_format.h"
#include "view/view_state.h"

// The largest picture side accepted, in pixels (a PNG of this square is
// about 256 MB in memory).
constexpr int MAX_EXPORT_SIDE = 8000;
constexpr int MIN_EXPORT_SIDE = 64;

// Paints `view` (already laid out at the picture's size) into `path`.
// False, with the reason in `why`, when the file could not be written.
bool writePlot(const MeasureViewState& view, const QString& path, ExportFormat format,
               QString* why);

// `view` painted on white at its laid-out size.
QImage viewPicture(const MeasureViewState& view);
// `image` written to `path` in `format`, replacing the file only once made.
bool writePicture(const QImage& image, const QString& path, ExportFormat format, QString* why);

// A painted picture's bytes in `format` (false when they could not be made).
bool renderPicture(const QImage& image, ExportFormat format, QByteArray& bytes);
