#include "ZBase.h"
#include "ZForm.h"
#include "ZPanel.h"
#include "ZScrollPanel.h"
#include "ZTabControl.h"
#include "ZTabPage.h"

#include <QPluginLoader>
#include <QPointer>
#include <QXmlStreamReader>
#include <QtDesigner/QDesignerContainerExtension>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>
#include <QtTest>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace {

const QString ContainerIid = QStringLiteral("org.qt-project.Qt.Designer.Container");

// Counts the factories registered with it.
class CountingManager : public QExtensionManager
{
public:
    int Registered = 0;
    void registerExtensions(QAbstractExtensionFactory* factory, const QString& iid) override
    {
        ++Registered;
        QExtensionManager::registerExtensions(factory, iid);
    }
};

// A form editor that carries only an extension manager, as much as the descriptors use.
class Core : public QDesignerFormEditorInterface
{
public:
    explicit Core(QExtensionManager* manager) { setExtensionManager(manager); }
};

struct Expected
{
    const char* Name;
    const char* Group;
    bool Container;
    int Width;  // geometry in the dropped XML; 0: no geometry
    int Height;
};

// The widget box, in order.
const Expected Widgets[] = {
    {"ZPanel", "Velour", true, 300, 300},       {"ZScrollPanel", "Velour", true, 300, 300},
    {"ZButton", "Velour", false, 80, 30},       {"ZCheckBox", "Velour", false, 100, 16},
    {"ZSwitchButton", "Velour", false, 80, 30}, {"ZComboBox", "Velour", false, 100, 30},
    {"ZLabel", "Velour", false, 100, 30},       {"ZLineEdit", "Velour", false, 100, 30},
    {"ZProgressBar", "Velour", false, 100, 30}, {"ZTrackBar", "Velour", false, 100, 30},
    {"ZItemList", "Velour", false, 100, 100},   {"ZTabPage", "Velour", true, 0, 0},
    {"ZTabControl", "Velour", true, 200, 200},  {"ZGridList", "Velour", false, 100, 30},
    {"ZTreeView", "Velour", false, 300, 300},   {"ZHourMinutePicker", "VelourEx", false, 0, 0},
    {"ZForm", "", true, 0, 0},                  {"ZTest", "Velour", false, 100, 30},
};

// The properties of the first widget element of a dropped XML, as name -> the element's inner XML reduced
// to its text values joined by ','; plus the element's class and name attributes and its child widgets.
struct DroppedWidget
{
    QString Class;
    QString Name;
    QMap<QString, QString> Properties;
    QMap<QString, QString> Alpha;
    QStringList Children; // class:name
    QString Root;
    QStringList AddPageMethods;
    QStringList Extends;
};

bool ParseDomXml(const QString& xml, DroppedWidget* out, QString* error)
{
    QXmlStreamReader r(xml);
    int widgetDepth = 0;
    QString property;
    QStringList values;
    QString textElement;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            const QString name = r.name().toString();
            if (out->Root.isEmpty())
                out->Root = name == QLatin1String("ui") ? QStringLiteral("ui:") + r.attributes().value("language").toString()
                                                        : name;
            if (name == QLatin1String("widget")) {
                ++widgetDepth;
                if (widgetDepth == 1) {
                    out->Class = r.attributes().value("class").toString();
                    out->Name = r.attributes().value("name").toString();
                } else if (widgetDepth == 2) {
                    out->Children << r.attributes().value("class") + QStringLiteral(":") + r.attributes().value("name");
                }
            } else if (name == QLatin1String("property") && widgetDepth == 1) {
                property = r.attributes().value("name").toString();
                values.clear();
            } else if (name == QLatin1String("color") && widgetDepth == 1 && r.attributes().hasAttribute("alpha")) {
                out->Alpha[property] = r.attributes().value("alpha").toString();
            } else if (name == QLatin1String("addpagemethod")) {
                out->AddPageMethods << r.readElementText();
            } else if (name == QLatin1String("extends")) {
                out->Extends << r.readElementText();
            }
            textElement = name;
        } else if (r.isCharacters() && !r.isWhitespace() && !property.isEmpty()) {
            values << r.text().toString();
        } else if (r.isEndElement()) {
            if (r.name() == QLatin1String("widget"))
                --widgetDepth;
            else if (r.name() == QLatin1String("property") && !property.isEmpty()) {
                if (widgetDepth == 1)
                    out->Properties[property] = values.join(',');
                property.clear();
            }
        }
    }
    if (r.hasError()) {
        *error = r.errorString();
        return false;
    }
    return true;
}

} // namespace

class TestVelourPlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void WidgetsInOrderWithGroupsIncludesAndContainerFlags();
    void DroppedXmlIsWellFormedWithTheGeometry();
    void ScrollPanelAndTabControlXml();
    void CreateWidgetMakesTheRightClass();
    void InitializeRegistersEachFactoryOnce();
    void TabControlExtension();
    void ScrollPanelExtension();

private:
    QDesignerCustomWidgetInterface* Descriptor(const QString& name) const;

    QPluginLoader m_Loader{QStringLiteral(VELOUR_PLUGIN_FILE)};
    QDesignerCustomWidgetCollectionInterface* m_Collection = nullptr;
    CountingManager m_Manager;
    Core* m_Core = nullptr;
};

void TestVelourPlugin::initTestCase()
{
    QVERIFY(!DesignerMode);
    QObject* instance = m_Loader.instance();
    QVERIFY2(instance, qPrintable(m_Loader.errorString()));
    QCOMPARE(m_Loader.metaData().value("IID").toString(),
             QStringLiteral("org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface"));
    QCOMPARE(m_Loader.metaData().value("className").toString(), QStringLiteral("VelourPlugin"));
    m_Collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(instance);
    QVERIFY(m_Collection);
    QVERIFY(DesignerMode);
    m_Core = new Core(&m_Manager);
}

QDesignerCustomWidgetInterface* TestVelourPlugin::Descriptor(const QString& name) const
{
    for (QDesignerCustomWidgetInterface* w : m_Collection->customWidgets()) {
        if (w->name() == name)
            return w;
    }
    return nullptr;
}

void TestVelourPlugin::WidgetsInOrderWithGroupsIncludesAndContainerFlags()
{
    const QList<QDesignerCustomWidgetInterface*> widgets = m_Collection->customWidgets();
    QStringList names;
    for (QDesignerCustomWidgetInterface* w : widgets)
        names << w->name();
    QStringList expected;
    for (const Expected& e : Widgets)
        expected << QLatin1String(e.Name);
    QCOMPARE(names, expected);
    for (int i = 0; i < widgets.size(); ++i) {
        QDesignerCustomWidgetInterface* w = widgets.at(i);
        const Expected& e = Widgets[i];
        QCOMPARE(w->group(), QLatin1String(e.Group));
        QCOMPARE(w->includeFile(), QLatin1String(e.Name) + QStringLiteral(".h"));
        QCOMPARE(w->isContainer(), e.Container);
        QCOMPARE(w->toolTip(), QString());
        QCOMPARE(w->whatsThis(), QString());
        QCOMPARE(w->codeTemplate(), QString());
        QCOMPARE(w->icon().isNull(), QLatin1String(e.Name) == QLatin1String("ZTest"));
        // The descriptors are QObjects of the collection and go with it.
        auto* object = dynamic_cast<QObject*>(w);
        QVERIFY(object);
        QCOMPARE(object->parent(), dynamic_cast<QObject*>(m_Collection));
        QCOMPARE(QString::fromLatin1(object->metaObject()->className()), QLatin1String(e.Name) + QStringLiteral("Plugin"));
    }
    // The icon is the library's own 32 x 32 image.
    QVERIFY(Descriptor("ZPanel")->icon().availableSizes().contains(QSize(32, 32)));
}

