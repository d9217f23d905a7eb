// Skin: the text colour that goes on a theme colour, the "SkinSetting" file, re-colouring by class.

#include "Skin.h"
#include "DataFolder.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "ZButton.h"
#include "ZCheckBox.h"
#include "ZComboBox.h"
#include "ZGridList.h"
#include "ZHourMinutePicker.h"
#include "ZItemList.h"
#include "ZLineEdit.h"
#include "ZMenu.h"
#include "ZLabel.h"
#include "ZPanel.h"
#include "ZScrollPanel.h"
#include "ZTabControl.h"
#include "ZTabPage.h"
#include "ZTrackBar.h"

#include <memory>

namespace {

template <typename T>
T* Make(QWidget* parent, const QString& name = QString())
{
    auto widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

ZTabControl* TabControl(QWidget* parent, const QString& name)
{
    auto tabs = Make<ZTabControl>(parent, name);
    for (int i = 0; i < 2; ++i) {
        auto page = Make<ZTabPage>(nullptr);
        Make<ZButton>(page, "OnPage");
        tabs->AddPage(page);
    }
    return tabs;
}

// The colour a menu paints its hovered item with, read beside the text of the first row.
QColor HoveredItemColor(ZMenu* menu)
{
    ZPadding padding;
    padding.Top = 5;
    padding.Left = 10;
    menu->SetPadding(padding);
    menu->SetItemHeight(24);
    menu->resize(120, 60);
    const QPoint row(6, padding.Top + 12);  // left of the text, inside the hover fill
    QHoverEvent hover(QEvent::HoverMove, row, QPoint(-1, -1));
    QCoreApplication::sendEvent(menu, &hover);
    return menu->grab().toImage().pixelColor(row);
}

}  // namespace

class TestSkin : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_Folder;
    QString SettingPath() const { return m_Folder->path() + "/SkinSetting"; }

