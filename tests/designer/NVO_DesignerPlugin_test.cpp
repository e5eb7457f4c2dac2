#include "../../designer/NVO_DesignerNames.h"

#include "NVO_Catalogue.h"
#include "NVO_Control.h"

#include <QtCore/QBuffer>
#include <QtCore/QDir>
#include <QtCore/QPluginLoader>
#include <QtCore/QXmlStreamReader>
#include <QtUiTools/QUiLoader>
#include <gtest/gtest.h>

#ifdef NVO_PLUGIN_DIR
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>
#include <QtGui/QAction>
#include <QtWidgets/QLabel>

#include "NVO_ColorEditor.h"
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#endif

#include <memory>

namespace {

using namespace nvo::designer;

TEST(DesignerNames, DeriveObjectNameAndInitialsFromTheClassName)
{
    const struct {
        const char *className;
        const char *objectName;
        const char *initials;
    } cases[] = {
        {"nvo::TNumLab", "numLab", "NL"},
        {"nvo::TReportListView", "reportListView", "RLV"},
        {"nvo::TRLData", "rlData", "RLD"},   // a leading abbreviation goes lower case whole
        {"nvo::TMeter", "meter", "Me"},      // one capital: the first two letters
        {"nvo::TOnOffBut", "onOffBut", "OOB"},
        {"TColSel", "colSel", "CS"},         // no namespace
        {"nvo::Tachometer", "tachometer", "Ta"}, // a T that does not mark a class stays
    };
    for (const auto &c : cases) {
        EXPECT_EQ(DefaultObjectName(QString::fromLatin1(c.className)), QString::fromLatin1(c.objectName))
            << c.className;
        EXPECT_EQ(ControlInitials(QString::fromLatin1(c.className)), QString::fromLatin1(c.initials))
            << c.className;
    }
}

#ifdef NVO_PLUGIN_DIR

/// The plugin as Designer loads it: from its folder, through QPluginLoader.
class DesignerPlugin : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const QDir folder(QStringLiteral(NVO_PLUGIN_DIR));
        const QStringList files = folder.entryList({QStringLiteral("*nvoquorvel_designer*")}, QDir::Files);
        ASSERT_EQ(files.size(), 1) << NVO_PLUGIN_DIR;
        Loader = new QPluginLoader(folder.filePath(files.front()));
        ASSERT_TRUE(Loader->load()) << qPrintable(Loader->errorString());
    }
    static void TearDownTestSuite()
    {
        delete Loader; // the plugin stays loaded: widgets of this run may still use it
        Loader = nullptr;
    }

    static QList<QDesignerCustomWidgetInterface *> Widgets()
    {
        auto *collection = qobject_cast<QDesignerCustomWidgetCollectionInterface *>(Loader->instance());
        return collection ? collection->customWidgets() : QList<QDesignerCustomWidgetInterface *>();
    }

    static inline QPluginLoader *Loader = nullptr;
};

/// The form snippet's widget element: class, name and the geometry's size.
struct DomWidget {
    QString ClassName;
    QString Name;
    QSize Size;
};

DomWidget ParseDomXml(const QString &xml)
{
    DomWidget widget;
    QXmlStreamReader reader(xml);
    QString element;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        element = reader.name().toString();
        if (element == QLatin1String("widget")) {
            widget.ClassName = reader.attributes().value(QLatin1String("class")).toString();
            widget.Name = reader.attributes().value(QLatin1String("name")).toString();
        } else if (element == QLatin1String("width")) {
            widget.Size.setWidth(reader.readElementText().toInt());
        } else if (element == QLatin1String("height")) {
            widget.Size.setHeight(reader.readElementText().toInt());
        }
    }
    EXPECT_FALSE(reader.hasError()) << qPrintable(reader.errorString()) << qPrintable(xml);
    return widget;
}

TEST_F(DesignerPlugin, OffersEveryCatalogueControlWithItsDescription)
{
    const QList<QDesignerCustomWidgetInterface *> widgets = Widgets();
    const std::vector<nvo::TControlEntry> &catalogue = nvo::ControlCatalogue();
    ASSERT_EQ(size_t(widgets.size()), catalogue.size());
    for (size_t i = 0; i < catalogue.size(); ++i) {
        const nvo::TControlEntry &entry = catalogue[i];
        QDesignerCustomWidgetInterface *widget = widgets[qsizetype(i)];
        SCOPED_TRACE(qPrintable(entry.ClassName));
        EXPECT_EQ(widget->name(), entry.ClassName);
        EXPECT_EQ(widget->includeFile(), entry.IncludeFile);
        EXPECT_TRUE(widget->group().startsWith(QLatin1String("nvoquorvel")));
        EXPECT_EQ(widget->toolTip(), entry.ToolTip);
        EXPECT_EQ(widget->isContainer(), entry.IsContainer);
        EXPECT_FALSE(widget->icon().isNull());

        const std::unique_ptr<QWidget> probe(entry.Create(nullptr));
        const DomWidget dom = ParseDomXml(widget->domXml());
        EXPECT_EQ(dom.ClassName, entry.ClassName);
        EXPECT_EQ(dom.Name, DefaultObjectName(entry.ClassName));
        // A dropped control starts at its own default size.
        EXPECT_EQ(dom.Size, probe->testAttribute(Qt::WA_Resized) ? probe->size() : probe->sizeHint());
    }
}

