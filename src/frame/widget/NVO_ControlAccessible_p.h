#pragma once

// What assistive technology reads from a control: its role, a name (the widget's
// accessible name or the text of a label that names it as its buddy, else what the
// control says of itself: a caption, a description of the control) and its value, and
// for a control that holds a number the value interface (current value, range, step).
// A unit says what these are for its control by specialising TControlAccessibility, and
// installs the reading once, from its constructor, with InstallControlAccessibility;
// given the NOTIFY signal of the control's main (USER) property, every change of it is
// announced as a value change.

#include <QtGui/QAccessible>
#include <QtWidgets/QAccessibleWidget>

namespace nvo {

/// For `Control`: `static constexpr QAccessible::Role Role`, `static QString
/// Name(const Control &)` and `static QString Value(const Control &)`. A numeric
/// control adds `static double Current(const Control &)`, `Minimum`, `Maximum` and
/// `Step` of the same form and `static void SetCurrent(Control &, double)`.
template<class Control>
struct TControlAccessibility;

template<class Control>
class TControlAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
    using Traits = TControlAccessibility<Control>;
    static constexpr bool Numeric = requires(const Control &c) { Traits::Current(c); };

public:
    explicit TControlAccessible(Control *control) : QAccessibleWidget(control, Traits::Role) {}

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: {
            const QString given = QAccessibleWidget::text(t);
            return given.isEmpty() ? Traits::Name(Self()) : given;
        }
        case QAccessible::Value: return Traits::Value(Self());
        default: return QAccessibleWidget::text(t);
        }
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if constexpr (Numeric)
            if (type == QAccessible::ValueInterface)
                return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override
    {
        if constexpr (Numeric)
            return Traits::Current(Self());
        return {};
    }
    void setCurrentValue(const QVariant &value) override
    {
        if constexpr (Numeric)
            Traits::SetCurrent(const_cast<Control &>(Self()), value.toDouble());
    }
    QVariant maximumValue() const override
    {
        if constexpr (Numeric)
            return Traits::Maximum(Self());
        return {};
    }
    QVariant minimumValue() const override
    {
        if constexpr (Numeric)
            return Traits::Minimum(Self());
        return {};
    }
    QVariant minimumStepSize() const override
    {
        if constexpr (Numeric)
            return Traits::Step(Self());
        return {};
    }

    static QAccessibleInterface *Factory(const QString &, QObject *object)
    {
        auto *control = qobject_cast<Control *>(object);
        return control ? new TControlAccessible(control) : nullptr;
    }

private:
    const Control &Self() const { return static_cast<const Control &>(*widget()); }
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

/// Tells assistive technology the current value of the control's main (USER) property,
/// as Qt's own value widgets do on every change.
void AnnounceValue(QObject *control);

/// Announces the value whenever `notify`, the NOTIFY signal of the main property, fires.
template<class Control, class Signal>
void AnnounceValueChanges(Control *control, Signal notify)
{
    QObject::connect(control, notify, control, [control] { AnnounceValue(control); });
}

/// The reading of a control whose main property has a NOTIFY signal: installed, and
/// its value changes announced.
template<class Control, class Signal>
void InstallControlAccessibility(Control *control, Signal notify)
{
    InstallControlAccessibility<Control>();
    AnnounceValueChanges(control, notify);
}

} // namespace nvo
