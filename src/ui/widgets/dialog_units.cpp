#include "ui/widgets/dialog_units.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
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

int Scale(int units, double base, int per) {
    return static_cast<int>(std::lround(units * base / per));
}

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

QFont DialogFont(int point_size) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(point_size);
    font.setFamilies({font.family(), QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("Noto Sans CJK JP")});
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {static_cast<double>((letters / 26 + 1) / 2), static_cast<double>(metrics.height())};
}

QRect ToPixels(const DialogBaseUnits& units, const DialogRect& rect) {
    const int left = Scale(rect.x, units.x, 4);
    const int top = Scale(rect.y, units.y, 8);
    const int right = Scale(rect.x + rect.width, units.x, 4);
    const int bottom = Scale(rect.y + rect.height, units.y, 8);
    return {left, top, right - left, bottom - top};
}

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