void TestVelourPlugin::DroppedXmlIsWellFormedWithTheGeometry()
{
    for (const Expected& e : Widgets) {
        QDesignerCustomWidgetInterface* w = Descriptor(e.Name);
        QVERIFY2(w, e.Name);
        const QString xml = w->domXml();
        if (e.Width == 0 && QLatin1String(e.Name) != QLatin1String("ZHourMinutePicker")) {
            QVERIFY2(xml.isEmpty(), e.Name); // ZTabPage and ZForm drop without XML
            continue;
        }
        DroppedWidget dropped;
        QString error;
        QVERIFY2(ParseDomXml(xml, &dropped, &error), qPrintable(QStringLiteral("%1: %2").arg(e.Name, error)));
        QCOMPARE(dropped.Class, QLatin1String(e.Name));
        QString lowered = QLatin1String(e.Name);
        lowered[0] = lowered.at(0).toLower();
        QCOMPARE(dropped.Name, lowered);
        if (e.Width == 0)
            QVERIFY2(dropped.Properties.isEmpty(), e.Name);
        else
            QCOMPARE(dropped.Properties.value("geometry"), QStringLiteral("0,0,%1,%2").arg(e.Width).arg(e.Height));
    }

    DroppedWidget button, check, panel, sw;
    QString error;
    QVERIFY(ParseDomXml(Descriptor("ZButton")->domXml(), &button, &error));
    QCOMPARE(button.Properties.value("Radius"), QStringLiteral("8"));
    QCOMPARE(button.Properties.value("BackColor"), QStringLiteral("245,245,245"));
    QVERIFY(ParseDomXml(Descriptor("ZCheckBox")->domXml(), &check, &error));
    QCOMPARE(check.Properties.value("ForeColor"), QStringLiteral("80,80,80"));
    QCOMPARE(check.Properties.value("Text"), QStringLiteral("ZCheckBox"));
    QVERIFY(ParseDomXml(Descriptor("ZSwitchButton")->domXml(), &sw, &error));
    QCOMPARE(sw.Properties.value("BackColor"), QStringLiteral("245,245,245"));
    QVERIFY(ParseDomXml(Descriptor("ZPanel")->domXml(), &panel, &error));
    QCOMPARE(panel.Properties.value("BackColor"), QStringLiteral("0,0,0"));
    QCOMPARE(panel.Alpha.value("BackColor"), QStringLiteral("30"));
}

void TestVelourPlugin::ScrollPanelAndTabControlXml()
{
    DroppedWidget scroll, tabs;
    QString error;
    QVERIFY(ParseDomXml(Descriptor("ZScrollPanel")->domXml(), &scroll, &error));
    QCOMPARE(scroll.Properties.value("ScrollAreaSize"), QStringLiteral("500,500"));
    QCOMPARE(scroll.Properties.value("BackColor"), QStringLiteral("0,0,0"));
    QCOMPARE(scroll.Alpha.value("BackColor"), QStringLiteral("0"));
    QCOMPARE(scroll.Properties.value("SliderRadius"), QStringLiteral("5"));
    QCOMPARE(scroll.Properties.value("SliderColor"), QStringLiteral("230,230,230"));
    QVERIFY(!scroll.Alpha.contains("SliderColor"));
    QCOMPARE(scroll.Children, QStringList{"ZPanel:ScrollArea"});

    QVERIFY(ParseDomXml(Descriptor("ZTabControl")->domXml(), &tabs, &error));
    QCOMPARE(tabs.Root, QStringLiteral("ui:c++"));
    QCOMPARE(tabs.Properties.value("TabBarSize"), QStringLiteral("50,20"));
    QCOMPARE(tabs.Children, QStringList({"ZTabPage:page", "ZTabPage:page"}));
    QCOMPARE(tabs.AddPageMethods, QStringList{"AddPage"});
    QCOMPARE(tabs.Extends, QStringList{"QWidget"});
}

void TestVelourPlugin::CreateWidgetMakesTheRightClass()
{
    QWidget form;
    for (const Expected& e : Widgets) {
        QDesignerCustomWidgetInterface* d = Descriptor(e.Name);
        QVERIFY2(d, e.Name);
        QWidget* w = d->createWidget(&form);
        QVERIFY2(w, e.Name);
        QCOMPARE(QString::fromLatin1(w->metaObject()->className()), QLatin1String(e.Name));
        // In designer mode a form sits on the Designer form itself, without a shadow window.
        QCOMPARE(w->parentWidget(), &form);
        QVERIFY(qobject_cast<ZBase*>(w));
    }
    // Designer mode: the inner widgets that Designer must let clicks through to carry passive names.
    QWidget* scroll = Descriptor("ZScrollPanel")->createWidget(&form);
    const QList<QWidget*> inner = scroll->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    QVERIFY(!inner.isEmpty());
    for (QWidget* w : inner)
        QVERIFY2(w->objectName().startsWith(QLatin1String("__qt__passive_")), qPrintable(w->objectName()));

    auto* page = qobject_cast<ZTabPage*>(Descriptor("ZTabPage")->createWidget(&form));
    page->SetText(QStringLiteral("tab")); // made with its own tab button: the text is kept
    QCOMPARE(page->Text(), QStringLiteral("tab"));
}

