#pragma once

#include <QAbstractSpinBox>
#include <QString>
#include <QValidator>

class QWidget;

namespace tavrola {

// A text field with its spin control at the right edge, as the dialogs' number fields are. It
// keeps exactly what is typed or pasted: digits (full-width ones too), thousands separators,
// blanks and a leading sign; nothing else gets in, and no digit is ever dropped. Its position
// is read from that text when asked: a number beyond the range as the range's bound, a text
// with no digit as the last position shown. The arrows (keys, buttons, wheel) step from what
// is read and stop at the ends; a position given or stepped to is shown with thousands
// separators.
class SpinField : public QAbstractSpinBox {
    Q_OBJECT
    // What screen readers read and set.
    Q_PROPERTY(int value READ value WRITE setValue)
    Q_PROPERTY(int minimum READ minimum)
    Q_PROPERTY(int maximum READ maximum)

  public:
    explicit SpinField(QWidget* parent = nullptr);

    // Leaves the text as it stands.
    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }

    // The position the text reads as, always within the range.
    int value() const;
    // Shows `position`, held to the range.
    void setValue(int position);

    void stepBy(int steps) override;
    QValidator::State validate(QString& text, int& position) const override;

  protected:
    StepEnabled stepEnabled() const override;

  private:
    int minimum_ = 0;
    int maximum_ = 99;
    int shown_ = 0;  // the last position shown
};

}  // namespace tavrola
