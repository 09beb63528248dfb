// The pictures of the toolbar strip, in its order.
#pragma once

constexpr int TOOLBAR_IMAGE_OPEN = 0;
constexpr int TOOLBAR_IMAGE_SAVE_AS = 1;
constexpr int TOOLBAR_IMAGE_INFO = 2;
constexpr int TOOLBAR_IMAGE_COPY = 3;
