#pragma once

// What assistive technology reads from a selector: its role, a name (the widget's
// accessible name, else a description of the control) and the selected value. A unit
// says what these are for its control by specialising TSelectorAccessibility, and
// installs the reading once, from its constructor, with InstallSelectorAccessibility.

#include <QtGui/QAccessible>
#include <QtWidgets/QAccessibleWidget>

namespace nvo {

/// For `Control`: `static constexpr QAccessible::Role Role`, `static QString
/// DefaultName()` and `static QString Value(const Control &)`.
template<class Control>
struct TSelectorAccessibility;

template<class Control>
class TSelectorAccessible : public QAccessibleWidget
{
    using Traits = TSelectorAccessibility<Control>;

public:
    explicit TSelectorAccessible(Control *control) : QAccessibleWidget(control, Traits::Role) {}

    QString text(QAccessible::Text t) const override
    {
        const auto &control = static_cast<const Control &>(*widget());
        switch (t) {
        case QAccessible::Name:
            return control.accessibleName().isEmpty() ? Traits::DefaultName() : control.accessibleName();
        case QAccessible::Value: return Traits::Value(control);
        default: return QAccessibleWidget::text(t);
        }
    }

    static QAccessibleInterface *Factory(const QString &, QObject *object)
    {
        auto *control = qobject_cast<Control *>(object);
        return control ? new TSelectorAccessible(control) : nullptr;
    }
};

template<class Control>
void InstallSelectorAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&TSelectorAccessible<Control>::Factory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace nvo
