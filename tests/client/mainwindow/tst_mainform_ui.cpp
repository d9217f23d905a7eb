// The main window's designed widget tree (Ui::MainForm from client/forms/MainForm.ui) against its table:
// every widget a member of its exact class under its parent, at its geometry, with each property of the table
// reading back through property(); then the layout at the minimum size and widened, the build-time states,
// the scroll panels' content and the images.
#include "MainFormUi.h"

#include <QDateTimeEdit>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaProperty>
#include <QtTest>

#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <type_traits>

namespace {

struct Member
{
    QString Name;
    QWidget* Widget;
    QString StaticClass; // the class of the form object's member
};

std::vector<Member> Members(Ui::MainForm& ui)
{
    return {
#define MAINFORM_MEMBER(n) {QStringLiteral(#n), ui.n, QString::fromLatin1(std::remove_pointer_t<decltype(ui.n)>::staticMetaObject.className())},
#include "MainFormMembers.inc"
#undef MAINFORM_MEMBER
    };
}

QJsonObject Tree()
{
    QFile file(QStringLiteral(MAINFORM_TREE_JSON));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", MAINFORM_TREE_JSON);
    return QJsonDocument::fromJson(file.readAll()).object();
}

QRect RectOf(const QJsonArray& a)
{
    return QRect(a[0].toInt(), a[1].toInt(), a[2].toInt(), a[3].toInt());
}

QSize SizeOf(const QJsonArray& a)
{
    return QSize(a[0].toInt(), a[1].toInt());
}

void Settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// The int inside an enum or flags value, whatever meta type carries it.
int EnumInt(const QVariant& v)
{
    int value = 0;
    if (QMetaType::sizeOf(v.userType()) == int(sizeof(int)))
        std::memcpy(&value, v.constData(), sizeof(int));
    else
        value = v.toInt();
    return value;
}

// Why `actual` is not the table's value of `kind`, or an empty text when it is.
QString Mismatch(QWidget* w, const QString& name, const QString& kind, const QJsonValue& expected)
{
    const QByteArray n = name.toLatin1();
    if (name == QLatin1String("enabled")) {
        // The widget's own state: a disabled parent (WeekTabControl) disables its children too.
        const bool own = !w->testAttribute(Qt::WA_ForceDisabled);
        return own == expected.toBool() ? QString() : QStringLiteral("enabled %1").arg(own);
    }
    if (name == QLatin1String("font")) {
        const QJsonObject f = expected.toObject();
        if (f.contains(QLatin1String("family")) && w->font().family() != f.value(QLatin1String("family")).toString())
            return QStringLiteral("font family ") + w->font().family();
        if (f.contains(QLatin1String("pointsize")) && w->font().pointSize() != f.value(QLatin1String("pointsize")).toInt())
            return QStringLiteral("font size %1").arg(w->font().pointSize());
        return QString();
    }
    const int index = w->metaObject()->indexOfProperty(n.constData());
    if (index < 0)
        return QStringLiteral("no such property");
    const QMetaProperty property = w->metaObject()->property(index);
    const QVariant v = w->property(n.constData());
    if (kind == QLatin1String("color")) {
        const QJsonArray c = expected.toArray();
        const QColor want(c[0].toInt(), c[1].toInt(), c[2].toInt(), c[3].toInt());
        const QColor got = v.value<QColor>();
        return got == want ? QString() : QStringLiteral("colour ") + got.name(QColor::HexArgb);
    }
    if (kind == QLatin1String("int"))
        return v.toInt() == expected.toInt() ? QString() : QStringLiteral("int %1").arg(v.toInt());
    if (kind == QLatin1String("bool"))
        return v.toBool() == expected.toBool() ? QString() : QStringLiteral("bool %1").arg(v.toBool());
    if (kind == QLatin1String("enum")) {
        if (!property.isEnumType())
            return QStringLiteral("not an enum property");
        const int want = property.enumerator().keyToValue(expected.toString().toLatin1().constData());
        return want >= 0 && EnumInt(v) == want ? QString() : QStringLiteral("enum %1").arg(EnumInt(v));
    }
    if (kind == QLatin1String("flags") || kind == QLatin1String("alignment")) {
        int want = 0;
        for (const QJsonValue& flag : expected.toArray()) {
            const QByteArray key = flag.toString().toLatin1();
            if (kind == QLatin1String("flags"))
                want |= property.enumerator().keyToValue(key.constData());
            else
                want |= QMetaEnum::fromType<Qt::Alignment>().keyToValue(key.constData());
        }
        return EnumInt(v) == want ? QString() : QStringLiteral("flags %1, not %2").arg(EnumInt(v)).arg(want);
    }
    if (kind == QLatin1String("size")) {
        const QSize want = SizeOf(expected.toArray());
        return v.toSize() == want ? QString() : QStringLiteral("size %1x%2").arg(v.toSize().width()).arg(v.toSize().height());
    }
    if (kind == QLatin1String("rect")) {
        const QRect want = RectOf(expected.toArray());
        return v.toRect() == want ? QString() : QStringLiteral("rect differs");
    }
    if (kind == QLatin1String("pixmap")) {
        const QJsonObject image = expected.toObject();
        const QImage got = v.value<QPixmap>().toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage want = QImage(image.value(QLatin1String("path")).toString()).convertToFormat(QImage::Format_ARGB32);
        if (got.isNull() || got != want)
            return QStringLiteral("image is not ") + image.value(QLatin1String("path")).toString();
        return QString();
    }
    if (kind == QLatin1String("string"))
        return v.toString() == expected.toString() ? QString() : QStringLiteral("text \"%1\"").arg(v.toString());
    if (kind == QLatin1String("stringlist")) {
        QStringList want;
        for (const QJsonValue& s : expected.toArray())
            want << s.toString();
        return v.toStringList() == want ? QString() : QStringLiteral("items ") + v.toStringList().join(QLatin1Char('|'));
    }
    if (kind == QLatin1String("font")) {
        const QFont got = v.value<QFont>();
        const QJsonObject f = expected.toObject();
        return got.family() == f.value(QLatin1String("family")).toString() &&
                       got.pointSize() == f.value(QLatin1String("pointsize")).toInt()
                   ? QString()
                   : QStringLiteral("font ") + got.toString();
    }
    if (kind == QLatin1String("datetime")) {
        const QJsonArray d = expected.toArray();
        const QDateTime want(QDate(d[0].toInt(), d[1].toInt(), d[2].toInt()), QTime(d[3].toInt(), d[4].toInt(), d[5].toInt()));
        return v.toDateTime() == want ? QString() : QStringLiteral("date ") + v.toDateTime().toString();
    }
    return QStringLiteral("unknown kind ") + kind;
}

bool IsDocked(QWidget* w)
{
    const QVariant dock = w->property("Dock");
    return dock.isValid() && EnumInt(dock) != 0;
}

} // namespace

