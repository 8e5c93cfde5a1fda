#pragma once

#include <QDialog>
#include <memory>

#include "offscreen/background_panel.h"
#include "offscreen/image_buttons.h"
#include "offscreen/offscreen_control.h"

class QShowEvent;

namespace tavrola {

// The program's one window; its run is the program's run.
class CTavrolaAppDlg : public QDialog {
    Q_OBJECT

  public:
    // The client area the designed 555 x 600 outer frame leaves.
    static constexpr int kClientWidth = 549;
    static constexpr int kClientHeight = 569;

    explicit CTavrolaAppDlg(QWidget* parent = nullptr);
    ~CTavrolaAppDlg() override;

    ImageButtonSet& Buttons() { return *button_set_; }
    const BackgroundPanel& Panel() const { return *panel_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // The window's face: the panel first, so that every button lies above it.
    COffScreenControl background_panel_control_{this};
    COffScreenControl start_button_control_{this, COffScreenControl::MouseStyle::kNotify};
    COffScreenControl exit_button_control_{this, COffScreenControl::MouseStyle::kNotify};
    COffScreenControl instrument_button_control_{this, COffScreenControl::MouseStyle::kNotify};
    COffScreenControl data_button_control_{this, COffScreenControl::MouseStyle::kNotify};
    COffScreenControl algorithm_button_control_{this, COffScreenControl::MouseStyle::kNotify};
    COffScreenControl help_button_control_{this, COffScreenControl::MouseStyle::kNotify};
    std::unique_ptr<BackgroundPanel> panel_;
    std::unique_ptr<ImageButtonSet> button_set_;
};

}  // namespace tavrola
