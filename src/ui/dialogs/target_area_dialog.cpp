#include "ui/dialogs/target_area_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QString>

#include "core/services/user_message.h"
#include "ui/widgets/dialog_units.h"
#include "ui/widgets/spin_field.h"

namespace tavrola {

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& text, Qt::Alignment alignment) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    return label;
}

// An edit field with its up-down control attached at its right edge: thousands separators,
// arrow keys, no wrapping; what is typed stays as typed until OK reads it.
SpinField* MakePositionField(QWidget* parent, int id) {
    auto* field = new SpinField(parent);
    SetControlId(field, id);
    field->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return field;
}

}  // namespace

CTargetAreaDlg::CTargetAreaDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Target Area"));
    // A caption without a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    DialogTemplateLayout layout(this, 186, 90);
    // Created in the template's order, which is also the tab order.
    layout.Place(
        MakeLabel(this, tr("データが長すぎます。読み込む範囲を指定してくだい。"), Qt::AlignLeft),
        {7, 7, 172, 13});
    layout.Place(MakeLabel(this, tr("開始"), Qt::AlignHCenter), {22, 24, 54, 13});
    start_field_ = MakePositionField(this, kStartFieldId);
    layout.Place(start_field_, {22, 38, 54, 19});
    //: The last position of the range to read.
    layout.Place(MakeLabel(this, tr("終了"), Qt::AlignHCenter), {104, 23, 54, 13});
    end_field_ = MakePositionField(this, kEndFieldId);
    layout.Place(end_field_, {104, 36, 54, 19});
    ok_button_ = new QPushButton(QStringLiteral("OK"), this);
    SetControlId(ok_button_, 1);
    ok_button_->setDefault(true);
    layout.Place(ok_button_, {76, 69, 50, 14});
    layout.Apply();

    setTabOrder(start_field_, end_field_);
    setTabOrder(end_field_, ok_button_);
    connect(ok_button_, &QPushButton::clicked, this, &CTargetAreaDlg::accept);
}

void CTargetAreaDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (filled_) {
        return;
    }
    filled_ = true;
    const SpinRange start_range = StartSpinRange(size);
    const SpinRange end_range = EndSpinRange(size);
    start_field_->setRange(start_range.low, start_range.high);
    end_field_->setRange(end_range.low, end_range.high);
    start_field_->setValue(start);
    end_field_->setValue(end);
    start_field_->setFocus();
    start_field_->selectAll();
}

void CTargetAreaDlg::accept() {
    // What is typed counts, a number beyond a field's range as its bound.
    const ReadRange range{start_field_->value(), end_field_->value()};
    const TargetAreaVerdict verdict = CheckTargetArea(range);
    if (verdict != TargetAreaVerdict::kAccepted) {
        ShowMessage(TargetAreaMessage(verdict));
        return;
    }
    start = range.start;
    end = range.end;
    QDialog::accept();
}

ReadRange AskTargetArea(QWidget* parent, ReadRange given, std::int32_t size) {
    CTargetAreaDlg dialog(parent);
    dialog.start = given.start;
    dialog.end = given.end;
    dialog.size = size;
    dialog.exec();
    return {dialog.start, dialog.end};
}

}  // namespace tavrola
