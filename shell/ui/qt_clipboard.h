// The system clipboard behind CMeasure::CopyBlock: the block text as plain
// text, CR LF line ends kept.
#pragma once

#include "measure/measure.h"

class QtClipboard : public Clipboard {
  public:
    bool setText(const std::string& text) override;
};
