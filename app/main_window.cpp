#include "app/main_window.h"

#include <QString>

namespace tavrola {

CTavrolaAppDlg::CTavrolaAppDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Tavrola"));
    setFixedSize(kClientWidth, kClientHeight);
    move(0, 0);
}

}  // namespace tavrola
