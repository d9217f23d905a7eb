// Every dialog of the client, from the table in rows/: its names agree with its layout file, its text map
// names only widgets that take texts, its texts follow language loads while it is hidden, and a close from
// the window system ends its modal run with 0.

#include "DialogTable.h"
#include "DialogTestSupport.h"
#include "WindowSystem.h"

#include "LanguageFile.h"

#include "ZBaseButton.h"
#include "ZButton.h"
#include "ZCheckBox.h"
#include "ZComboBox.h"
#include "ZGridList.h"
#include "ZLabel.h"
#include "ZMenu.h"
#include "ZMenuItem.h"
#include "ZTabControl.h"
#include "ZTabPage.h"

#include <QFile>
#include <QJsonObject>
#include <QPointer>
#include <QTimer>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

namespace {

const DialogRow* FindRow(const QString& name)
{
    for (const DialogRow& row : DialogRows())
        if (row.Name == name)
            return &row;
    return nullptr;
}

// The ui class and the root widget (class, name) of a layout file.
struct LayoutNames
{
    QString UiClass;
    QString RootClass;
    QString RootName;
};

LayoutNames ReadLayoutNames(const QString& path)
{
    LayoutNames names;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return names;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd() && (names.UiClass.isEmpty() || names.RootName.isEmpty())) {
        if (!xml.readNextStartElement())
            continue;
        if (xml.name() == QLatin1String("class") && names.UiClass.isEmpty()) {
            names.UiClass = xml.readElementText();
        } else if (xml.name() == QLatin1String("widget") && names.RootName.isEmpty()) {
            names.RootClass = xml.attributes().value("class").toString();
            names.RootName = xml.attributes().value("name").toString();
        }
    }
    return names;
}

bool ReadMap(const QString& name, QJsonObject* map)
{
    return QFile::exists(QStringLiteral(":/%1.json").arg(name))
        && ReadJsonObjectFile(QStringLiteral(":/%1.json").arg(name), map);
}

bool TakesTexts(QObject* widget)
{
    return qobject_cast<ZLabel*>(widget) || qobject_cast<ZButton*>(widget) || qobject_cast<ZCheckBox*>(widget)
        || qobject_cast<ZComboBox*>(widget) || qobject_cast<ZGridList*>(widget)
        || qobject_cast<ZTabControl*>(widget) || qobject_cast<ZMenu*>(widget);
}

QStringList TabTexts(ZTabControl* tabs)
{
    QStringList texts;
    for (QObject* child : tabs->children())
        if (auto page = qobject_cast<ZTabPage*>(child))
            texts << page->Text();
    return texts;
}

// Where the dialog's shown texts differ from what the loaded language gives its map keys; empty when all agree.
QStringList TextMismatches(QWidget* dialog, const DialogRow& row)
{
    QStringList mismatches;
    QJsonObject map;
    if (!ReadMap(row.Name, &map))
        return {QStringLiteral("no text map")};
    const QMap<QString, QString> group = g_LanguageTexts.value(row.Name);
    for (auto member = map.constBegin(); member != map.constEnd(); ++member) {
        const QString text = group.value(member.value().toString());
        if (text.isEmpty())
            continue;
        const QStringList parts = text.split(QLatin1Char('|'), Qt::KeepEmptyParts);
        QObject* widget = dialog->findChild<ZBase*>(member.key());
        QString shown;
        bool same = true;
        if (auto label = qobject_cast<ZLabel*>(widget)) {
            same = label->Text() == text;
            shown = label->Text();
        } else if (qobject_cast<ZButton*>(widget) || qobject_cast<ZCheckBox*>(widget)) {
            shown = static_cast<ZBaseButton*>(widget)->Text();
            same = shown == text;
        } else if (auto combo = qobject_cast<ZComboBox*>(widget)) {
            shown = combo->Items().join('|');
            same = combo->Items() == parts;
        } else if (auto grid = qobject_cast<ZGridList*>(widget)) {
            for (int i = 0; i < grid->Columns.size() && i < parts.size(); ++i) {
                same = same && grid->Columns.at(i).Text == parts.at(i);
                shown += grid->Columns.at(i).Text + '|';
            }
        } else if (auto tabs = qobject_cast<ZTabControl*>(widget)) {
            const QStringList pages = TabTexts(tabs);
            shown = pages.join('|');
            same = pages == parts.mid(0, pages.size());
        } else if (auto menu = qobject_cast<ZMenu*>(widget)) {
            for (int i = 0; i < menu->ItemCount() && i < parts.size(); ++i) {
                same = same && menu->Item(i)->Text == parts.at(i);
                shown += menu->Item(i)->Text + '|';
            }
        } else if (!widget && member.key() == QLatin1String("Title")) {
            shown = static_cast<ZForm*>(dialog)->Title();
            same = shown == text;
        } else {
            continue;  // reported by the map test
        }
        if (!same)
            mismatches << QStringLiteral("%1: \"%2\" instead of \"%3\"").arg(member.key(), shown, text);
    }
    return mismatches;
}

}  // namespace

