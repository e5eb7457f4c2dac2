#pragma once

#include "NVO_Catalogue.h"

#include <QtCore/QObject>
#include <QtCore/QSize>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace nvo::designer {

/// Designer's view of one catalogue entry: names, icon, the form snippet a
/// dropped control starts from, and the factory that creates it (in design mode
/// when Designer asks).
class TControlWidgetPlugin : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    TControlWidgetPlugin(const TControlEntry &entry, QObject *parent);

    QString name() const override { return FEntry.ClassName; }
    QString group() const override;
    QString toolTip() const override { return FEntry.ToolTip; }
    QString whatsThis() const override { return FEntry.ToolTip; }
    QString includeFile() const override { return FEntry.IncludeFile; }
    QIcon icon() const override;
    bool isContainer() const override { return FEntry.IsContainer; }
    QString domXml() const override;
    QWidget *createWidget(QWidget *parent) override;
    bool isInitialized() const override { return FInitialized; }
    void initialize(QDesignerFormEditorInterface *core) override;

private:
    QSize DefaultSize() const;

    const TControlEntry &FEntry;
    bool FInitialized = false;
    /// Set by Designer only: QUiLoader uses the same plugin to load forms in a
    /// running application and never initializes it.
    QDesignerFormEditorInterface *FCore = nullptr;
};

/// The plugin Designer loads: one widget plugin per control of the catalogue.
class TControlCollection : public QObject, public QDesignerCustomWidgetCollectionInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TControlCollection(QObject *parent = nullptr);
    QList<QDesignerCustomWidgetInterface *> customWidgets() const override { return FWidgets; }

private:
    QList<QDesignerCustomWidgetInterface *> FWidgets;
};

} // namespace nvo::designer
