#include "app/main_window.h"

#include <QShowEvent>
#include <QString>

#include "offscreen/image_record.h"
#include "resources/resource_ids.h"

namespace tavrola {
namespace {

struct TextButton {
    int key;
    int top;
    const char16_t* label;
};

// The five text buttons, in the order they are added, each 115 x 32 at x 415. The labels carry
// their own spaces for their place on the bar.
constexpr TextButton kTextButtons[] = {
    {1, 10, u"　　データ　　"},     {2, 60, u"　　開　始　　"},   {3, 110, u"　　音　色　　"},
    {4, 160, u" アルゴリズム　　"}, {5, 260, u" 　　ヘルプ　　"},
};

}  // namespace

CTavrolaAppDlg::CTavrolaAppDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Tavrola"));
    setWindowIcon(LoadProgramIcon());
    setFixedSize(kClientWidth, kClientHeight);
    move(0, 0);

    panel_ = CreateBackgroundPanel(ClientRect{0, 0, kClientWidth, kClientHeight},
                                   background_panel_control_);
    button_set_ = CreateImageButtonSet(ClientRect{480, 500, 540, 560}, exit_button_control_,
                                       QString(), kExitReleasedBitmap, kExitPressedBitmap, 0);
    COffScreenControl* const text_controls[] = {&data_button_control_, &start_button_control_,
                                                &instrument_button_control_,
                                                &algorithm_button_control_, &help_button_control_};
    for (std::size_t i = 0; i < std::size(kTextButtons); ++i) {
        const TextButton& button = kTextButtons[i];
        button_set_->AddImageButton(ClientRect{415, button.top, 530, button.top + 32},
                                    QString::fromUtf16(button.label), kTextBarReleasedBitmap,
                                    kTextBarPressedBitmap, button.key, *text_controls[i]);
    }
    // Start waits for a sequence.
    button_set_->EnableImageButton(2, false);
}

CTavrolaAppDlg::~CTavrolaAppDlg() {
    button_set_->DestroyImageButtons();
    panel_->DestroyBackgroundPanel();
}

void CTavrolaAppDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Everything was drawn during construction; now that the controls can be seen, show it.
    PresentOffScreen(panel_->Surface(), background_panel_control_);
    button_set_->PresentImageButtons();
}

}  // namespace tavrola
