#include "Editors.h"

#include "NVO_Errors.h"

#include <QtCore/QMetaProperty>
#include <QtCore/QSignalBlocker>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QColorDialog>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDoubleSpinBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QSlider>
#include <QtWidgets/QSpinBox>

namespace gallery {

namespace {

/// Writes through the control's setter. A setter that throws (a timer that cannot
/// start, say) reaches the application's exception handler instead of Qt's event
/// loop, which would end the program.
bool WriteProperty(QObject *target, const char *property, const QVariant &value)
{
    bool written = false;
    nvo::Guarded([&] { written = target->setProperty(property, value); });
    return written;
}

QMetaProperty FindProperty(const QObject *target, const char *property)
{
    const QMetaObject *meta = target->metaObject();
    const int index = meta->indexOfProperty(property);
    return index < 0 ? QMetaProperty() : meta->property(index);
}

QWidget *EnumEditor(QObject *target, const char *property, const QMetaEnum &meta)
{
    auto *combo = new QComboBox;
    for (int i = 0; i < meta.keyCount(); ++i)
        combo->addItem(QString::fromLatin1(meta.key(i)), meta.value(i));
    const auto show = [=] {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(combo->findData(target->property(property).toInt()));
    };
    show();
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [=](int index) {
        // An int converts to most enum properties; the key covers the rest.
        if (!WriteProperty(target, property, combo->itemData(index)))
            WriteProperty(target, property, combo->itemText(index));
        show();
    });
    return combo;
}

QWidget *BoolEditor(QObject *target, const char *property)
{
    auto *box = new QCheckBox;
    box->setChecked(target->property(property).toBool());
    QObject::connect(box, &QCheckBox::toggled, box, [=](bool checked) {
        WriteProperty(target, property, checked);
        const QSignalBlocker block(box);
        box->setChecked(target->property(property).toBool());
    });
    return box;
}

QWidget *TextEditor(QObject *target, const char *property)
{
    auto *edit = new QLineEdit(target->property(property).toString());
    QObject::connect(edit, &QLineEdit::textEdited, edit,
                     [=](const QString &text) { WriteProperty(target, property, text); });
    return edit;
}

QWidget *DoubleEditor(QObject *target, const char *property)
{
    auto *spin = new QDoubleSpinBox;
    spin->setRange(-1e9, 1e9);
    spin->setDecimals(6);
    spin->setValue(target->property(property).toDouble());
    QObject::connect(spin, &QDoubleSpinBox::valueChanged, spin,
                     [=](double value) { WriteProperty(target, property, value); });
    return spin;
}

QWidget *ColorEditor(QObject *target, const char *property)
{
    auto *button = new TColorButton(target->property(property).toUInt());
    button->OnPicked = [=](nvo::TColor color) {
        WriteProperty(target, property, QVariant::fromValue<nvo::TColor>(color));
        button->SetColor(target->property(property).toUInt());
    };
    return button;
}

QString ColorText(nvo::TColor color)
{
    if (nvo::IsSystemColor(color))
        return QStringLiteral("system %1").arg(color & 0xFF, 2, 16, QLatin1Char('0'));
    return QStringLiteral("#%1%2%3")
        .arg(nvo::GetRValue(color), 2, 16, QLatin1Char('0'))
        .arg(nvo::GetGValue(color), 2, 16, QLatin1Char('0'))
        .arg(nvo::GetBValue(color), 2, 16, QLatin1Char('0'));
}

} // namespace

QMetaEnum PropertyEnum(const QObject *target, const char *property)
{
    const QMetaProperty meta = FindProperty(target, property);
    if (!meta.isValid())
        return {};
    if (meta.isEnumType() && meta.enumerator().isValid())
        return meta.enumerator();
    // An enum of a Q_NAMESPACE: its metatype knows the namespace's meta-object.
    if (const QMetaObject *scope = meta.metaType().metaObject()) {
        const QByteArray typeName = meta.metaType().name();
        const qsizetype scopeEnd = typeName.lastIndexOf("::");
        const QByteArray enumName = scopeEnd < 0 ? typeName : typeName.mid(scopeEnd + 2);
        if (const int index = scope->indexOfEnumerator(enumName.constData()); index >= 0)
            return scope->enumerator(index);
    }
    return {};
}