class TestMainFormUi : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ZForm> Form;
    std::unique_ptr<Ui::MainForm> Ui;
    std::map<QString, QWidget*> ByName;
    QJsonObject Table = Tree();

    // The widgets of the table that no dock places: the ones whose geometry the table fixes.
    std::vector<QWidget*> Undocked()
    {
        std::vector<QWidget*> result;
        for (const QJsonValue& entry : Table.value(QLatin1String("widgets")).toArray()) {
            QWidget* w = ByName.at(entry.toObject().value(QLatin1String("name")).toString());
            if (!IsDocked(w) && !qobject_cast<ZTabPage*>(w))
                result.push_back(w);
        }
        return result;
    }

    // Shows each page once, so that every page is laid out at the present size.
    void VisitPages()
    {
        for (int i = 0; i < Ui->MainTabControl->Count(); ++i) {
            Ui->MainTabControl->SetSelectedIndex(i);
            Settle();
        }
    }

private slots:
    void initTestCase() { InitMainFormResources(); }

    void init()
    {
        Form = std::make_unique<ZForm>();
        Ui = std::make_unique<Ui::MainForm>();
        SetUpMainForm(*Ui, Form.get());
        Form->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form->HostWindow()));
        Settle();
        ByName.clear();
        for (const Member& m : Members(*Ui))
            ByName[m.Name] = m.Widget;
    }

    void cleanup()
    {
        Ui.reset();
        Form.reset();
        Settle();
    }

    // Each of the table's widgets: member of its exact class, under its parent, at its geometry, with
    // every property of the table reading back, its design text, and no dynamic property.
    void treeMatchesTable()
    {
        VisitPages();
        Ui->MainTabControl->SetSelectedIndex(0);
        Settle();
        const QJsonArray widgets = Table.value(QLatin1String("widgets")).toArray();
        const std::vector<Member> members = Members(*Ui);
        QCOMPARE(int(members.size()), 487);
        QCOMPARE(widgets.size(), 487);
        std::map<QString, const Member*> byName;
        for (const Member& m : members)
            byName[m.Name] = &m;

        QStringList faults;
        for (const QJsonValue& value : widgets) {
            const QJsonObject entry = value.toObject();
            const QString name = entry.value(QLatin1String("name")).toString();
            const QString cls = entry.value(QLatin1String("class")).toString();
            const auto found = byName.find(name);
            if (found == byName.end()) {
                faults << name + QStringLiteral(": no member");
                continue;
            }
            const Member& m = *found->second;
            QWidget* w = m.Widget;
            if (!w || m.StaticClass != cls || QString::fromLatin1(w->metaObject()->className()) != cls ||
                w->objectName() != name) {
                faults << name + QStringLiteral(": not a ") + cls;
                continue;
            }
            // The parent by name; a scroll panel's content panel sits in the panel's viewport.
            const QString parent = entry.value(QLatin1String("parent")).toString();
            auto* scroll = qobject_cast<ZScrollPanel*>(parent == QLatin1String("MainForm") ? nullptr : ByName.at(parent));
            const bool underParent = scroll ? scroll->ScrollWidget() == w
                                            : w->parentWidget() && w->parentWidget()->objectName() == parent;
            if (!underParent)
                faults << name + QStringLiteral(": not under ") + parent;
            const QRect geometry = RectOf(entry.value(QLatin1String("geometry")).toArray());
            if (!IsDocked(w) && w->geometry() != geometry)
                faults << name + QStringLiteral(": at %1,%2 %3x%4").arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height());
            for (const QJsonValue& p : entry.value(QLatin1String("props")).toArray()) {
                const QJsonObject prop = p.toObject();
                const QString why = Mismatch(w, prop.value(QLatin1String("name")).toString(),
                                             prop.value(QLatin1String("kind")).toString(), prop.value(QLatin1String("value")));
                if (!why.isEmpty())
                    faults << name + QLatin1Char('.') + prop.value(QLatin1String("name")).toString() + QStringLiteral(": ") + why;
            }
            const QJsonValue text = entry.value(QLatin1String("text"));
            if (text.isString() && w->property("Text").toString() != text.toString())
                faults << name + QStringLiteral(": design text \"") + w->property("Text").toString() + QLatin1Char('"');
            const QJsonValue format = entry.value(QLatin1String("displayFormat"));
            if (format.isString() && qobject_cast<QDateTimeEdit*>(w)->displayFormat() != format.toString())
                faults << name + QStringLiteral(": display format");
            for (const QByteArray& dynamic : w->dynamicPropertyNames()) {
                if (!dynamic.startsWith("_q_")) // Qt's own (QAbstractSpinBox keeps its line edit so)
                    faults << name + QStringLiteral(": dynamic property ") + QString::fromLatin1(dynamic);
            }
        }
        for (const QJsonValue& p : Table.value(QLatin1String("form")).toObject().value(QLatin1String("props")).toArray()) {
            const QJsonObject prop = p.toObject();
            const QString name = prop.value(QLatin1String("name")).toString();
            if (name == QLatin1String("size"))
                continue; // below, on the window
            const QString why = Mismatch(Form.get(), name, prop.value(QLatin1String("kind")).toString(), prop.value(QLatin1String("value")));
            if (!why.isEmpty())
                faults << QStringLiteral("MainForm.") + name + QStringLiteral(": ") + why;
        }
        if (!Form->dynamicPropertyNames().isEmpty())
            faults << QStringLiteral("MainForm: dynamic property");
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));

        QCOMPARE(Form->objectName(), QStringLiteral("MainForm"));
        QCOMPARE(Form->size(), QSize(1024, 660));
        QCOMPARE(Form->Title(), QString());
    }

    // The six pages in tab order, without texts, each with its tab images; the week pages Sunday to Saturday.
    void pagesInOrder()
    {
        const QList<ZTabPage*> pages = {Ui->MonitorTabPage, Ui->RecordTabPage, Ui->OnlineUserTabPage,
                                        Ui->SettingTabPage, Ui->ContactsTabPage, Ui->BackupsTabPage};
        QCOMPARE(Ui->MainTabControl->Count(), pages.size());
        for (int i = 0; i < pages.size(); ++i) {
            QCOMPARE(Ui->MainTabControl->Page(i), pages[i]);
            QCOMPARE(pages[i]->Text(), QString());
        }
        const QList<ZTabPage*> days = {Ui->SunPage, Ui->MonPage, Ui->TuesPage, Ui->WedPage,
                                       Ui->ThurPage, Ui->FriPage, Ui->SatPage};
        const QStringList names = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
        QCOMPARE(Ui->WeekTabControl->Count(), days.size());
        for (int i = 0; i < days.size(); ++i) {
            QCOMPARE(Ui->WeekTabControl->Page(i), days[i]);
            QCOMPARE(days[i]->Text(), names[i]);
        }
    }

    // The ends of the families and the week-page copies, written out here rather than read from the table:
    // a fault in expanding `A to B (k = 0..n)` or the day digit would pass the table comparison.
    void familiesExpand()
    {
        const struct
        {
            QWidget* Widget;
            QWidget* Parent;
            QRect Geometry;
        } cases[] = {
            {Ui->BookmarkButton10, Ui->SettingBookmarkPanel, QRect(20, 290, 90, 30)},
            {Ui->DeviceInfoLabel16, Ui->ScrollArea, QRect(350, 200, 100, 26)},
            {Ui->BaseSettingLabel08, Ui->ScrollArea, QRect(20, 740, 180, 26)},
            {Ui->GroupLineEdit10, Ui->ScrollArea, QRect(470, 1610, 60, 26)},
            {Ui->GroupComboBox6, Ui->ScrollArea, QRect(535, 1490, 120, 26)},
            {Ui->NetSettingLabel07, Ui->ScrollArea, QRect(20, 1940, 100, 26)},
            {Ui->SMDRSettingLabel12, Ui->SwitchSettingPanel, QRect(300, 160, 100, 26)},
            {Ui->SMDRSettingLabel23, Ui->SMDRSettingPanel, QRect(300, 130, 120, 26)},
            {Ui->RecordTimeQuantumLabel07, Ui->ScrollArea, QRect(20, 3550, 60, 26)},
            {Ui->TimeQuantumCheckBox6_2, Ui->ScrollArea, QRect(290, 3550, 70, 26)},
            {Ui->TimeQuantumPicker6_3, Ui->ScrollArea, QRect(570, 3550, 120, 25)},
            {Ui->ScheduledRestartCheckBox7, Ui->ScrollArea, QRect(560, 3750, 90, 26)},
            {Ui->VLabel4, Ui->ScrollArea, QRect(150, 1280, 30, 26)},
            {Ui->ReplyTimeSlotPicker7_3, Ui->SatPage, QRect(90, 103, 120, 25)},
            {Ui->AutoReplyCopyToButton4, Ui->WedPage, QRect(220, 134, 121, 26)},
            {Ui->AllDayLongReplyComboBox1, Ui->SunPage, QRect(220, 10, 120, 26)},
        };
        for (const auto& c : cases) {
            QCOMPARE(c.Widget->parentWidget(), c.Parent);
            QCOMPARE(c.Widget->geometry(), c.Geometry);
        }
        // A week page's twelve widgets in their creation order.
        QStringList order;
        for (QObject* child : Ui->SatPage->children()) {
            if (ByName.count(child->objectName()))
                order << child->objectName();
        }
        QCOMPARE(order, QStringList({"ReplyTimeSlotCheckBox7_2", "ReplyTimeSlotComboBox7_1", "ReplyTimeSlotPicker7_2",
                                     "ReplyTimeSlotPicker7_3", "ReplyTimeSlotPicker7_1", "ReplyTimeSlotComboBox7_3",
                                     "AutoReplyCopyToButton7", "ReplyTimeSlotComboBox7_2", "ReplyTimeSlotCheckBox7_3",
                                     "AllDayLongReplyComboBox7", "AllDayLongReplyCheckBox7", "ReplyTimeSlotCheckBox7_1"}));
    }

    void minimumSizeHolds()
    {
        Form->resize(800, 500);
        Settle();
        QCOMPARE(Form->size(), QSize(1024, 660));
        Form->HostWindow()->resize(300, 200);
        Settle();
        QVERIFY(Form->width() >= 1024 && Form->height() >= 660);
    }

    // Widened by 300 and raised by 100: exactly the named widgets move or grow.
    void widenedAndRaised()
    {
        VisitPages();
        std::map<QWidget*, QRect> before;
        for (QWidget* w : Undocked())
            before[w] = w->geometry();
        Form->resize(1324, 760);
        Settle();
        QCOMPARE(Form->size(), QSize(1324, 760));
        VisitPages();

        const std::map<QWidget*, QRect> changed = {
            {Ui->PlayerTrackBar, QRect(300, 22, 750, 26)},
            {Ui->PlayerTimeLabel2, QRect(1060, 22, 40, 26)},
            {Ui->PlayerVolumeTrackBar, QRect(1150, 22, 120, 26)},
            {Ui->PlayerVolumeLabel, QRect(1280, 22, 40, 26)},
            {Ui->MuteButton, QRect(1120, 26, 18, 19)},
            {Ui->SkinButton, QRect(1144, 0, 45, 50)},
            {Ui->DeviceManageButton, QRect(1099, 0, 45, 50)},
            {Ui->DialButton, QRect(1054, 0, 45, 50)},
        };
        QStringList faults;
        for (const auto& [w, old] : before) {
            const auto it = changed.find(w);
            const QRect want = it == changed.end() ? old : it->second;
            if (w->geometry() != want)
                faults << w->objectName() + QStringLiteral(" at %1,%2 %3x%4").arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height());
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));

        // The docked widgets take the extra width and height.
        QCOMPARE(Ui->PlayerPanel->geometry(), QRect(0, 690, 1324, 70));
        QCOMPARE(Ui->MainTabControl->geometry(), QRect(0, 50, 1324, 640));
        QCOMPARE(Ui->MonitorGridList->size(), QSize(1203, 600));
        QCOMPARE(Ui->MonitorDeviceTabPanel->size(), QSize(1203, 40));
        QCOMPARE(Ui->RecordGridList->size(), QSize(1203, 500));
        QCOMPARE(Ui->RecordDeviceTabPanel->size(), QSize(1203, 140));
        QCOMPARE(Ui->OnlineUserGridList->size(), QSize(1203, 600));
        QCOMPARE(Ui->ContactsTreeView->size(), QSize(161, 640));
        QCOMPARE(Ui->ContactsNameLabel->size(), QSize(1042, 35));
        QCOMPARE(Ui->ContactsGridList->size(), QSize(1042, 605));
        QCOMPARE(Ui->BackupsPagePanel1->geometry(), QRect(1, 0, 1203, 40));
        QCOMPARE(Ui->StorageScrollPanel->geometry(), QRect(1, 40, 1203, 140));
        QCOMPARE(Ui->BackupsPagePanel2->geometry(), QRect(1, 180, 1203, 40));
        QCOMPARE(Ui->BackupsStatusItemList->geometry(), QRect(1, 220, 1203, 420));
        QCOMPARE(Ui->SettingBookmarkPanel->geometry(), QRect(1, 45, 150, 595));
        QCOMPARE(Ui->SettingScrollPanel->geometry(), QRect(151, 45, 1053, 595));
    }

    // At the minimum size the docked widgets stand at their design geometry.
    void dockedAtDesignSize()
    {
        VisitPages();
        QStringList faults;
        for (const QJsonValue& value : Table.value(QLatin1String("widgets")).toArray()) {
            const QJsonObject entry = value.toObject();
            QWidget* w = ByName.at(entry.value(QLatin1String("name")).toString());
            if (!IsDocked(w) || qobject_cast<ZScrollPanel*>(w->parentWidget()) || w == Ui->ScrollArea ||
                w == Ui->StorageScrollArea)
                continue;
            if (w->geometry() != RectOf(entry.value(QLatin1String("geometry")).toArray()))
                faults << w->objectName() + QStringLiteral(" at %1,%2 %3x%4").arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height());
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        for (ZTabPage* page : {Ui->MonitorTabPage, Ui->SettingTabPage, Ui->BackupsTabPage})
            QCOMPARE(page->geometry(), QRect(120, 0, 904, 540));
    }

    // The record page's criteria and the settings page right after the build.
    void buildTimeStates()
    {
        const QList<QWidget*> takesInput = {
            Ui->SearchTargetComboBox, Ui->SearchDeviceComboBox, Ui->SearchPhoneNumCheckBox,
            Ui->SearchStartTimeCheckBox, Ui->SearchPhoneNumNameCheckBox, Ui->SearchEndTimeCheckBox,
            Ui->SearchRecordTypeCheckBox, Ui->SearchNotesCheckBox, Ui->SearchTime1CheckBox,
            Ui->SearchTime2CheckBox, Ui->SearchTime3CheckBox, Ui->SearchChannelCheckBox,
            Ui->SearchTalkTimeCheckBox, Ui->RecordStatisticsButton, Ui->SearchRecordButton, Ui->SearchTalkTimeLabel};
        int criteria = 0;
        for (const Member& m : Members(*Ui)) {
            if (m.Widget->parentWidget() != Ui->RecordDeviceTabPanel)
                continue;
            ++criteria;
            QVERIFY2(m.Widget->isEnabled() == takesInput.contains(m.Widget), qPrintable(m.Name));
        }
        QCOMPARE(criteria, 27);
        QVERIFY(Ui->SearchTargetCheckBox->Checked());
        QVERIFY(Ui->SearchDeviceCheckBox->Checked());
        Ui->MainTabControl->SetSelectedIndex(1);
        Settle();
        QTest::mouseClick(Ui->SearchTargetCheckBox, Qt::LeftButton);
        QVERIFY(Ui->SearchTargetCheckBox->Checked());

        // No date before 2018-01-01.
        for (QDateTimeEdit* edit : {Ui->SearchStartDateTimeEdit, Ui->SearchEndDateTimeEdit}) {
            edit->setDateTime(QDateTime(QDate(2017, 12, 31), QTime(23, 59)));
            QCOMPARE(edit->dateTime(), QDateTime(QDate(2018, 1, 1), QTime(0, 0)));
            QVERIFY(edit->calendarPopup());
            QCOMPARE(edit->displayFormat(), QStringLiteral("yyyy / MM / dd   HH : mm"));
        }
        // The talk-time edits take digits only, at most six.
        for (ZLineEdit* edit : {Ui->SearchTalkTimeLowLineEdit, Ui->SearchTalkTimeHighLineEdit}) {
            edit->setEnabled(true);
            edit->setFocus();
            QTest::keyClicks(edit, QStringLiteral("12a3456789"));
            QCOMPARE(edit->Text(), QStringLiteral("123456"));
        }

        // Settings page.
        QVERIFY(Ui->SMDRTextEditLine->isEnabled());
        QVERIFY(Ui->SMDRTextEditLine->ReadOnly());
        int boxes = 0;
        for (const Member& m : Members(*Ui)) {
            auto* box = qobject_cast<ZCheckBox*>(m.Widget);
            if (!box)
                continue;
            ++boxes;
            const bool ticked = box == Ui->SMDRSwitchCheckBox1 || box == Ui->SearchTargetCheckBox ||
                                box == Ui->SearchDeviceCheckBox;
            QVERIFY2(box->Checked() == ticked, qPrintable(m.Name));
        }
        QCOMPARE(boxes, 95);
        QCOMPARE(Ui->WeekTabControl->SelectedIndex(), 6);
        QVERIFY(Ui->SatPage->isVisibleTo(Ui->WeekTabControl));
        QVERIFY(!Ui->SunPage->isVisibleTo(Ui->WeekTabControl));
        QCOMPARE(Ui->ReserveSpaceTrackBar->Minimum(), 10);
        QCOMPARE(Ui->ReserveSpaceTrackBar->Maximum(), 30);
        QCOMPARE(Ui->ReserveSpaceLabel->Text(), QStringLiteral("10%"));
        QCOMPARE(Ui->SearchChannelButton->Text(), QStringLiteral("Select Channel"));
        for (ZButton* b : {Ui->UpdateLogButton, Ui->DownloadLogButton, Ui->DeleteLogButton})
            QVERIFY(b->geometry().bottom() + 1 == 4345 && 4345 <= Ui->SettingScrollPanel->ScrollAreaSize().height());
    }

    // The scroll panels take their content panels once shown; the settings content starts at the top.
    void scrollPanelsAdoptTheirContent()
    {
        Ui->MainTabControl->SetSelectedIndex(3);
        Settle();
        QCOMPARE(Ui->SettingScrollPanel->ScrollWidget(), Ui->ScrollArea);
        QCOMPARE(Ui->ScrollArea->y(), 0);
        QCOMPARE(Ui->ScrollArea->height(), 4500);
        Ui->MainTabControl->SetSelectedIndex(5);
        Settle();
        QCOMPARE(Ui->StorageScrollPanel->ScrollWidget(), Ui->StorageScrollArea);
    }

    // No two undocked siblings overlap (tab pages aside), at the design size.
    void noUndockedSiblingsOverlap()
    {
        VisitPages();
        std::map<QWidget*, std::vector<QWidget*>> siblings;
        for (QWidget* w : Undocked())
            siblings[w->parentWidget()].push_back(w);
        QStringList faults;
        for (const auto& [parent, list] : siblings) {
            for (size_t i = 0; i < list.size(); ++i)
                for (size_t j = i + 1; j < list.size(); ++j)
                    if (list[i]->geometry().intersects(list[j]->geometry()))
                        faults << list[i]->objectName() + QStringLiteral(" / ") + list[j]->objectName();
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    void imagesLoadAtTheirSizes()
    {
        const QJsonArray images = Table.value(QLatin1String("images")).toArray();
        QCOMPARE(images.size(), 23);
        for (const QJsonValue& value : images) {
            const QJsonObject image = value.toObject();
            const QString path = image.value(QLatin1String("path")).toString();
            const QImage loaded(path);
            QVERIFY2(!loaded.isNull(), qPrintable(path));
            QCOMPARE(loaded.size(), SizeOf(image.value(QLatin1String("size")).toArray()));
        }
    }
};

QTEST_MAIN(TestMainFormUi)
#include "tst_mainform_ui.moc"