class DialogTableTest : public DialogTestCase
{
    Q_OBJECT

private:
    void AddRowColumn()
    {
        QTest::addColumn<QString>("name");
        for (const DialogRow& row : DialogRows())
            QTest::newRow(qPrintable(row.Name)) << row.Name;
    }

    std::unique_ptr<QWidget> Make(const DialogRow& row)
    {
        return std::unique_ptr<QWidget>(row.Make(m_Main.get()));
    }

private slots:
    void TableHasRowsAndTwoLanguages()
    {
        QVERIFY(!DialogRows().empty());
        QVERIFY(Language::Names().size() >= 2);
    }

    // Object name = class name = ui class = the layout's root widget, whose class the dialog derives from.
    void NamesAgreeWithTheLayout_data() { AddRowColumn(); }
    void NamesAgreeWithTheLayout()
    {
        QFETCH(QString, name);
        const DialogRow& row = *FindRow(name);
        auto dialog = Make(row);
        QCOMPARE(dialog->objectName(), name);
        QCOMPARE(QString::fromLatin1(dialog->metaObject()->className()), name);
        const LayoutNames layout = ReadLayoutNames(QStringLiteral(CALVOX_FORMS_DIR "/%1.ui").arg(name));
        QCOMPARE(layout.UiClass, name);
        QCOMPARE(layout.RootName, name);
        QVERIFY2(dialog->inherits(qPrintable(layout.RootClass)), qPrintable(layout.RootClass));
    }

    // A map key names a widget that takes texts, or is "Title" of a form; only dialogs with texts have a map,
    // and every text id of the map is in the first built-in language.
    void MapNamesWidgetsThatTakeTexts_data() { AddRowColumn(); }
    void MapNamesWidgetsThatTakeTexts()
    {
        QFETCH(QString, name);
        const DialogRow& row = *FindRow(name);
        QJsonObject map;
        const bool hasMap = ReadMap(name, &map);
        QCOMPARE(hasMap, row.Texts != DialogTexts::None);
        if (!hasMap)
            return;
        Language::Load(Language::Names().first());
        const QMap<QString, QString> group = g_LanguageTexts.value(name);
        auto dialog = Make(row);
        for (auto member = map.constBegin(); member != map.constEnd(); ++member) {
            const QString key = member.key();
            QVERIFY2(!group.value(member.value().toString()).isEmpty(), qPrintable(key));
            if (row.UnusedMapKeys.contains(key))
                continue;
            if (QObject* widget = dialog->findChild<ZBase*>(key))
                QVERIFY2(TakesTexts(widget), qPrintable(key + " is a " + widget->metaObject()->className()));
            else
                QVERIFY2(key == QLatin1String("Title") && qobject_cast<ZForm*>(dialog.get()),
                         qPrintable(key + " names no widget"));
        }
    }

    // Two languages one after the other, the dialog hidden: each load renames it (or, for per-event windows,
    // the next one made).
    void TextsFollowTheLanguage_data() { AddRowColumn(); }
    void TextsFollowTheLanguage()
    {
        QFETCH(QString, name);
        const DialogRow& row = *FindRow(name);
        if (row.Texts == DialogTexts::None)
            QSKIP("texts come from the caller");
        std::unique_ptr<QWidget> dialog;
        if (row.Texts == DialogTexts::FollowLanguage)
            dialog = Make(row);
        for (int language : {1, 0}) {
            if (row.Texts == DialogTexts::AtConstruction)
                dialog.reset();
            Language::Load(Language::Names().at(language));
            if (row.Texts == DialogTexts::AtConstruction)
                dialog = Make(row);
            QVERIFY(!dialog->isVisible());
            const QStringList mismatches = TextMismatches(dialog.get(), row);
            QVERIFY2(mismatches.isEmpty(), qPrintable(Language::Names().at(language) + ": " + mismatches.join("; ")));
        }
    }

    // A close from the window system (Alt+F4, the window manager's close button) ends a modal run with 0.
    void WindowSystemCloseEndsTheRunWithZero_data() { AddRowColumn(); }
    void WindowSystemCloseEndsTheRunWithZero()
    {
        QFETCH(QString, name);
        auto dialog = Make(*FindRow(name));
        QPointer<ZForm> form = qobject_cast<ZForm*>(dialog.get());
        if (!form)
            QSKIP("not a modal dialog");
        bool closed = false;
        QTimer::singleShot(100, form, [&]() { closed = WindowSystemClose(form->HostWindow()); });
        QCOMPARE(form->exec(true), 0);
        QVERIFY(closed);
        QVERIFY(!form->HostWindow()->isVisible());
    }
};

QTEST_MAIN(DialogTableTest)
#include "tst_dialog_table.moc"
