#include "ui/widgets/spin_field.h"

#include <QAccessible>
#include <QChar>
#include <QLineEdit>
#include <QLocale>

#include <algorithm>
#include <optional>

namespace tavrola {

namespace {

// Far past every range, and far from overflowing as more digits come.
constexpr long long kLargestRead = 1'000'000'000'000'000;

struct TypedNumber {
    bool well_formed = true;          // holds only what a typed number may hold
    std::optional<long long> number;  // when it holds a digit
};

// Reads what a user types or pastes: digits of any script (a Japanese input method gives
// full-width ones), thousands separators and blanks anywhere, one sign before the digits.
TypedNumber ReadTyped(const QString& text, const QString& group_separator) {
    long long magnitude = 0;
    bool negative = false;
    bool any_digit = false;
    bool any_sign = false;
    for (const QChar c : text) {
        if (c.isDigit()) {
            magnitude = std::min(magnitude * 10 + c.digitValue(), kLargestRead);
            any_digit = true;
        } else if (c.isSpace() || c == u',' || c == u'，' || group_separator.contains(c)) {
            continue;
        } else if ((c == u'-' || c == u'+') && !any_digit && !any_sign) {
            negative = c == u'-';
            any_sign = true;
        } else {
            return {.well_formed = false, .number = std::nullopt};
        }
    }
    if (!any_digit) {
        return {};
    }
    return {.well_formed = true, .number = negative ? -magnitude : magnitude};
}

QString WithThousandsSeparators(QLocale locale, int position) {
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale.toString(position);
}

}  // namespace

SpinField::SpinField(QWidget* parent) : QAbstractSpinBox(parent) {
    setInputMethodHints(Qt::ImhDigitsOnly);
    // The arrows grey out at the ends of what the text reads as.
    connect(lineEdit(), &QLineEdit::textChanged, this, qOverload<>(&QWidget::update));
}

void SpinField::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    shown_ = std::clamp(shown_, minimum_, maximum_);
    update();
}

int SpinField::value() const {
    const TypedNumber typed = ReadTyped(text(), locale().groupSeparator());
    if (!typed.number) {
        return shown_;
    }
    return static_cast<int>(std::clamp<long long>(*typed.number, minimum_, maximum_));
}

void SpinField::setValue(int position) {
    shown_ = std::clamp(position, minimum_, maximum_);
    lineEdit()->setText(WithThousandsSeparators(locale(), shown_));
    QAccessibleValueChangeEvent changed(this, shown_);
    QAccessible::updateAccessibility(&changed);
}

void SpinField::stepBy(int steps) {
    const long long next = static_cast<long long>(value()) + steps;
    setValue(static_cast<int>(std::clamp<long long>(next, minimum_, maximum_)));
    selectAll();
}

QValidator::State SpinField::validate(QString& text, int& /*position*/) const {
    const TypedNumber typed = ReadTyped(text, locale().groupSeparator());
    if (!typed.well_formed) {
        return QValidator::Invalid;
    }
    return typed.number ? QValidator::Acceptable : QValidator::Intermediate;
}

QAbstractSpinBox::StepEnabled SpinField::stepEnabled() const {
    if (isReadOnly()) {
        return StepNone;
    }
    const int position = value();
    StepEnabled enabled = StepNone;
    if (position < maximum_) {
        enabled |= StepUpEnabled;
    }
    if (position > minimum_) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}

}  // namespace tavrola
