#include "GenericPage.h"

#include "DemoPage.h"
#include "Editors.h"
#include "NVO_Control.h"

#include <QtCore/QMetaProperty>

namespace gallery {

QString GenericPageTitle(const nvo::TControlEntry &entry)
{
    const qsizetype scopeEnd = entry.ClassName.lastIndexOf(QLatin1String("::"));
    return scopeEnd < 0 ? entry.ClassName : entry.ClassName.mid(scopeEnd + 2);
}

QWidget *CreateGenericPage(const nvo::TControlEntry &entry, QWidget *parent)
{
    auto *page = new TDemoPage(GenericPageTitle(entry), entry.ToolTip, parent);
    QWidget *control = entry.Create(nullptr);
    page->AddInstance(QObject::tr("Default"), control);
    // The control's own published properties: the ones of QWidget and of the
    // shared base TControl are the same on every page and would only crowd it.
    const QMetaObject *meta = control->metaObject();
    const QMetaObject *ownStart = meta;
    for (const QMetaObject *base = meta->superClass();
         base && base != &nvo::TControl::staticMetaObject && QByteArray(base->className()).startsWith("nvo::");
         base = base->superClass())
        ownStart = base;
    for (int i = ownStart->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (property.isWritable() && property.isDesignable())
            page->AddEditor(QString::fromLatin1(property.name()), PropertyEditor(control, property.name()));
    }
    return page;
}

} // namespace gallery
