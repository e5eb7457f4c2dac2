#pragma once

// Live property editors: each one is bound to a property of a control by name,
// writes every change through setProperty and then shows the value the control
// actually stored, so that clamps (Precision 20 -> 15) are visible at once.

#include "NVO_Color.h"

#include <QtCore/QMetaEnum>
#include <QtWidgets/QPushButton>

#include <functional>

class QObject;
class QWidget;

namespace gallery {

/// An editor that fits the property's type: check box (bool), spin box (int,
/// double), line edit (string), combo box of the keys (enum), colour button
/// (TColor properties, whose names start with "Color"). nullptr when the
/// target has no such property.
QWidget *PropertyEditor(QObject *target, const char *property);
/// A spin box over [min, max] for an integer property; the range may exceed the
/// property's own, to show how the control clamps or ignores a value.
QWidget *IntPropertyEditor(QObject *target, const char *property, int min, int max);
/// A slider and a spin box, kept in step, for a floating-point property.
QWidget *SliderPropertyEditor(QObject *target, const char *property, double min, double max);

/// The enumeration behind an enum property, also when the enum is declared in
/// a namespace rather than in the control's class.
QMetaEnum PropertyEnum(const QObject *target, const char *property);

/// A button that shows a colour and lets the user pick another with QColorDialog.
class TColorButton : public QPushButton
{
    Q_OBJECT

public:
    explicit TColorButton(nvo::TColor color, QWidget *parent = nullptr);
    nvo::TColor Color() const { return FColor; }
    void SetColor(nvo::TColor color);
    std::function<void(nvo::TColor)> OnPicked;

private:
    void Pick();
    void ShowColor();

    nvo::TColor FColor;
};

} // namespace gallery
