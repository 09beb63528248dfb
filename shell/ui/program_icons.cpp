#include "shell/ui/program_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap blankImage() {
    QPixmap image(TOOLBAR_IMAGE_WIDTH, TOOLBAR_IMAGE_HEIGHT);
    image.fill(Qt::transparent);
    return image;
}

void drawOpen(QPainter& p) {
    // A folder with its lid open.
    p.setPen(QColor(96, 64, 0));
    p.setBrush(QColor(230, 190, 80));
    p.drawRect(1, 4, 11, 8);
    p.setBrush(QColor(250, 220, 120));
    p.drawPolygon(QPolygon({{1, 12}, {4, 7}, {15, 7}, {12, 12}}));
    p.drawLine(2, 4, 4, 2);
    p.drawLine(4, 2, 7, 2);
}

void drawSaveAs(QPainter& p) {
    // A diskette.
    p.setPen(Qt::black);
    p.setBrush(QColor(40, 70, 150));
    p.drawRect(1, 1, 13, 12);
    p.setBrush(Qt::white);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(QColor(190, 190, 190));
    p.drawRect(4, 9, 7, 4);
}

void drawInfo(QPainter& p) {
    // An "i" in a blue disc.
    p.setPen(QColor(0, 40, 140));
    p.setBrush(QColor(60, 110, 220));
    p.drawEllipse(1, 0, 13, 13);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(7, 3, 2, 2);
    p.drawRect(7, 6, 2, 5);
}

void drawCopy(QPainter& p) {
    // Two sheets, one over the other.
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 8, 9);
    p.drawRect(6, 4, 8, 10);
    p.setPen(QColor(120, 120, 120));
    for (int y = 7; y <= 11; y += 2)
        p.drawLine(8, y, 12, y);
}

// A wave over a coloured square: the windows differ by colour only.
QPixmap windowIconImage(const QColor& colour, int size) {
    QPixmap image(size, size);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour.darker(160));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1.0, size - 1.0), size / 8.0, size / 8.0);
    QPainterPath wave;
    const double mid = size / 2.0;
    const double amplitude = size / 4.0;
    wave.moveTo(size * 0.1, mid);
    wave.cubicTo(size * 0.3, mid - amplitude * 2, size * 0.4, mid - amplitude * 2, size * 0.5, mid);
    wave.cubicTo(size * 0.6, mid + amplitude * 2, size * 0.7, mid + amplitude * 2, size * 0.9, mid);
    p.setPen(QPen(Qt::white, size / 12.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
    return image;
}

QColor iconColour(int resourceId) {
    switch (resourceId) {
    case ICON_MEASURE:
        return QColor(30, 120, 60);
    case ICON_FOURIER:
        return QColor(150, 60, 30);
    case ICON_KALMAN:
        return QColor(110, 40, 140);
    case ICON_GENERATOR:
        return QColor(160, 120, 0);
    default:
        return QColor(20, 80, 170);
    }
}

} // namespace

QPixmap toolbarImage(int index) {
    if (index < TOOLBAR_IMAGE_OPEN || index > TOOLBAR_IMAGE_COPY) return QPixmap();
    QPixmap image = blankImage();
    QPainter p(&image);
    switch (index) {
    case TOOLBAR_IMAGE_OPEN:
        drawOpen(p);
        break;
    case TOOLBAR_IMAGE_SAVE_AS:
        drawSaveAs(p);
        break;
    case TOOLBAR_IMAGE_INFO:
        drawInfo(p);
        break;
    case TOOLBAR_IMAGE_COPY:
        drawCopy(p);
        break;
    }
    return image;
}

QIcon programIcon(int resourceId) {
    QIcon icon;
    for (int size : {16, 32})
        icon.addPixmap(windowIconImage(iconColour(resourceId), size));
    return icon;
}
