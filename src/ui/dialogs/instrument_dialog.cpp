#include "ui/dialogs/instrument_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QString>

#include "core/music/program_names.h"
#include "core/services/refusal_tone.h"
#include "export/face/designed_texts.h"
#include "ui/widgets/dialog_units.h"

namespace tavrola {

namespace {

QComboBox* MakeInstrumentList(QWidget* parent, int id) {
    auto* list = new QComboBox(parent);
    SetControlId(list, id);
    for (int program = 0; program < kProgramCount; ++program) {
        list->addItem(ShownDesignedText(ProgramName(program)));
    }
    list->addItem(ShownDesignedText(kSilentEntryName));
    return list;
}

QLabel* MakeLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    return label;
}

}  // namespace

CSettingDlg::CSettingDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Setting"));
    // A caption without a close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    DialogTemplateLayout layout(this, 186, 90);
    // Created in the template's order, which is also the tab order.
    ok_button_ = new QPushButton(QStringLiteral("OK"), this);
    SetControlId(ok_button_, 1);
    ok_button_->setDefault(true);
    layout.Place(ok_button_, {69, 69, 50, 14});
    right_list_ = MakeInstrumentList(this, kRightListId);
    layout.Place(right_list_, {76, 7, 94, 76});
    layout.Place(MakeLabel(this, tr("右配列の音色")), {7, 7, 64, 14});
    layout.Place(MakeLabel(this, tr("左配列の音色")), {7, 26, 64, 14});
    left_list_ = MakeInstrumentList(this, kLeftListId);
    layout.Place(left_list_, {76, 26, 94, 76});
    layout.Apply();

    setTabOrder(ok_button_, right_list_);
    setTabOrder(right_list_, left_list_);
    connect(ok_button_, &QPushButton::clicked, this, &CSettingDlg::accept);
}

void CSettingDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (filled_) {
        return;
    }
    filled_ = true;
    right_list_->setCurrentIndex(InstrumentEntry(right_instrument));
    left_list_->setCurrentIndex(InstrumentEntry(left_instrument));
    ok_button_->setFocus();
}

void CSettingDlg::accept() {
    const std::int32_t right = EntryInstrument(right_list_->currentIndex());
    const std::int32_t left = EntryInstrument(left_list_->currentIndex());
    if (right == kSilentInstrument && left == kSilentInstrument) {
        SoundRefusalTone();
        return;
    }
    right_instrument = right;
    left_instrument = left;
    QDialog::accept();
}

}  // namespace tavrola
