// The program's pictures, drawn in code: the four toolbar images and the
// window icons of the window classes.
#pragma once

#include <QIcon>
#include <QPixmap>

#include "shell/toolbar_images.h"

constexpr int ICON_PROGRAM = 90;
constexpr int ICON_MEASURE = 91;
constexpr int ICON_FOURIER = 92;
constexpr int ICON_KALMAN = 93;
constexpr int ICON_GENERATOR = 94;

constexpr int TOOLBAR_IMAGE_WIDTH = 16;
constexpr int TOOLBAR_IMAGE_HEIGHT = 15;

// A 16 x 15 image of the toolbar strip; an empty pixmap for another index.
QPixmap toolbarImage(int index);
// The icon of resource 90 .. 94; the program icon for another id.
QIcon programIcon(int resourceId);
