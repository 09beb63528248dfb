#include "shell/ui/status_bar.h"

#include <QLabel>

#include <algorithm>

CStatusBar::CStatusBar(QWidget* parent) : QWidget(parent) {
    for (QLabel*& part : parts_) {
        part = new QLabel(this);
        part->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        part->setIndent(3);
    }
}

void CStatusBar::setParts(int firstEdge, int secondEdge) {
    edges_[0] = firstEdge;
    edges_[1] = secondEdge;
    placeParts();
}

int CStatusBar::partEdge(int part) const {
    if (part == 0 || part == 1) return edges_[part];
    return width();
}

void CStatusBar::setText(int part, const QString& text) {
    if (part < 0 || part >= 3) return;
    parts_[part]->setText(text);
    placeParts();
}

QString CStatusBar::text(int part) const {
    return part >= 0 && part < 3 ? parts_[part]->text() : QString();
}

QSize CStatusBar::sizeHint() const {
    return QSize(400, fontMetrics().height() + 8);
}

void CStatusBar::resizeEvent(QResizeEvent*) {
    placeParts();
}

int CStatusBar::textWidth(int part) const {
    // The frame and the indent around the text.
    return parts_[part]->fontMetrics().horizontalAdvance(parts_[part]->text()) + 16;
}

void CStatusBar::placeParts() {
    // The edges the frame set, moved left where a readout or a block text
    // would not fit; edges left of the previous one (a very narrow frame)
    // give an empty part.
    int edges[2] = {edges_[0], edges_[1]};
    edges[1] = std::min(edges[1], width() - textWidth(2));
    edges[0] = std::min(edges[0], edges[1] - textWidth(1));
    int left = 0;
    for (int i = 0; i < 3; ++i) {
        int right = i < 2 ? std::max(edges[i], left) : std::max(width(), left);
        parts_[i]->setGeometry(left, 0, right - left, height());
        left = right;
    }
}
