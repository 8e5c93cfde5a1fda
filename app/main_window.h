#pragma once

#include <QDialog>

namespace tavrola {

// The program's one window; its run is the program's run.
class CTavrolaAppDlg : public QDialog {
    Q_OBJECT

  public:
    // The client area the designed 555 x 600 outer frame leaves.
    static constexpr int kClientWidth = 549;
    static constexpr int kClientHeight = 569;

    explicit CTavrolaAppDlg(QWidget* parent = nullptr);
};

}  // namespace tavrola
