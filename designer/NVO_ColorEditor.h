#pragma once

// Colour properties of the controls are stored as TColor numbers, so that a form can
// name a system colour ("Button face") that follows the palette at run time. Designer
// knows no editor for such a number and shows it raw. Rather than turn the properties
// into QColor (which would drop the system colours and change what forms store), the
// plugin adds an "Edit Colours..." entry to each control's context menu: a dialog with
// a colour picker and the list of named and system colours for every colour property.
// The values it sets are the same numbers the property sheet shows, so forms, undo and
// QUiLoader are untouched.

#include <QtCore/QList>
#include <QtCore/QMap>
#include <QtCore/QStringList>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>
#include <QtWidgets/QDialog>

#include <memory>

namespace nvo::designer {

/// The names of `object`'s writable colour properties, in declaration order. TColor is
/// a plain unsigned number to the meta-object system, so a colour property is known by
/// the library's naming rule: an unsigned property with "Color" in its name.
QStringList ColorPropertyNames(const QObject *object);

/// One row per colour property of a control: a swatch that opens a colour picker and
/// a list of the named and system colours. Nothing is written to the control; the
/// caller applies ChangedColors() (Designer through its undoable property commands).
class TColorPropertiesDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TColorPropertiesDialog(QWidget *control, QWidget *parent = nullptr);
    ~TColorPropertiesDialog() override;

    /// The properties whose colour the user changed, with their new values.
    QMap<QString, quint32> ChangedColors() const;
    /// Sets the colour of a listed property as the picker or the list would.
    void ChooseColor(const QString &property, quint32 color);

private:
    struct Private;
    const std::unique_ptr<Private> d;
};

/// The context-menu entry that opens the dialog for a control on a form.
class TColorTaskMenu : public QObject, public QDesignerTaskMenuExtension
{
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)

public:
    TColorTaskMenu(QWidget *control, QObject *parent);

    QAction *preferredEditAction() const override { return nullptr; }
    QList<QAction *> taskActions() const override { return {FEditColors}; }

private:
    void EditColors();

    QWidget *const FControl;
    QAction *const FEditColors;
};

/// Offers the task menu for every widget that has colour properties.
class TColorTaskMenuFactory : public QExtensionFactory
{
    Q_OBJECT

public:
    explicit TColorTaskMenuFactory(QExtensionManager *parent);

protected:
    QObject *createExtension(QObject *object, const QString &iid, QObject *parent) const override;
};

} // namespace nvo::designer
