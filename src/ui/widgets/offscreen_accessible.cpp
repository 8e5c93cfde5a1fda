#include "ui/widgets/offscreen_accessible.h"

#include <QAccessible>
#include <QMetaObject>
#include <QPointer>

#include "ui/widgets/offscreen_control.h"

namespace tavrola {
namespace {

QAccessible::Role RoleOf(const COffScreenControl* control) {
    if (control->Style() == COffScreenControl::MouseStyle::kNotify) {
        return QAccessible::Button;
    }
    return control->accessibleName().isEmpty() ? QAccessible::NoRole : QAccessible::Graphic;
}

QAccessibleInterface* MakeOffScreenAccessible(const QString& class_name, QObject* object) {
    if (class_name == QLatin1String(COffScreenControl::staticMetaObject.className())) {
        if (auto* control = qobject_cast<COffScreenControl*>(object)) {
            return new COffScreenAccessible(control);
        }
    }
    return nullptr;
}

}  // namespace

COffScreenAccessible::COffScreenAccessible(COffScreenControl* control)
    : QAccessibleWidget(control, RoleOf(control)) {}

COffScreenControl* COffScreenAccessible::Control() const {
    return static_cast<COffScreenControl*>(widget());
}

QAccessible::State COffScreenAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    if (role() == QAccessible::NoRole) {
        state.invisible = true;
    }
    if (role() == QAccessible::Button && !Control()->TakesClicks()) {
        state.disabled = true;
    }
    return state;
}

QStringList COffScreenAccessible::actionNames() const {
    QStringList names = QAccessibleWidget::actionNames();
    if (role() == QAccessible::Button) {
        names.prepend(pressAction());
    }
    return names;
}

void COffScreenAccessible::doAction(const QString& action_name) {
    if (action_name == pressAction() && role() == QAccessible::Button) {
        if (!Control()->TakesClicks()) {
            return;
        }
        // The click checks again when it runs: a modal window may have opened meanwhile.
        QPointer<COffScreenControl> control = Control();
        QMetaObject::invokeMethod(
            control,
            [control] {
                if (control) {
                    control->Click();
                }
            },
            Qt::QueuedConnection);
        return;
    }
    QAccessibleWidget::doAction(action_name);
}

void InstallOffScreenAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(MakeOffScreenAccessible);
        return true;
    }();
    static_cast<void>(installed);
}

void ReportAvailabilityChange(COffScreenControl& control) {
    QAccessible::State changed;
    changed.disabled = true;
    QAccessibleStateChangeEvent event(&control, changed);
    QAccessible::updateAccessibility(&event);
}

}  // namespace tavrola
