#pragma once

#include <QAccessibleWidget>
#include <QStringList>

namespace tavrola {

class COffScreenControl;

// What screen readers see of an off-screen control: a notifying control is a push button whose
// press action clicks it, unavailable whenever a click would not reach it (disabled, or under a
// modal window); a silent control with a name is a picture; one without a name (the background
// panel) is decoration and stays hidden. The name and description are the widget's accessible
// ones, which the owners set.
class COffScreenAccessible : public QAccessibleWidget {
  public:
    explicit COffScreenAccessible(COffScreenControl* control);

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    // The press is queued, so the caller returns before any dialog the command opens; like the
    // click it makes, it does nothing on an unavailable button.
    void doAction(const QString& action_name) override;

  private:
    COffScreenControl* Control() const;
};

// Makes Qt's accessibility use COffScreenAccessible for every off-screen control; once is enough.
void InstallOffScreenAccessibility();

// Tells screen readers that the button became available or unavailable other than through its
// enabled state, which Qt reports itself.
void ReportAvailabilityChange(COffScreenControl& control);

}  // namespace tavrola
