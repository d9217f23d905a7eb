#include "contacts/ZFileSystemModel.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

// Closes the next modal message box and remembers its title and text.
class MessageBoxCatcher : public QObject
{
public:
    MessageBoxCatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                Title = box->windowTitle();
                Text = box->text();
                ++Count;
                box->accept();
            }
        });
        m_timer.start(10);
    }
    QString Title;
    QString Text;
    int Count = 0;

private:
    QTimer m_timer;
};

class ZFileSystemModelTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void addRemoveRenameKeepTheModelConsistent();
    void removingAFolderWithContentFails();
    void refusesNamesThatLeaveTheFolder_data();
    void refusesNamesThatLeaveTheFolder();
    void symbolicLinksAreLeaves();
    void resetReadsTheDiskSorted();

private:
    QStringList Names(const QModelIndex& parent = QModelIndex()) const;
    QTemporaryDir* m_dir = nullptr;
    ZFileSystemModel* m_model = nullptr;
    QAbstractItemModelTester* m_tester = nullptr;
};

void ZFileSystemModelTest::init()
{
    m_dir = new QTemporaryDir;
    QDir().mkpath(m_dir->filePath(QStringLiteral("root")));
    m_model = new ZFileSystemModel;
    m_model->SetRootPath(m_dir->filePath(QStringLiteral("root")));
    m_tester = new QAbstractItemModelTester(m_model, QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void ZFileSystemModelTest::cleanup()
{
    delete m_tester;
    delete m_model;
    delete m_dir;
}

QStringList ZFileSystemModelTest::Names(const QModelIndex& parent) const
{
    QStringList names;
    for (int row = 0; row < m_model->rowCount(parent); ++row)
        names << m_model->index(row, 0, parent).data().toString();
    return names;
}

void ZFileSystemModelTest::addRemoveRenameKeepTheModelConsistent()
{
    const QString root = m_model->FilePath(QModelIndex());
    QSignalSpy changed(m_model, &ZFileSystemModel::DataChanged);
    QVERIFY(m_model->IsDir(QModelIndex()));

    for (int i = 0; i < 3; ++i)
        QVERIFY(m_model->Mkdir(QModelIndex(), QString()).isValid());
    QCOMPARE(Names(), (QStringList{"New", "New2", "New3"}));
    QVERIFY(QFileInfo(root + "/New3").isDir());
    QCOMPARE(changed.count(), 3);

    QVERIFY(m_model->Remove(m_model->index(1, 0)));
    QVERIFY(!QFileInfo::exists(root + "/New2"));
    QCOMPARE(Names(), (QStringList{"New", "New3"}));
    const QModelIndex again = m_model->Mkdir(QModelIndex(), QString());
    QCOMPARE(again.data().toString(), QStringLiteral("New2"));
    QCOMPARE(Names(), (QStringList{"New", "New3", "New2"}));  // last until the next reset

    // Books inside a group.
    const QModelIndex group = m_model->index(0, 0);
    const QModelIndex book = m_model->NewFile(group, QString());
    QVERIFY(book.isValid());
    QCOMPARE(book.parent(), group);
    QVERIFY(!m_model->IsDir(book));
    QVERIFY(m_model->flags(book) & Qt::ItemNeverHasChildren);
    QCOMPARE(m_model->FilePath(book), root + "/New/New");
    QVERIFY(QFileInfo(root + "/New/New").isFile());
    QCOMPARE(m_model->NewFile(group, QStringLiteral("Friends")).data().toString(), QStringLiteral("Friends"));
    // A taken name is refused, so an existing book is never emptied.
    QFile existing(root + "/New/Friends");
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("{\"Contacts\": []}");
    existing.close();
    QVERIFY(!m_model->NewFile(group, QStringLiteral("Friends")).isValid());
    QVERIFY(!m_model->Mkdir(group, QStringLiteral("Friends")).isValid());
    QCOMPARE(QFileInfo(root + "/New/Friends").size(), qint64(16));
    QCOMPARE(m_model->rowCount(group), 2);
    QVERIFY(!m_model->data(book, Qt::EditRole).isValid());
    QVERIFY(!m_model->data(book, Qt::DecorationRole).isNull());

    // Renaming a group moves every book below it at once.
    QVERIFY(m_model->setData(group, QStringLiteral("Work")));
    QCOMPARE(group.data().toString(), QStringLiteral("Work"));
    QCOMPARE(m_model->FilePath(book), root + "/Work/New");
    QVERIFY(QFileInfo(root + "/Work/New").isFile());

    // A taken name shows the message and keeps the old name; an empty one is refused silently.
    {
        MessageBoxCatcher catcher;
        QVERIFY(!m_model->setData(book, QStringLiteral("Friends")));
        QCOMPARE(catcher.Count, 1);
        QCOMPARE(catcher.Title, QStringLiteral("Invalid filename"));
        QVERIFY(catcher.Text.contains(QStringLiteral("The name \"Friends\" can not be used.")));
        QCOMPARE(book.data().toString(), QStringLiteral("New"));
        const int before = changed.count();
        QVERIFY(!m_model->setData(book, QString()));
        QVERIFY(!m_model->setData(book, QStringLiteral("x"), Qt::DisplayRole));
        QCOMPARE(catcher.Count, 1);
        QCOMPARE(changed.count(), before);
    }
    QVERIFY(m_model->setData(book, QStringLiteral("Customers")));
    QCOMPARE(m_model->FilePath(book), root + "/Work/Customers");

    // Row edge cases of index().
    QVERIFY(!m_model->index(m_model->rowCount(), 0).isValid());
    QVERIFY(!m_model->index(-1, 0).isValid());
    QVERIFY(!m_model->index(0, 1).isValid());
}

void ZFileSystemModelTest::removingAFolderWithContentFails()
{
    const QModelIndex group = m_model->Mkdir(QModelIndex(), QStringLiteral("Group"));
    const QModelIndex sub = m_model->Mkdir(group, QStringLiteral("Sub"));
    QVERIFY(sub.isValid());
    QVERIFY(!m_model->Remove(group));
    QVERIFY(QFileInfo(m_model->FilePath(sub)).isDir());
    QCOMPARE(m_model->rowCount(group), 1);
    QVERIFY(m_model->Remove(sub));
    QVERIFY(m_model->Remove(group));
    QCOMPARE(m_model->rowCount(), 0);
    QVERIFY(!m_model->Remove(QModelIndex()));
}

void ZFileSystemModelTest::refusesNamesThatLeaveTheFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent path") << "../x";
    QTest::newRow("parent") << "..";
    QTest::newRow("self") << ".";
    QTest::newRow("slash") << "a/b";
    QTest::newRow("backslash") << "a\\b";
    QTest::newRow("absolute") << "/tmp/x";
}

void ZFileSystemModelTest::refusesNamesThatLeaveTheFolder()
{
    QFETCH(QString, name);
    const QString outside = m_dir->path();
    const QStringList before = QDir(outside).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QVERIFY(!m_model->Mkdir(QModelIndex(), name).isValid());
    QVERIFY(!m_model->NewFile(QModelIndex(), name).isValid());
    const QModelIndex book = m_model->NewFile(QModelIndex(), QStringLiteral("Book"));
    {
        MessageBoxCatcher catcher;
        QVERIFY(!m_model->setData(book, name));
        QCOMPARE(catcher.Count, 1);
    }
    QCOMPARE(book.data().toString(), QStringLiteral("Book"));
    QCOMPARE(QDir(outside).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QCOMPARE(Names(), QStringList{"Book"});
}

void ZFileSystemModelTest::symbolicLinksAreLeaves()
{
    const QString root = m_model->FilePath(QModelIndex());
    QDir().mkpath(root + "/Group");
    QDir().mkpath(m_dir->filePath("outside/Secret"));
    QVERIFY(QFile::link(root, root + "/Group/Loop"));            // a loop back to the root
    QVERIFY(QFile::link(m_dir->filePath("outside"), root + "/Elsewhere"));
    m_model->Reset();
    QCOMPARE(Names(), (QStringList{"Elsewhere", "Group"}));
    const QModelIndex link = m_model->index(0, 0);
    QVERIFY(!m_model->IsDir(link));
    QCOMPARE(m_model->rowCount(link), 0);
    const QModelIndex loop = m_model->index(0, 0, m_model->index(1, 0));
    QCOMPARE(loop.data().toString(), QStringLiteral("Loop"));
    QCOMPARE(m_model->rowCount(loop), 0);
    QVERIFY(!m_model->Mkdir(link, QStringLiteral("x")).isValid());
    QVERIFY(!QFileInfo::exists(m_dir->filePath("outside/x")));
    // Removing a link removes the link, not what it points to.
    QVERIFY(m_model->Remove(link));
    QVERIFY(QFileInfo(m_dir->filePath("outside/Secret")).isDir());
    QVERIFY(!QFileInfo(root + "/Elsewhere").isSymLink());
}

void ZFileSystemModelTest::resetReadsTheDiskSorted()
{
    const QString root = m_model->FilePath(QModelIndex());
    for (const char* name : {"b", "C", "a"})
        m_model->NewFile(QModelIndex(), QString::fromLatin1(name));
    QFile(root + "/.hidden").open(QIODevice::WriteOnly);
    QCOMPARE(Names(), (QStringList{"b", "C", "a"}));
    QSignalSpy changed(m_model, &ZFileSystemModel::DataChanged);
    m_model->Reset();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(Names(), (QStringList{"a", "b", "C"}));
    m_model->SetRootPath(m_dir->filePath("missing"));
    QCOMPARE(m_model->rowCount(), 0);
    m_model->SetRootPath(QString());  // not the working folder
    QCOMPARE(m_model->rowCount(), 0);
}

QTEST_MAIN(ZFileSystemModelTest)
#include "tst_zfilesystemmodel.moc"
