#include "ZTabControl.h"
#include "ZTabPage.h"

#include <QSignalSpy>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerContainerExtension>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerMetaDataBaseInterface>
#include <QtDesigner/QDesignerWidgetDataBaseInterface>
#include <QtDesigner/QExtensionManager>
#include <QtTest>

// The plugin inside Qt Designer's own form editor: a form with a tab control loads its pages through the
// container extension, a plain widget dropped on the control becomes a page of its name, and showing
// another page moves Designer's selection.
class TestVelourPluginForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void FormLoadsItsPagesThroughTheExtension();
    void DroppedPlainWidgetBecomesAPage();
    void ShowingAPageUpdatesTheSelection();

private:
    QDesignerFormEditorInterface* m_Core = nullptr;
    QDesignerFormWindowInterface* m_Form = nullptr;
    ZTabControl* m_Tabs = nullptr;
};

static const char TabForm[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>TabForm</class>
 <widget class="QWidget" name="TabForm">
  <property name="geometry"><rect><x>0</x><y>0</y><width>400</width><height>300</height></rect></property>
  <widget class="ZTabControl" name="zTabControl">
   <property name="geometry"><rect><x>0</x><y>0</y><width>200</width><height>200</height></rect></property>
   <widget class="ZTabPage" name="firstPage"/>
   <widget class="ZTabPage" name="secondPage"/>
  </widget>
 </widget>
 <customwidgets>
  <customwidget><class>ZTabControl</class><extends>QWidget</extends><header>ZTabControl.h</header><container>1</container><addpagemethod>AddPage</addpagemethod></customwidget>
  <customwidget><class>ZTabPage</class><extends>ZPanel</extends><header>ZTabPage.h</header><container>1</container></customwidget>
  <customwidget><class>ZPanel</class><extends>QWidget</extends><header>ZPanel.h</header><container>1</container></customwidget>
 </customwidgets>
</ui>
)";

void TestVelourPluginForm::initTestCase()
{
    QCoreApplication::addLibraryPath(QStringLiteral(VELOUR_PLUGIN_PATH));
    QDesignerComponents::initializeResources();
    m_Core = QDesignerComponents::createFormEditor(this);
    QDesignerComponents::initializePlugins(m_Core);
    new QDesignerIntegration(m_Core, this); // form windows ask it for its features
    QVERIFY2(m_Core->widgetDataBase()->indexOfClassName(QStringLiteral("ZTabControl")) >= 0, "plugin not loaded");
    m_Form = m_Core->formWindowManager()->createFormWindow(nullptr);
    QVERIFY(m_Form);
    QVERIFY(m_Form->setContents(QString::fromUtf8(TabForm)));
    m_Tabs = m_Form->mainContainer()->findChild<ZTabControl*>(QStringLiteral("zTabControl"));
    QVERIFY(m_Tabs);
}

void TestVelourPluginForm::FormLoadsItsPagesThroughTheExtension()
{
    QCOMPARE(m_Tabs->Count(), 2);
    QCOMPARE(m_Tabs->Page(0)->objectName(), QStringLiteral("firstPage"));
    QCOMPARE(m_Tabs->Page(1)->objectName(), QStringLiteral("secondPage"));
    auto* c = qt_extension<QDesignerContainerExtension*>(m_Core->extensionManager(), m_Tabs);
    QVERIFY(c);
    QCOMPARE(c->count(), 2);
    QCOMPARE(c->widget(2), nullptr);
}

void TestVelourPluginForm::DroppedPlainWidgetBecomesAPage()
{
    auto* c = qt_extension<QDesignerContainerExtension*>(m_Core->extensionManager(), m_Tabs);
    QVERIFY(c);
    auto* plain = new QWidget(m_Form->mainContainer());
    plain->setObjectName(QStringLiteral("droppedWidget"));
    plain->setGeometry(10, 10, 50, 50);
    c->insertWidget(1, plain);
    QCOMPARE(m_Tabs->Count(), 3);
    ZTabPage* page = m_Tabs->Page(1);
    QVERIFY(page != plain);
    QCOMPARE(page->objectName(), QStringLiteral("droppedWidget"));
    QVERIFY(m_Core->metaDataBase()->item(page));
    QCOMPARE(plain->geometry(), QRect(QPoint(0, 0), QPoint(-1, -1)));
    QCOMPARE(m_Tabs->Page(2)->objectName(), QStringLiteral("secondPage"));
    c->remove(1);
    QCOMPARE(m_Tabs->Count(), 2);
}

void TestVelourPluginForm::ShowingAPageUpdatesTheSelection()
{
    QSignalSpy spy(m_Form, &QDesignerFormWindowInterface::selectionChanged);
    const int other = m_Tabs->SelectedIndex() == 0 ? 1 : 0;
    m_Tabs->SetSelectedIndex(other);
    QVERIFY(spy.count() >= 1 || QTest::qWaitFor([&]() { return spy.count() >= 1; }, 1000));
}

QTEST_MAIN(TestVelourPluginForm)
#include "tst_VelourPluginForm.moc"
