#include "NVO_DesignerPlugin.h"

#include "NVO_ColorEditor.h"
#include "NVO_ControlIcon.h"
#include "NVO_Control.h"
#include "NVO_DesignerNames.h"

#include <QtCore/QXmlStreamWriter>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>
#include <QtWidgets/QWidget>

#include <memory>

namespace nvo::designer {

namespace {
const QString kLibraryGroup = QStringLiteral("nvoquorvel");

/// Every control's plugin is initialized with the same Designer session; its
/// extension manager gets the colour editor once.
void RegisterColorTaskMenu(QDesignerFormEditorInterface *core)
{
    QExtensionManager *manager = core ? core->extensionManager() : nullptr;
    if (!manager || manager->findChild<TColorTaskMenuFactory *>())
        return;
    manager->registerExtensions(new TColorTaskMenuFactory(manager), Q_TYPEID(QDesignerTaskMenuExtension));
}
} // namespace

TControlWidgetPlugin::TControlWidgetPlugin(const TControlEntry &entry, QObject *parent)
    : QObject(parent), FEntry(entry)
{
}

QString TControlWidgetPlugin::group() const
{
    return FEntry.Group.isEmpty() ? kLibraryGroup : FEntry.Group;
}

QIcon TControlWidgetPlugin::icon() const
{
    return ControlIcon(FEntry.ClassName);
}

QSize TControlWidgetPlugin::DefaultSize() const
{
    // A dropped control should start at the size its constructor gives it rather
    // than at Designer's guess; a control that sets none offers its size hint
    // (an unresized widget reports Qt's arbitrary 640 x 480).
    QSize size;
    Guarded([&] {
        const std::unique_ptr<QWidget> probe(FEntry.Create(nullptr));
        if (probe)
            size = probe->testAttribute(Qt::WA_Resized) ? probe->size() : probe->sizeHint();
    });
    return size;
}

QString TControlWidgetPlugin::domXml() const
{
    QString xml;
    QXmlStreamWriter writer(&xml);
    writer.writeStartElement(QStringLiteral("ui"));
    writer.writeAttribute(QStringLiteral("language"), QStringLiteral("c++"));
    writer.writeStartElement(QStringLiteral("widget"));
    writer.writeAttribute(QStringLiteral("class"), FEntry.ClassName);
    writer.writeAttribute(QStringLiteral("name"), DefaultObjectName(FEntry.ClassName));
    if (const QSize size = DefaultSize(); size.isValid()) {
        writer.writeStartElement(QStringLiteral("property"));
        writer.writeAttribute(QStringLiteral("name"), QStringLiteral("geometry"));
        writer.writeStartElement(QStringLiteral("rect"));
        writer.writeTextElement(QStringLiteral("x"), QStringLiteral("0"));
        writer.writeTextElement(QStringLiteral("y"), QStringLiteral("0"));
        writer.writeTextElement(QStringLiteral("width"), QString::number(size.width()));
        writer.writeTextElement(QStringLiteral("height"), QString::number(size.height()));
        writer.writeEndElement(); // rect
        writer.writeEndElement(); // property
    }
    writer.writeEndElement(); // widget
    writer.writeEndElement(); // ui
    return xml;
}

void TControlWidgetPlugin::initialize(QDesignerFormEditorInterface *core)
{
    FCore = core;
    FInitialized = true;
    RegisterColorTaskMenu(core);
}

QWidget *TControlWidgetPlugin::createWidget(QWidget *parent)
{
    // Designer cannot survive an exception from a plugin; it copes with a null
    // widget (it warns and shows a placeholder), so a failing constructor ends here.
    QWidget *widget = nullptr;
    Guarded([&] {
        widget = FEntry.Create(parent);
        // Design mode keeps timers off. A form that an application loads through
        // this plugin with QUiLoader must run normally, and QUiLoader never calls
        // initialize: only a Designer session marks its controls as designing.
        SetDesigning(widget, FCore != nullptr);
    });
    return widget;
}

TControlCollection::TControlCollection(QObject *parent) : QObject(parent)
{
    for (const TControlEntry &entry : ControlCatalogue())
        FWidgets.append(new TControlWidgetPlugin(entry, this));
}

} // namespace nvo::designer
