#include "ui/widgets/dialog_units.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QVariant>
#include <algorithm>
#include <cmath>

namespace tavrola {

namespace {

constexpr char kControlIdProperty[] = "tavrolaControlId";

// The size a control's text needs to show whole, or an empty size for controls without a text
// that must fit (text boxes and spin fields scroll).
QSize TextNeeds(QWidget* control) {
    if (auto* label = qobject_cast<QLabel*>(control)) {
        return label->minimumSizeHint();
    }
    if (auto* check = qobject_cast<QCheckBox*>(control)) {
        return check->sizeHint();
    }
    if (auto* button = qobject_cast<QPushButton*>(control)) {
        // Only the text and the frame: styles also ask for a minimum width the template
        // buttons were never meant to have.
        const QFontMetrics metrics(button->font());
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        const int frame =
            button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        return {metrics.horizontalAdvance(button->text()) + 2 * (margin + frame),
                metrics.height() + 2 * frame};
    }
    if (auto* list = qobject_cast<QComboBox*>(control)) {
        // Every entry shows whole in the closed list, not only the selected one.
        return {list->sizeHint().width(), 0};
    }
    return {};
}

}  // namespace

void SetControlId(QWidget* control, int id) {
    control->setProperty(kControlIdProperty, id);
}

QWidget* FindControl(const QWidget* dialog, int id) {
    const auto children = dialog->findChildren<QWidget*>();
    for (QWidget* child : children) {
        const QVariant value = child->property(kControlIdProperty);
        if (value.isValid() && value.toInt() == id) {
            return child;
        }
    }
    return nullptr;
}

DialogTemplateLayout::DialogTemplateLayout(QDialog* dialog, int width, int height,
                                           const QFont& font)
    : dialog_(dialog), width_(width), height_(height) {
    dialog_->setFont(font);
}

void DialogTemplateLayout::Place(QWidget* control, DialogRect rect) {
    placed_.push_back({control, rect});
}

DialogBaseUnits DialogTemplateLayout::Apply() {
    DialogBaseUnits units = BaseUnitsOf(dialog_->font());
    for (const Placed& placed : placed_) {
        const QSize needs = TextNeeds(placed.control);
        if (needs.width() > 0 && placed.rect.width > 0) {
            units.x = std::max(units.x, std::ceil(4.0 * (needs.width() + 1) / placed.rect.width));
        }
        if (needs.height() > 0 && placed.rect.height > 0) {
            units.y = std::max(units.y, std::ceil(8.0 * (needs.height() + 1) / placed.rect.height));
        }
    }
    for (const Placed& placed : placed_) {
        QRect pixels = ToPixels(units, placed.rect);
        if (auto* list = qobject_cast<QComboBox*>(placed.control)) {
            const int closed = list->sizeHint().height();
            const int entry = std::max(1, list->view()->sizeHintForRow(0));
            list->setMaxVisibleItems(std::max(1, (pixels.height() - closed) / entry));
            pixels.setHeight(closed);
        }
        placed.control->setGeometry(pixels);
    }
    dialog_->setFixedSize(ToPixels(units, {0, 0, width_, height_}).size());
    return units;
}

}  // namespace tavrola
