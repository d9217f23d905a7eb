#include "ZTest.h"
#include "ZTreeView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

class TestZTreeView : public QObject
{
    Q_OBJECT

private slots:
    void RightClickReportsItemUnderPoint();
    void TreeFillsHostAndTakesStyleSheet();
    void DesignerModeMakesTreePassive();
    void EmptyWidgetDrawsNothing();
};

void TestZTreeView::RightClickReportsItemUnderPoint()
{
    QStandardItemModel model;
    model.appendRow(new QStandardItem(QStringLiteral("Friends")));
    model.appendRow(new QStandardItem(QStringLiteral("Suppliers")));
    ZTreeView host;
    host.resize(200, 300);
    host.TreeView->setModel(&model);
    host.TreeView->setHeaderHidden(true);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    QSignalSpy spy(&host, &ZTreeView::ItemRightClicked);
    QWidget* viewport = host.TreeView->viewport();
    const QRect second = host.TreeView->visualRect(model.index(1, 0));
    QVERIFY(second.isValid());
    struct Case { QPoint pos; int row; };
    const Case cases[] = {{second.center(), 1}, {QPoint(10, viewport->height() - 5), -1}};
    for (const Case& c : cases) {
        QContextMenuEvent e(QContextMenuEvent::Mouse, c.pos, viewport->mapToGlobal(c.pos));
        QApplication::sendEvent(viewport, &e);
        QCOMPARE(spy.count(), 1);
        const QList<QVariant> args = spy.takeFirst();
        QCOMPARE(args.at(0).toPoint(), c.pos);
        const QModelIndex index = args.at(1).value<QModelIndex>();
        QCOMPARE(index.isValid(), c.row >= 0);
        if (c.row >= 0)
            QCOMPARE(index.row(), c.row);
    }
}

void TestZTreeView::TreeFillsHostAndTakesStyleSheet()
{
    ZTreeView host;
    host.resize(150, 120);
    host.show();
    QCOMPARE(host.TreeView->geometry(), QRect(0, 0, 150, 120));
    host.resize(90, 60);
    QCOMPARE(host.TreeView->geometry(), QRect(0, 0, 90, 60));
    const QString sheet = QStringLiteral("QTreeView { background: #203040; }");
    host.setStyleSheet(sheet);
    QCOMPARE(host.TreeView->styleSheet(), sheet);
    QCOMPARE(host.TreeView->contextMenuPolicy(), Qt::CustomContextMenu);
}

void TestZTreeView::DesignerModeMakesTreePassive()
{
    DesignerMode = true;
    ZTreeView host;
    DesignerMode = false;
    QVERIFY(host.TreeView->objectName().startsWith(QLatin1String("__qt__passive_")));
    ZTreeView plain;
    QVERIFY(!plain.TreeView->objectName().startsWith(QLatin1String("__qt__passive_")));
}

void TestZTreeView::EmptyWidgetDrawsNothing()
{
    QWidget window;
    window.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(10, 20, 30));
    window.setPalette(palette);
    window.resize(40, 40);
    ZTest empty(&window);
    empty.SetBackColor(Qt::red);
    empty.setGeometry(0, 0, 40, 40);
    QCOMPARE(window.grab().toImage().pixelColor(20, 20), QColor(10, 20, 30));
}

QTEST_MAIN(TestZTreeView)
#include "tst_ZTreeView.moc"