    void WriteSetting(const QByteArray& data)
    {
        QFile file(SettingPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(data);
    }

    QByteArray ReadSetting()
    {
        QFile file(SettingPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void init()
    {
        m_Folder.reset(new QTemporaryDir);
        QVERIFY(m_Folder->isValid());
        g_DataPath = m_Folder->path();
        new Skin;
        QVERIFY(g_Skin);
    }

    void cleanup()
    {
        delete g_Skin;
        QVERIFY(!g_Skin);
    }

    void TextColor_data()
    {
        QTest::addColumn<QColor>("theme");
        QTest::addColumn<QColor>("text");
        const QColor grey(100, 100, 100), white(Qt::white);
        QTest::newRow("white, L 1.0") << QColor(255, 255, 255) << grey;
        QTest::newRow("default, L 0.618") << QColor(82, 178, 250) << white;
        QTest::newRow("200,200,0, L 0.695") << QColor(200, 200, 0) << white;
        QTest::newRow("200,200,50, L 0.717") << QColor(200, 200, 50) << grey;
        QTest::newRow("black") << QColor(0, 0, 0) << white;
        QTest::newRow("yellow, L 0.886") << QColor(255, 255, 0) << grey;
    }

    void TextColor()
    {
        QFETCH(QColor, theme);
        QFETCH(QColor, text);
        Skin::SetThemeColor(theme);
        QCOMPARE(g_ThemeColor, theme);
        QCOMPARE(g_TextColor, text);
        QCOMPARE(g_TextColor.alpha(), 255);
        QCOMPARE((QVector<int>{g_ThemeRed, g_ThemeGreen, g_ThemeBlue}),
                 (QVector<int>{theme.red(), theme.green(), theme.blue()}));
        QCOMPARE((QVector<int>{g_TextRed, g_TextGreen, g_TextBlue}),
                 (QVector<int>{text.red(), text.green(), text.blue()}));
    }

    void ThemeColorIsOpaque()
    {
        Skin::SetThemeColor(QColor(10, 20, 30, 40));
        QCOMPARE(g_ThemeColor, QColor(10, 20, 30));
    }

    void Load_data()
    {
        QTest::addColumn<QByteArray>("file");  // "-" for no file
        QTest::addColumn<QColor>("theme");
        QTest::addColumn<bool>("saved");       // the default was written back
        QTest::newRow("default value") << QByteArray("{\"BackColor\": -11357446}") << QColor(82, 178, 250) << false;
        QTest::newRow("red") << QByteArray("{\"BackColor\": -65536}") << QColor(255, 0, 0) << false;
        QTest::newRow("no alpha stored") << QByteArray("{\"BackColor\": 255}") << QColor(0, 0, 255) << false;
        QTest::newRow("empty object") << QByteArray("{}") << QColor(0, 0, 0) << false;
        QTest::newRow("no file") << QByteArray("-") << QColor(82, 178, 250) << true;
        QTest::newRow("not JSON") << QByteArray("BackColor=1") << QColor(82, 178, 250) << true;
        QTest::newRow("empty file") << QByteArray("") << QColor(82, 178, 250) << true;
        QTest::newRow("array") << QByteArray("[-65536]") << QColor(82, 178, 250) << true;
    }

    void Load()
    {
        QFETCH(QByteArray, file);
        QFETCH(QColor, theme);
        QFETCH(bool, saved);
        if (file != "-")
            WriteSetting(file);
        QSignalSpy changed(g_Skin, &Skin::SkinChanged);
        Skin::Load();
        QCOMPARE(g_ThemeColor, theme);
        QCOMPARE(changed.count(), 1);
        if (saved)
            QCOMPARE(QJsonDocument::fromJson(ReadSetting()).object().value("BackColor").toInt(), -11357446);
        else
            QCOMPARE(ReadSetting(), file);  // a good file is not rewritten
    }

    void SaveWritesSignedArgb()
    {
        Skin::SetThemeColor(QColor(82, 178, 250));
        QSignalSpy changed(g_Skin, &Skin::SkinChanged);
        QVERIFY(Skin::Save());
        QCOMPARE(changed.count(), 1);
        const QByteArray data = ReadSetting();
        QCOMPARE(data, QJsonDocument(QJsonObject{{"BackColor", -11357446}}).toJson());
        QVERIFY(data.contains("\n    \"BackColor\": -11357446\n"));
        Skin::SetThemeColor(Qt::black);
        Skin::Load();
        QCOMPARE(g_ThemeColor, QColor(82, 178, 250));
    }

    void SaveFailureKeepsOldFileAndSignalsNothing()
    {
        WriteSetting("{\"BackColor\": -65536}");
        g_DataPath = "/proc";  // cannot be written, even by root
        Skin::SetThemeColor(QColor(1, 2, 3));
        QSignalSpy changed(g_Skin, &Skin::SkinChanged);
        QVERIFY(!Skin::Save());
        QCOMPARE(changed.count(), 0);
        // On the load path the default colour still applies, but no one is told.
        Skin::Load();
        QCOMPARE(g_ThemeColor, QColor(82, 178, 250));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(ReadSetting(), QByteArray("{\"BackColor\": -65536}"));
    }

    // One widget of each class, nested the ways the windows nest them; then the subtrees the walk must
    // leave alone.
    void ApplySkinRecoloursByClass()
    {
        const QColor theme(200, 200, 50), text(100, 100, 100), none;
        Skin::SetThemeColor(theme);
        ZPanel window;
        auto button = Make<ZButton>(&window);
        auto checkBox = Make<ZCheckBox>(&window);
        auto label = Make<ZLabel>(&window);
        auto lineEdit = Make<ZLineEdit>(&window);
        auto trackBar = Make<ZTrackBar>(&window);
        auto picker = Make<ZHourMinutePicker>(&window);
        auto comboBox = Make<ZComboBox>(&window);
        auto gridList = Make<ZGridList>(&window);
        auto itemList = Make<ZItemList>(&window);
        auto menu = Make<ZMenu>(&window);
        menu->AddItem("item");
        auto panel = Make<ZPanel>(&window);
        auto nested = Make<ZButton>(Make<ZPanel>(panel));                 // two panels down
        auto scroll = Make<ZScrollPanel>(&window);
        auto content = Make<ZPanel>(scroll);
        content->ensurePolished();                                         // the scroll panel adopts it
        QCOMPARE(scroll->ScrollWidget(), content);
        auto scrolled = Make<ZCheckBox>(content);
        auto mainTabs = TabControl(&window, "MainTabControl");
        auto weekTabs = TabControl(&window, "WeekTabControl");
        auto otherTabs = TabControl(&window, "OtherTabControl");
        auto marked = Make<ZPanel>(&window);                               // UserFlag: its own colours
        marked->SetUserFlag(true);
        auto markedButton = Make<ZButton>(marked);
        auto markedSelf = Make<ZButton>(&window);
        markedSelf->SetUserFlag(true);
        auto plain = new QWidget(&window);                                 // a plain Qt widget between
        auto belowPlain = Make<ZButton>(plain);

        Skin::ApplySkin(&window);

        QCOMPARE(button->BorderColorHover(), theme);
        QCOMPARE(button->ForeColorHover(), theme);
        QCOMPARE(checkBox->CheckRectColorHover(), theme);
        QCOMPARE(checkBox->CheckFlagColor(), theme);
        QCOMPARE(label->ForeColor(), none);
        QCOMPARE(lineEdit->SelectedTextBackColor(), theme);
        QCOMPARE(lineEdit->SelectedTextForeColor(), text);
        QCOMPARE(lineEdit->BorderColorHover(), theme);
        QCOMPARE(trackBar->MainLineFillColor1(), theme);
        QCOMPARE(trackBar->ButtonColor(), theme);
        QCOMPARE(trackBar->ButtonColorHover(), theme);
        QCOMPARE(picker->ButtonColor(), theme);
        QCOMPARE(picker->SelectedItemBackColor(), theme);
        QCOMPARE(picker->SelectedItemForeColor(), text);
        QCOMPARE(comboBox->ItemBackColorHover(), theme);
        QCOMPARE(comboBox->ItemForeColorHover(), text);
        QCOMPARE(comboBox->DropDownButtonColor(), theme);
        QCOMPARE(comboBox->BorderColorHover(), theme);
        QCOMPARE(gridList->CheckFlagColor(), theme);
        QCOMPARE(gridList->SliderColorHover(), theme);
        QCOMPARE(gridList->ColumnHeaderBackColorHover(), theme);
        QCOMPARE(gridList->ColumnHeaderForeColorHover(), text);
        QCOMPARE(gridList->LockedRowForeColor(), theme);
        QCOMPARE(itemList->SliderColorHover(), theme);
        QCOMPARE(itemList->ItemBackColorSelected(), theme);
        QCOMPARE(itemList->ItemForeColorSelected(), text);
        QCOMPARE(HoveredItemColor(menu), theme);
        QCOMPARE(nested->BorderColorHover(), theme);
        QCOMPARE(scroll->SliderColorHover(), theme);
        QCOMPARE(scrolled->CheckFlagColor(), theme);
        for (int i = 0; i < 2; ++i) {
            ZTabPage* page = mainTabs->Page(i);
            QCOMPARE(page->TabBarBackColor(), theme);
            QCOMPARE(page->TabBarBackColorHover(), theme);
            QCOMPARE(page->TabBarBackColorPress(), theme);
            QCOMPARE(page->TabBarBackColorSelected(), theme);
            QCOMPARE(page->TabBarBorderColorSelected(), none);
            page = weekTabs->Page(i);
            QCOMPARE(page->TabBarBorderColorSelected(), theme);
            QCOMPARE(page->TabBarBackColor(), none);
            page = otherTabs->Page(i);
            QCOMPARE(page->TabBarBackColor(), none);
            QCOMPARE(page->TabBarBorderColorSelected(), none);
            // The widgets on every page are re-coloured, whatever the control is called.
            for (ZTabControl* tabs : {mainTabs, weekTabs, otherTabs})
                QCOMPARE(tabs->Page(i)->findChild<ZButton*>("OnPage")->BorderColorHover(), theme);
        }
        QCOMPARE(markedButton->BorderColorHover(), none);
        QCOMPARE(markedSelf->BorderColorHover(), none);
        QCOMPARE(belowPlain->BorderColorHover(), none);

        // A second colour replaces the first; the text colour follows the theme.
        Skin::SetThemeColor(QColor(82, 178, 250));
        Skin::ApplySkin(&window);
        QCOMPARE(button->ForeColorHover(), QColor(82, 178, 250));
        QCOMPARE(g_TextColor, QColor(Qt::white));
        QCOMPARE(lineEdit->SelectedTextForeColor(), QColor(Qt::white));
        Skin::ApplySkin(nullptr);
    }
};

QTEST_MAIN(TestSkin)
#include "tst_skin.moc"
