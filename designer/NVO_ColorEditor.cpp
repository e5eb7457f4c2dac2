#include "NVO_ColorEditor.h"

#include "NVO_Color.h"
#include "NVO_Corvane.h"

#include <QtCore/QMetaProperty>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtGui/QAction>
#include <QtGui/QPixmap>
#include <QtWidgets/QColorDialog>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

#include <vector>

namespace nvo::designer {

QStringList ColorPropertyNames(const QObject *object)
{
    QStringList names;
    const QMetaObject *meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (property.isWritable() && property.metaType() == QMetaType::fromType<TColor>()
            && QByteArrayView(property.name()).contains("Color"))
            names.append(QString::fromLatin1(property.name()));
    }
    return names;
}

namespace {

/// One colour property: its swatch, its list of named colours and its value.
struct TColorRow {
    QString Property;
    TColor Original = 0;
    TColor Value = 0;
    QToolButton *Swatch = nullptr;
    QComboBox *Names = nullptr;
};

QIcon SwatchIcon(TColor color, const QPalette &palette)
{
    QPixmap swatch(32, 16);
    swatch.fill(ToQColor(color, palette));
    return QIcon(swatch);
}

} // namespace

struct TColorPropertiesDialog::Private {
    QPalette ControlPalette;
    std::vector<TColorRow> Rows;

    TColorRow *Find(const QString &property)
    {
        for (TColorRow &row : Rows)
            if (row.Property == property)
                return &row;
        return nullptr;
    }

    /// Shows `row`'s value in its swatch and its list; a colour without a name joins
    /// the list under its number, so the list always names what is set.
    void Show(TColorRow &row)
    {
        row.Swatch->setIcon(SwatchIcon(row.Value, ControlPalette));
        int at = row.Names->findData(row.Value);
        if (at < 0) {
            row.Names->addItem(SwatchIcon(row.Value, ControlPalette), ColorToString(row.Value), row.Value);
            at = row.Names->count() - 1;
        }
        const QSignalBlocker quiet(row.Names);
        row.Names->setCurrentIndex(at);
    }
};

TColorPropertiesDialog::TColorPropertiesDialog(QWidget *control, QWidget *parent)
    : QDialog(parent), d(std::make_unique<Private>())
{
    setWindowTitle(tr("Edit Colours of %1").arg(control->objectName()));
    d->ControlPalette = control->palette();
    auto *form = new QFormLayout;
    for (const QString &property : ColorPropertyNames(control)) {
        const TColor value = control->property(property.toLatin1().constData()).value<TColor>();
        TColorRow row{property, value, value, new QToolButton(this), new QComboBox(this)};
        row.Swatch->setToolTip(tr("Choose a colour"));
        row.Swatch->setIconSize(QSize(32, 16));
        for (int index = 1; index <= NrOfPredefinedColors; ++index) {
            const TColor named = PredefinedColor(index);
            row.Names->addItem(SwatchIcon(named, d->ControlPalette), PredefinedColorName(index), named);
        }
        connect(row.Swatch, &QToolButton::clicked, this, [this, property] {
            const TColorRow *current = d->Find(property);
            const QColor picked = QColorDialog::getColor(ToQColor(current->Value, d->ControlPalette), this,
                                                         tr("Colour of %1").arg(property));
            if (picked.isValid())
                ChooseColor(property, FromQColor(picked));
        });
        connect(row.Names, &QComboBox::activated, this, [this, property](int index) {
            ChooseColor(property, d->Find(property)->Names->itemData(index).value<TColor>());
        });
        auto *editors = new QHBoxLayout;
        editors->addWidget(row.Swatch);
        editors->addWidget(row.Names, 1);
        form->addRow(property, editors);
        d->Rows.push_back(row);
        d->Show(d->Rows.back());
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

TColorPropertiesDialog::~TColorPropertiesDialog() = default;

QMap<QString, quint32> TColorPropertiesDialog::ChangedColors() const
{
    QMap<QString, quint32> changed;
    for (const TColorRow &row : d->Rows)
        if (row.Value != row.Original)
            changed.insert(row.Property, row.Value);
    return changed;
}

void TColorPropertiesDialog::ChooseColor(const QString &property, quint32 color)
{
    if (TColorRow *row = d->Find(property)) {
        row->Value = color;
        d->Show(*row);
    }
}

TColorTaskMenu::TColorTaskMenu(QWidget *control, QObject *parent)
    : QObject(parent), FControl(control), FEditColors(new QAction(tr("Edit Colours..."), this))
{
    connect(FEditColors, &QAction::triggered, this, &TColorTaskMenu::EditColors);
}

void TColorTaskMenu::EditColors()
{
    QDesignerFormWindowInterface *formWindow = QDesignerFormWindowInterface::findFormWindow(FControl);
    TColorPropertiesDialog dialog(FControl, formWindow);
    if (dialog.exec() != QDialog::Accepted || !formWindow)
        return;
    // Through the form's cursor, so that each change is one undoable step and the
    // property sheet shows it.
    const QMap<QString, quint32> changed = dialog.ChangedColors();
    for (auto it = changed.cbegin(); it != changed.cend(); ++it)
        formWindow->cursor()->setWidgetProperty(FControl, it.key(), QVariant::fromValue(it.value()));
}

TColorTaskMenuFactory::TColorTaskMenuFactory(QExtensionManager *parent) : QExtensionFactory(parent) {}

QObject *TColorTaskMenuFactory::createExtension(QObject *object, const QString &iid, QObject *parent) const
{
    // Only the library's own controls: a form's other widgets keep their menus as they are.
    auto *control = qobject_cast<QWidget *>(object);
    if (!control || iid != Q_TYPEID(QDesignerTaskMenuExtension)
        || !QByteArrayView(control->metaObject()->className()).startsWith("nvo::")
        || ColorPropertyNames(control).isEmpty())
        return nullptr;
    return new TColorTaskMenu(control, parent);
}

} // namespace nvo::designer
