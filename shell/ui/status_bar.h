// The frame's status bar: three text parts whose right edges the frame sets;
// the readout and block parts widen leftwards when their texts need it.
#pragma once

#include <QWidget>

class QLabel;

class CStatusBar : public QWidget {
  public:
    explicit CStatusBar(QWidget* parent);

    // Right edges of parts 0 and 1; part 2 reaches the right end.
    void setParts(int firstEdge, int secondEdge);
    int partEdge(int part) const;
    void setText(int part, const QString& text);
    QString text(int part) const;

    QSize sizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* e) override;

  private:
    void placeParts();
    int textWidth(int part) const;

    QLabel* parts_[3];
    int edges_[2] = {0, 0};
};
