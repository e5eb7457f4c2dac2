#pragma once

// What assistive technology reads from a control: its role, a name (the widget's
// accessible name, else what the control says of itself: a caption, a description of
// the control) and its value. A unit says what these are for its control by
// specialising TControlAccessibility, and installs the reading once, from its
// constructor, with InstallControlAccessibility.

#include <QtGui/QAccessible>
#include <QtWidgets/QAccessibleWidget>

namespace nvo {

/// For `Control`: `static constexpr QAccessible::Role Role`, `static QString
/// Name(const Control &)` and `static QString Value(const Control &)`.
template<class Control>
struct TControlAccessibility;

template<class Control>
class TControlAccessible : public QAccessibleWidget
{
    using Traits = TControlAccessibility<Control>;

public:
    explicit TControlAccessible(Control *control) : QAccessibleWidget(control, Traits::Role) {}

    QString text(QAccessible::Text t) const override
    {
        const auto &control = static_cast<const Control &>(*widget());
        switch (t) {
        case QAccessible::Name:
            return control.accessibleName().isEmpty() ? Traits::Name(control) : control.accessibleName();
        case QAccessible::Value: return Traits::Value(control);
        default: return QAccessibleWidget::text(t);
        }
    }

    static QAccessibleInterface *Factory(const QString &, QObject *object)
    {
        auto *control = qobject_cast<Control *>(object);
        return control ? new TControlAccessible(control) : nullptr;
    }
};

template<class Control>
void InstallControlAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&TControlAccessible<Control>::Factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace nvo
