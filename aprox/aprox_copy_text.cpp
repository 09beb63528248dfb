#include "aprox/aprox_copy_text.h"

#include <algorithm>
#include <cstdio>

namespace {

// Each piece is cut to its limit, as the fixed buffer of the dialog did.
constexpr int FREQUENCY_ITEM = 19;
constexpr int VECTOR_END = 9;
constexpr int AMPLITUDE_LINE = 29;
constexpr size_t TEXT_CAPACITY = 2048 - 1;

template <typename... Values>
void appendPiece(std::string& text, int limit, const char* format, Values... values) {
    char piece[64];
    std::snprintf(piece, size_t(limit) + 1, format, values...);
    text += piece;
}

} // namespace

std::string aproxCopyText(const SignalParameters& list) {
    const int K = std::clamp(list.componentCount, 0, MAX_COMPONENTS);
    std::string text;
    if (K == 0) text = "FRS1=[";
    for (int k = 0; k < K; ++k) {
        const double f = list.components[k].frequency;
        // The first item carries "FRS1=[" within its limit.
        if (k == 0)
            appendPiece(text, FREQUENCY_ITEM, "FRS1=[%6.4f", f);
        else
            appendPiece(text, FREQUENCY_ITEM, ";%6.4f", f);
    }
    appendPiece(text, VECTOR_END, "]\r\n");
    for (int j = 1; j <= K; ++j) {
        const SignalComponent& c = list.components[j - 1];
        if (c.d >= 0)
            appendPiece(text, AMPLITUDE_LINE, "AS1%d=%6.4f+i*%6.4f;\r\n", j, c.a, c.d);
        else
            appendPiece(text, AMPLITUDE_LINE, "AS1%d=%6.4f-i*%6.4f;\r\n", j, c.a, -c.d);
    }
    if (text.size() > TEXT_CAPACITY) text.resize(TEXT_CAPACITY);
    return text;
}

void copyAproxText(const SignalParameters& list) {
    if (Clipboard* board = clipboard()) board->setText(aproxCopyText(list));
}
