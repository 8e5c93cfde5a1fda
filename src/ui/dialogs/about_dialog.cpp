#include "ui/dialogs/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QString>

#include "export/face/image_record.h"
#include "ui/widgets/dialog_units.h"

namespace tavrola {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("バージョン情報 TavrolaApp"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setWindowIcon(LoadProgramIcon());

    DialogTemplateLayout layout(this, 235, 55, DialogFont(9));

    auto* icon = new QLabel(this);
    icon->setPixmap(LoadProgramIcon().pixmap(32, 32));
    layout.Place(icon, {11, 17, 21, 20});

    auto* name = new QLabel(QStringLiteral("Tavrola Version " TAVROLA_VERSION), this);
    name->setTextFormat(Qt::PlainText);
    layout.Place(name, {40, 10, 119, 8});

    auto* line = new QLabel(tr("DNA の塩基配列を音楽とらせんに"), this);
    layout.Place(line, {40, 25, 119, 8});

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    SetControlId(ok, 1);
    layout.Place(ok, {178, 7, 50, 16});
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    layout.Apply();
    ok->setFocus();
}

}  // namespace tavrola
