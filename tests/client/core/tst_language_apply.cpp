// Language::ApplyLanguage on fixture windows named like the client's windows, so that the built-in maps
// and language files drive them: one widget of each class the texts go to, the "Title" rule, and a
// language switch English -> Chinese -> English.

#include "Language.h"
#include "ProgramFolder.h"

#include "ZButton.h"
#include "ZCheckBox.h"
#include "ZComboBox.h"
#include "ZForm.h"
#include "ZGridList.h"
#include "ZLabel.h"
#include "ZMenu.h"
#include "ZMenuItem.h"
#include "ZPanel.h"
#include "ZSwitchButton.h"
#include "ZTabControl.h"
#include "ZTabPage.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

template <typename T>
T* Make(QWidget* parent, const QString& name)
{
    auto widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

template <typename T>
T* Make(QWidget* parent, const QString& name, const QString& text)
{
    auto widget = Make<T>(parent, name);
    widget->SetText(text);
    return widget;
}

template <typename T>
T* Find(QWidget* window, const QString& name)
{
    T* widget = window->findChild<T*>(name);
    if (!widget)
        qFatal("fixture has no %s", qPrintable(name));
    return widget;
}

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

ZGridList* Grid(QWidget* parent, const QString& name, int columns)
{
    auto grid = Make<ZGridList>(parent, name);
    for (int i = 0; i < columns; ++i)
        grid->AddColumn(50, QString("c%1").arg(i));
    grid->ApplyColumn();
    return grid;
}

QStringList Headers(ZGridList* grid)
{
    QStringList headers;
    for (const ZGridListColumn& column : grid->Columns)
        headers << column.Text;
    return headers;
}

ZMenu* Menu(QWidget* parent, const QString& name, int items)
{
    auto menu = Make<ZMenu>(parent, name);
    for (int i = 0; i < items; ++i)
        menu->AddItem(QString("design %1").arg(i));
    return menu;
}

QStringList MenuTexts(ZMenu* menu)
{
    QStringList texts;
    for (int i = 0; i < menu->ItemCount(); ++i)
        texts << menu->Item(i)->Text;
    return texts;
}

// The software settings dialog: labels, buttons and check boxes (one of them inside a panel), a widget
// of a class that takes no text, and the title from the map's "Title" member.
std::unique_ptr<ZForm> SoftwareSettingForm()
{
    std::unique_ptr<ZForm> form(new ZForm);
    form->setObjectName("SoftwareSettingForm");
    form->SetTitle("design title");
    Make<ZLabel>(form.get(), "Label1", "design");
    auto panel = Make<ZPanel>(form.get(), "Panel");
    Make<ZCheckBox>(panel, "AutoBackupCheckBox", "design");
    Make<ZButton>(panel, "UpgradeButton", "design");
    Make<ZButton>(form.get(), "ConfirmButton", "design");
    Make<ZSwitchButton>(form.get(), "AutoUpgradeCheckBox", "design");  // no text for this class
    Make<ZComboBox>(panel, "AutoBackupComboBox")->SetItems({"design"});
    // A plain Qt widget of a mapped name is passed over for the widget-library one further down.
    auto plain = new QLabel("plain", form.get());
    plain->setObjectName("Label3");
    Make<ZLabel>(panel, "Label3", "design");
    return form;
}

// The settings page: its week tab control (seven pages), a combo box whose items end in blanks, and the
// user grid with more columns than its header text has parts.
std::unique_ptr<ZTabPage> SettingTabPage()
{
    std::unique_ptr<ZTabPage> page(new ZTabPage);
    page->setObjectName("SettingTabPage");
    auto week = Make<ZTabControl>(page.get(), "WeekTabControl");
    for (int i = 0; i < 7; ++i)
        week->AddPage(Make<ZTabPage>(nullptr, QString("Page%1").arg(i), QString("design %1").arg(i)));
    Make<ZLabel>(page.get(), "DeviceInfoLabel00", "design");
    Make<ZComboBox>(page.get(), "NetModeSettingComboBox");
    Grid(page.get(), "UserListGridList", 8);
    Make<ZCheckBox>(page.get(), "EnabelSMDRCheckBox", "design");
    Make<ZButton>(page.get(), "AutoReplyCopyToButton1", "design");
    Make<ZButton>(page.get(), "AutoReplyCopyToButton7", "design");
    Make<ZButton>(page.get(), "ChannelSettingCopyToButton", "design");
    return page;
}

// The monitor page: its context menu and its grid, here with fewer columns than its header text has parts.
std::unique_ptr<ZTabPage> MonitorTabPage()
{
    std::unique_ptr<ZTabPage> page(new ZTabPage);
    page->setObjectName("MonitorTabPage");
    Menu(page.get(), "MonitorGridListMenu", 4);
    Grid(page.get(), "MonitorGridList", 3);
    return page;
}

}  // namespace

class TestLanguageApply : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ProgramFolder;

