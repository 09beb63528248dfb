// The result window of "Analyse files...": one row per file, its analysis's
// parameters in columns and, for a file that could not be analysed, the
// reason in the last. File -> Save as writes the table as CSV.
#pragma once

#include <QString>

#include <string>
#include <vector>

#include "shell/ui/mdi_child_wnd.h"

class QTableWidget;

class CFileTableWnd : public CMDIChildWnd {
  public:
    // A child of class "KelvoKalmanClass", as the other results.
    bool Create(int x, int y, int width, int height, QWidget* parent, int style) override;
    int OnCreate(void* createData) override;
    void OnSize(int sizeType, int width, int height) override;
    // File -> Save as; the rest is nothing this window does.
    intptr_t OnCommand(int id, intptr_t param) override;

    // Shows `cells`, its first row the heading, and titles the window.
    void showTable(const std::vector<std::vector<std::string>>& cells, const QString& title);
    // Asks for a .csv name and writes the table there; false when nothing was written.
    bool saveAs();

    QTableWidget* table = nullptr;

  private:
    std::vector<std::vector<std::string>> cells_;
};