TEST_F(DesignerPlugin, CreatesControlsInDesignModeOnlyForDesigner)
{
    QDesignerFormEditorInterface core;
    for (QDesignerCustomWidgetInterface *widget : Widgets()) {
        SCOPED_TRACE(qPrintable(widget->name()));
        // Before Designer initializes the plugin it serves QUiLoader in a running
        // application, whose controls must not be stuck in design mode.
        QWidget parent;
        QWidget *running = widget->createWidget(&parent);
        ASSERT_NE(running, nullptr);
        EXPECT_EQ(QString::fromLatin1(running->metaObject()->className()), widget->name());
        EXPECT_EQ(running->parentWidget(), &parent);
        EXPECT_FALSE(nvo::IsDesigning(running));
    }
    for (QDesignerCustomWidgetInterface *widget : Widgets()) {
        widget->initialize(&core);
        EXPECT_TRUE(widget->isInitialized());
        QWidget parent;
        EXPECT_TRUE(nvo::IsDesigning(widget->createWidget(&parent))) << qPrintable(widget->name());
        widget->initialize(nullptr); // back to run-time use for the tests that follow
    }
}

/// A Designer session with an extension manager, as Designer's own core has one.
struct TSessionWithExtensions : QDesignerFormEditorInterface {
    using QDesignerFormEditorInterface::setExtensionManager;
};

TEST_F(DesignerPlugin, GivesControlsWithColoursAColourEditorInTheirContextMenu)
{
    TSessionWithExtensions core;
    QExtensionManager manager;
    core.setExtensionManager(&manager);
    for (QDesignerCustomWidgetInterface *widget : Widgets())
        widget->initialize(&core);

    QWidget form;
    for (QDesignerCustomWidgetInterface *widget : Widgets()) {
        QWidget *control = widget->createWidget(&form);
        auto *menu = qt_extension<QDesignerTaskMenuExtension *>(&manager, control);
        SCOPED_TRACE(qPrintable(widget->name()));
        if (ColorPropertyNames(control).isEmpty()) {
            EXPECT_EQ(menu, nullptr);
            continue;
        }
        ASSERT_NE(menu, nullptr);
        ASSERT_EQ(menu->taskActions().size(), 1);
        EXPECT_EQ(menu->taskActions().front()->text(), QStringLiteral("Edit Colours..."));
    }
    QLabel label(&form);
    EXPECT_EQ(qt_extension<QDesignerTaskMenuExtension *>(&manager, &label), nullptr);

    for (QDesignerCustomWidgetInterface *widget : Widgets())
        widget->initialize(nullptr); // back to run-time use for the tests that follow
}

TEST_F(DesignerPlugin, LetsPlainQUiLoaderLoadRunningControlsThroughThePluginFolder)
{
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QStringLiteral(NVO_PLUGIN_DIR));
    const QStringList available = loader.availableWidgets();
    for (const nvo::TControlEntry &entry : nvo::ControlCatalogue()) {
        SCOPED_TRACE(qPrintable(entry.ClassName));
        EXPECT_TRUE(available.contains(entry.ClassName));
        QByteArray form = QStringLiteral(R"(<ui version="4.0"><widget class="QWidget" name="form">)"
                                         R"(<widget class="%1" name="control"/></widget></ui>)")
                              .arg(entry.ClassName)
                              .toUtf8();
        QBuffer buffer(&form);
        buffer.open(QIODevice::ReadOnly);
        const std::unique_ptr<QWidget> loaded(loader.load(&buffer));
        ASSERT_NE(loaded, nullptr);
        const QWidget *control = loaded->findChild<QWidget *>(QStringLiteral("control"));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(QString::fromLatin1(control->metaObject()->className()), entry.ClassName);
        EXPECT_FALSE(nvo::IsDesigning(control));
    }
}

#endif // NVO_PLUGIN_DIR

} // namespace