QWidget *PropertyEditor(QObject *target, const char *property)
{
    const QMetaProperty meta = FindProperty(target, property);
    if (!meta.isValid())
        return nullptr;
    if (const QMetaEnum enumeration = PropertyEnum(target, property); enumeration.isValid())
        return EnumEditor(target, property, enumeration);
    switch (meta.metaType().id()) {
    case QMetaType::Bool: return BoolEditor(target, property);
    case QMetaType::Int: return IntPropertyEditor(target, property, -9999, 9999);
    case QMetaType::Double: return DoubleEditor(target, property);
    case QMetaType::QString: return TextEditor(target, property);
    case QMetaType::UInt:
        if (QByteArray(property).startsWith("Color"))
            return ColorEditor(target, property);
        break;
    default: break;
    }
    return nullptr;
}

QWidget *IntPropertyEditor(QObject *target, const char *property, int min, int max)
{
    auto *spin = new QSpinBox;
    spin->setRange(min, max);
    spin->setValue(target->property(property).toInt());
    QObject::connect(spin, &QSpinBox::valueChanged, spin, [=](int value) {
        WriteProperty(target, property, value);
        const QSignalBlocker block(spin);
        spin->setValue(target->property(property).toInt());
    });
    return spin;
}

QWidget *SliderPropertyEditor(QObject *target, const char *property, double min, double max)
{
    // The slider moves in hundredths of the range; the spin box takes exact values.
    constexpr int kSteps = 1000;
    auto *editor = new QWidget;
    auto *slider = new QSlider(Qt::Horizontal);
    auto *spin = new QDoubleSpinBox;
    slider->setRange(0, kSteps);
    slider->setMinimumWidth(100);
    spin->setRange(min, max);
    spin->setDecimals(4);
    auto *layout = new QHBoxLayout(editor);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(slider, 1);
    layout->addWidget(spin);

    const auto toSlider = [=](double value) { return qRound((value - min) / (max - min) * kSteps); };
    const auto showOnSlider = [=] {
        const QSignalBlocker blockSlider(slider);
        slider->setValue(toSlider(target->property(property).toDouble()));
    };
    const auto show = [=] {
        showOnSlider();
        const QSignalBlocker blockSpin(spin);
        spin->setValue(target->property(property).toDouble());
    };
    show();
    QObject::connect(slider, &QSlider::valueChanged, editor, [=](int step) {
        WriteProperty(target, property, min + (max - min) * step / kSteps);
        show();
    });
    // While the user types, the spin box keeps the text being typed ("12." must not
    // become "12.0000"); it shows what the control made of it when the editing ends.
    QObject::connect(spin, &QDoubleSpinBox::valueChanged, editor, [=](double value) {
        WriteProperty(target, property, value);
        showOnSlider();
    });
    QObject::connect(spin, &QDoubleSpinBox::editingFinished, editor, show);
    return editor;
}

TColorButton::TColorButton(nvo::TColor color, QWidget *parent) : QPushButton(parent), FColor(color)
{
    ShowColor();
    connect(this, &QPushButton::clicked, this, &TColorButton::Pick);
}

void TColorButton::SetColor(nvo::TColor color)
{
    FColor = color;
    ShowColor();
}

void TColorButton::ShowColor()
{
    QPixmap swatch(16, 16);
    swatch.fill(nvo::ToQColor(FColor, palette()));
    QPainter(&swatch).drawRect(0, 0, 15, 15);
    setIcon(swatch);
    setText(ColorText(FColor));
}

void TColorButton::Pick()
{
    const QColor picked = QColorDialog::getColor(nvo::ToQColor(FColor, palette()), this);
    if (picked.isValid() && OnPicked)
        OnPicked(nvo::FromQColor(picked));
}

} // namespace gallery