void TestVelourPlugin::InitializeRegistersEachFactoryOnce()
{
    for (QDesignerCustomWidgetInterface* w : m_Collection->customWidgets()) {
        QVERIFY(!w->isInitialized());
        w->initialize(m_Core);
        QVERIFY(w->isInitialized());
    }
    QCOMPARE(m_Manager.Registered, 2); // the scroll panel's and the tab control's
    for (QDesignerCustomWidgetInterface* w : m_Collection->customWidgets())
        w->initialize(m_Core);
    QCOMPARE(m_Manager.Registered, 2);

    // The factories serve their own class and the container interface only.
    ZPanel panel;
    ZTabControl tabs;
    QVERIFY(!m_Manager.extension(&panel, ContainerIid));
    QVERIFY(!m_Manager.extension(&tabs, QStringLiteral("org.qt-project.Qt.Designer.TaskMenu")));
    QVERIFY(qt_extension<QDesignerContainerExtension*>(&m_Manager, &tabs));
}

void TestVelourPlugin::TabControlExtension()
{
    if (m_Manager.Registered == 0)
        Descriptor("ZTabControl")->initialize(m_Core);
    QWidget form;
    auto* tabs = qobject_cast<ZTabControl*>(Descriptor("ZTabControl")->createWidget(&form));
    auto* c = qt_extension<QDesignerContainerExtension*>(&m_Manager, tabs);
    QVERIFY(c);
    QCOMPARE(c->count(), 0);
    QCOMPARE(c->currentIndex(), -1);

    auto* first = new ZTabPage(nullptr, true);
    auto* second = new ZTabPage(nullptr, true);
    auto* inserted = new ZTabPage(nullptr, true);
    c->addWidget(first);
    c->addWidget(second);
    c->insertWidget(0, inserted);
    QCOMPARE(c->count(), 3);
    QCOMPARE(c->widget(0), inserted);
    QCOMPARE(c->widget(1), first);
    QCOMPARE(c->widget(2), second);
    QCOMPARE(c->currentIndex(), 0); // an added page is selected
    QCOMPARE(first->parentWidget(), tabs);

    for (int bad : {-1, -7, 3, 99})
        QCOMPARE(c->widget(bad), nullptr);

    c->setCurrentIndex(2); // Designer's own page switching is not used
    QCOMPARE(c->currentIndex(), 0);

    c->remove(1);
    QCOMPARE(c->count(), 2);
    QCOMPARE(c->widget(1), second);
    c->remove(5);
    QCOMPARE(c->count(), 2);

    // Not on a Designer form: a plain widget has no form to make its page in, and nothing happens.
    QWidget plain;
    c->insertWidget(0, &plain);
    QCOMPARE(c->count(), 2);

    // A negative selection is stored as -1.
    tabs->SetSelectedIndex(-5);
    QCOMPARE(c->currentIndex(), -1);
    QCOMPARE(tabs->SelectedIndex(), -1);
    delete first;
}

void TestVelourPlugin::ScrollPanelExtension()
{
    if (m_Manager.Registered == 0)
        Descriptor("ZScrollPanel")->initialize(m_Core);
    QWidget form;
    auto* scroll = qobject_cast<ZScrollPanel*>(Descriptor("ZScrollPanel")->createWidget(&form));
    auto* c = qt_extension<QDesignerContainerExtension*>(&m_Manager, scroll);
    QVERIFY(c);
    QCOMPARE(c->count(), 0);
    QCOMPARE(c->currentIndex(), -1);
    QCOMPARE(c->widget(-1), nullptr);
    QCOMPARE(c->widget(0), nullptr);

    auto* content = new ZPanel;
    c->insertWidget(7, content); // the index is ignored
    QCOMPARE(c->count(), 1);
    QCOMPARE(c->widget(0), content);
    QCOMPARE(c->widget(1), nullptr);
    QCOMPARE(c->widget(-1), nullptr);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(scroll->ScrollWidget(), content); // adopted as the scrolled content
    QCOMPARE(c->currentIndex(), 0);

    c->remove(0);
    c->setCurrentIndex(-1);
    QCOMPARE(c->count(), 1);
    QCOMPARE(scroll->ScrollWidget(), content);
    QCOMPARE(c->currentIndex(), 0);

    // A widget deleted in Designer drops out of the list instead of leaving a dangling entry.
    auto* second = new ZPanel;
    c->addWidget(second);
    QCOMPARE(c->count(), 2);
    delete content;
    QCOMPARE(c->count(), 1);
    QCOMPARE(c->widget(0), second);
}

QTEST_MAIN(TestVelourPlugin)
#include "tst_VelourPlugin.moc"
