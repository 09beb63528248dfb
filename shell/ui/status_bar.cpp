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
    if (part >= 0 && part < 3) parts_[part]->setText(text);
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

void CStatusBar::placeParts() {
    // Edges left of the previous one (a very narrow frame) give an empty part.
    int left = 0;
    for (int i = 0; i < 3; ++i) {
        int right = i < 2 ? std::max(edges_[i], left) : std::max(width(), left);
        parts_[i]->setGeometry(left, 0, right - left, height());
        left = right;
    }
}
