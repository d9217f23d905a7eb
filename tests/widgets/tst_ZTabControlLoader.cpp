#include "ZTabControl.h"
#include "ZTabPage.h"

#include <QBuffer>
#include <QLabel>
#include <QUiLoader>
#include <QtTest>

// Qt's run-time form loader (also behind Designer's preview) adds the pages of a container through the
// add-page method named in the form, called by name with a QWidget*.
namespace {

const char TabForm[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>TabForm</class>
 <widget class="QWidget" name="TabForm">
  <property name="geometry"><rect><x>0</x><y>0</y><width>400</width><height>300</height></rect></property>
  <widget class="ZTabControl" name="Tabs">
   <property name="geometry"><rect><x>0</x><y>0</y><width>400</width><height>300</height></rect></property>
   <property name="TabBarSize" stdset="0"><size><width>80</width><height>30</height></size></property>
   <property name="SelectedIndex" stdset="0"><number>0</number></property>
   <widget class="ZTabPage" name="FirstPage">
    <property name="Text" stdset="0"><string>First</string></property>
   </widget>
   <widget class="ZTabPage" name="SecondPage">
    <property name="Text" stdset="0"><string>Second</string></property>
   </widget>
  </widget>
 </widget>
 <customwidgets>
  <customwidget><class>ZTabControl</class><extends>QWidget</extends><header>ZTabControl.h</header><container>1</container><addpagemethod>AddPage</addpagemethod></customwidget>
  <customwidget><class>ZTabPage</class><extends>QWidget</extends><header>ZTabPage.h</header><container>1</container></customwidget>
 </customwidgets>
 <resources/>
 <connections/>
</ui>
)";

// Makes the library's classes itself (the Designer plugin would switch the process into designer mode).
class VelourLoader : public QUiLoader
{
public:
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override
    {
        QWidget* widget = nullptr;
        if (className == QLatin1String("ZTabControl"))
            widget = new ZTabControl(parent);
        else if (className == QLatin1String("ZTabPage"))
            widget = new ZTabPage(parent);
        else
            return QUiLoader::createWidget(className, parent, name);
        widget->setObjectName(name);
        return widget;
    }
};

} // namespace

class TestZTabControlLoader : public QObject
{
    Q_OBJECT

private slots:
    void LoaderAddsThePages();
    void OnlyTabPagesAreAdded();
};

void TestZTabControlLoader::LoaderAddsThePages()
{
    QByteArray document(TabForm);
    QBuffer buffer(&document);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    VelourLoader loader;
    QScopedPointer<QWidget> form(loader.load(&buffer));
    QVERIFY2(form, qPrintable(loader.errorString()));
    auto* tabs = form->findChild<ZTabControl*>(QStringLiteral("Tabs"));
    QVERIFY(tabs);
    QCOMPARE(tabs->Count(), 2);
    QCOMPARE(tabs->Page(0), form->findChild<ZTabPage*>(QStringLiteral("FirstPage")));
    QCOMPARE(tabs->Page(1), form->findChild<ZTabPage*>(QStringLiteral("SecondPage")));
    QCOMPARE(tabs->Page(1)->Text(), QStringLiteral("Second"));
    QCOMPARE(tabs->TabBarSize(), QSize(80, 30));
    // The loader sets the stored index before it adds the pages.
    QCOMPARE(tabs->SelectedIndex(), 0);
    QVERIFY(!tabs->Page(0)->isHidden());
    QVERIFY(tabs->Page(1)->isHidden());
}

void TestZTabControlLoader::OnlyTabPagesAreAdded()
{
    ZTabControl tabs;
    auto* page = new ZTabPage(&tabs);
    QVERIFY(QMetaObject::invokeMethod(&tabs, "AddPage", Qt::DirectConnection, Q_ARG(QWidget*, page)));
    QCOMPARE(tabs.Count(), 1);
    QCOMPARE(tabs.Page(0), page);

    auto* label = new QLabel(&tabs);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("QLabel is not a tab page"));
    QVERIFY(QMetaObject::invokeMethod(&tabs, "AddPage", Qt::DirectConnection, Q_ARG(QWidget*, label)));
    QCOMPARE(tabs.Count(), 1);
    QCOMPARE(tabs.SelectedIndex(), 0);
    QVERIFY(QMetaObject::invokeMethod(&tabs, "AddPage", Qt::DirectConnection, Q_ARG(QWidget*, nullptr)));
    QCOMPARE(tabs.Count(), 1);
}

QTEST_MAIN(TestZTabControlLoader)
#include "tst_ZTabControlLoader.moc"
