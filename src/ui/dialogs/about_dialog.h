#pragma once

#include <QDialog>

namespace tavrola {

// "バージョン情報 TavrolaApp": the program's icon, name and version, and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kTemplateId = 100;

    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace tavrola