private slots:
    void initTestCase()
    {
        QVERIFY(m_ProgramFolder.isValid());
        SetProgramFolder(m_ProgramFolder.path());
        new Language;
    }

    void cleanupTestCase()
    {
        delete g_Language;
    }

    void SwitchingLanguagesSwitchesEveryText()
    {
        auto settings = SoftwareSettingForm();
        auto page = SettingTabPage();
        auto monitor = MonitorTabPage();
        std::unique_ptr<ZForm> main(new ZForm);
        main->setObjectName("MainForm");
        // Every window re-applies its texts when the language changes, as the client's windows do.
        for (QWidget* window : {static_cast<QWidget*>(settings.get()), static_cast<QWidget*>(page.get()),
                                static_cast<QWidget*>(monitor.get()), static_cast<QWidget*>(main.get())})
            connect(g_Language, &Language::LanguageChanged, window, [window] { Language::ApplyLanguage(window); });
        QSignalSpy changed(g_Language, &Language::LanguageChanged);

        const auto english = [&] {
            QCOMPARE(settings->Title(), QString("Software Setup"));
            QCOMPARE(Find<ZLabel>(settings.get(), "Label1")->Text(), QString("Language"));
            QCOMPARE(Find<ZCheckBox>(settings.get(), "AutoBackupCheckBox")->Text(), QString("Auto Backup"));
            QCOMPARE(Find<ZButton>(settings.get(), "UpgradeButton")->Text(), QString("Upgrade"));
            QCOMPARE(Find<ZButton>(settings.get(), "ConfirmButton")->Text(), QString("Confirm"));
            QCOMPARE(Find<ZLabel>(settings.get(), "Label3")->Text(), QString("Current Version"));
            QCOMPARE(Find<ZComboBox>(settings.get(), "AutoBackupComboBox")->Items(),
                     QStringList({"Daily", "Weekly", "Monthly"}));
            QCOMPARE(Find<ZComboBox>(page.get(), "NetModeSettingComboBox")->Items(), QStringList({"DHCP ", "Static IP"}));
            QCOMPARE(Headers(Find<ZGridList>(page.get(), "UserListGridList")),
                     QStringList({"User Name", "Download", "Delete", "Monitor", "Change Settings", "Manage Users",
                                  "c6", "c7"}));
            QCOMPARE(Headers(Find<ZGridList>(monitor.get(), "MonitorGridList")),
                     QStringList({"Device", "Channel", "Name"}));
            QCOMPARE(MenuTexts(Find<ZMenu>(monitor.get(), "MonitorGridListMenu")),
                     QStringList({"Channel Settings", "Monitor", "Dialing", "Play OGM"}));
            auto week = Find<ZTabControl>(page.get(), "WeekTabControl");
            QStringList tabs;
            for (int i = 0; i < week->Count(); ++i)
                tabs << week->Page(i)->Text();
            QCOMPARE(tabs, QStringList({"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
            QCOMPARE(Find<ZLabel>(page.get(), "DeviceInfoLabel00")->Text(), QString("Info"));
            QCOMPARE(Find<ZCheckBox>(page.get(), "EnabelSMDRCheckBox")->Text(), QString("Start SMDR"));
            // One key, several widgets.
            for (const char* name : {"AutoReplyCopyToButton1", "AutoReplyCopyToButton7", "ChannelSettingCopyToButton"})
                QCOMPARE(Find<ZButton>(page.get(), name)->Text(), QString("Apply to..."));
            QCOMPARE(main->Title(), QString("Raridariva Rivid Ederoz"));
        };

        Language::Load("English");
        QCOMPARE(changed.count(), 1);
        english();
        QCOMPARE(Find<ZSwitchButton>(settings.get(), "AutoUpgradeCheckBox")->Text(), QString("design"));
        QCOMPARE(settings->findChild<QLabel*>("Label3")->text(), QString("plain"));

        Language::Load(U("简体中文"));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(settings->Title(), U("软件设置"));
        QCOMPARE(Find<ZLabel>(settings.get(), "Label1")->Text(), U("语言"));
        QCOMPARE(Find<ZCheckBox>(settings.get(), "AutoBackupCheckBox")->Text(), U("自动备份"));
        QCOMPARE(Find<ZButton>(settings.get(), "UpgradeButton")->Text(), U("升级"));
        QCOMPARE(Find<ZButton>(settings.get(), "ConfirmButton")->Text(), U("确定"));
        QCOMPARE(Find<ZLabel>(settings.get(), "Label3")->Text(), U("当前版本"));
        QCOMPARE(Find<ZComboBox>(settings.get(), "AutoBackupComboBox")->Items(), QStringList({U("每天"), U("每周"), U("每月")}));
        QCOMPARE(Headers(Find<ZGridList>(page.get(), "UserListGridList")).mid(5), QStringList({U("管理用户"), "c6", "c7"}));
        QCOMPARE(Headers(Find<ZGridList>(monitor.get(), "MonitorGridList")), QStringList({U("设备"), U("通道"), U("名称")}));
        QCOMPARE(MenuTexts(Find<ZMenu>(monitor.get(), "MonitorGridListMenu")).at(3), U("播放留言"));
        auto week = Find<ZTabControl>(page.get(), "WeekTabControl");
        QCOMPARE(week->Page(0)->Text(), U("周日"));
        QCOMPARE(week->Page(6)->Text(), U("周六"));
        QCOMPARE(Find<ZLabel>(page.get(), "DeviceInfoLabel00")->Text(), U("信息"));
        QCOMPARE(Find<ZButton>(page.get(), "ChannelSettingCopyToButton")->Text(), U("应用到..."));
        // The Chinese file has no window title of its own: the English one stays.
        QCOMPARE(main->Title(), QString("Raridariva Rivid Ederoz"));

        Language::Load("English");
        QCOMPARE(changed.count(), 3);
        english();
    }

    // Lists are split at every "|": two bars in a row give an empty item; a menu with fewer items than
    // parts takes what it has.
    void ListTextsKeepEmptyItems()
    {
        Language::Load("English");
        const auto texts = g_LanguageTexts;
        g_LanguageTexts["MonitorTabPage"]["002"] = "a||b|c|d|e";
        g_LanguageTexts["MonitorTabPage"]["001"] = "x||";
        ZTabPage page;
        page.setObjectName("MonitorTabPage");
        auto menu = Menu(&page, "MonitorGridListMenu", 2);
        auto grid = Grid(&page, "MonitorGridList", 4);
        Language::ApplyLanguage(&page);
        QCOMPARE(MenuTexts(menu), QStringList({"a", ""}));
        QCOMPARE(Headers(grid), QStringList({"x", "", "", "c3"}));

        g_LanguageTexts["SoftwareSettingForm"]["004"] = "Daily||Monthly";
        ZForm form;
        form.setObjectName("SoftwareSettingForm");
        auto comboBox = Make<ZComboBox>(&form, "AutoBackupComboBox");
        Language::ApplyLanguage(&form);
        QCOMPARE(comboBox->Items(), QStringList({"Daily", "", "Monthly"}));
        g_LanguageTexts = texts;
    }

    void TitleMemberSetsAChildNamedTitleInstead()
    {
        Language::Load("English");
        ZForm form;
        form.setObjectName("DialForm");
        form.SetTitle("design");
        auto label = Make<ZLabel>(&form, "Title", "design");
        Make<ZLabel>(&form, "Label3", "design");
        Language::ApplyLanguage(&form);
        QCOMPARE(label->Text(), QString("Dial-Up"));
        QCOMPARE(form.Title(), QString("design"));
        QCOMPARE(Find<ZLabel>(&form, "Label3")->Text(), QString("Phone No."));
    }

    void TitleOfAWindowThatIsNoForm()
    {
        Language::Load("English");
        ZPanel panel;  // "Title" of a window that is not a form changes nothing, and nothing breaks
        panel.setObjectName("DialForm");
        Make<ZLabel>(&panel, "Label1", "design");
        Language::ApplyLanguage(&panel);
        QCOMPARE(Find<ZLabel>(&panel, "Label1")->Text(), QString("Device"));
    }

    void MissingTextGroupOrMapChangesNothing()
    {
        Language::Load("English");
        const auto texts = g_LanguageTexts;

        ZForm skin;  // a key whose text is empty leaves its widget as it is; the others still apply
        skin.setObjectName("SkinForm");
        auto label1 = Make<ZLabel>(&skin, "Label1", "design");
        auto label2 = Make<ZLabel>(&skin, "Label2", "design");
        g_LanguageTexts["SkinForm"]["001"] = QString();
        g_LanguageTexts["SkinForm"].remove("002");
        Make<ZButton>(&skin, "ApplyButton", "design");
        Language::ApplyLanguage(&skin);
        QCOMPARE(label1->Text(), QString("design"));
        QCOMPARE(label2->Text(), QString("design"));
        QCOMPARE(Find<ZButton>(&skin, "ApplyButton")->Text(), QString("Apply"));

        g_LanguageTexts.remove("SkinForm");  // no group
        label1->SetText("kept");
        Language::ApplyLanguage(&skin);
        QCOMPARE(label1->Text(), QString("kept"));

        g_LanguageTexts["NoMapForm"]["001"] = "text";  // a group but no map
        ZForm orphan;
        orphan.setObjectName("NoMapForm");
        orphan.SetTitle("design");
        auto label = Make<ZLabel>(&orphan, "Title", "design");
        Language::ApplyLanguage(&orphan);
        QCOMPARE(orphan.Title(), QString("design"));
        QCOMPARE(label->Text(), QString("design"));

        ZForm nameless;  // no object name at all
        Language::ApplyLanguage(&nameless);
        Language::ApplyLanguage(nullptr);

        g_LanguageTexts = texts;
    }
};

QTEST_MAIN(TestLanguageApply)
#include "tst_language_apply.moc"
