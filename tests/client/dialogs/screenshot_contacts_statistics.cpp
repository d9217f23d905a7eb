// Shows the call statistics window (a small record list of two channels) and the contact editor (editing a
// contact) over a main-window stand-in on a real X display, in English and in German, and writes screenshots
// into the folder given as the first argument, for review (scripts/screenshots-contacts-statistics runs it under
// Xvfb with a compositor).
#include "DialogTestSupport.h"

#include "ContactsEditForm.h"
#include "RecordStatisticsForm.h"

#include "contacts/Contacts.h"

#include "ZGridListData.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

// Channel index, channel name, record type, talk seconds.
struct Record
{
    int Channel;
    const char* Name;
    int Type;
    int Seconds;
};

void AddRecords(ZGridListData& list)
{
    const Record records[] = {{5, "Reception", 2, 12}, {5, "Reception", 0, 3725}, {1, "Sales", 7, 59},
                              {1, "Sales", 5, 600},    {1, "Sales", 1, 185},       {0, "Front desk", 6, 30}};
    for (const Record& record : records) {
        ZGridListRow* row = list.CreateRow();
        row->Cells[2].Value = record.Channel;
        row->Cells[3] = QString::fromLatin1(record.Name);
        row->Cells[4].Value = record.Type;
        row->Cells[5].Value = record.Seconds;
        list.AddRow(row);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    DialogEnvironment environment;
    InitContacts();
    QDir().mkpath(ContactsRoot + QStringLiteral("/Customers"));
    for (const char* key : {"/Customers/North", "/Customers/South", "/Suppliers"})
        CreateContactsFile(ContactsRoot + QLatin1String(key));
    ReloadContacts();

    auto main = MakeMainWindow(1660, 640);
    main->move(20, 20);
    main->SetTitle(QStringLiteral("Main window"));
    main->SetTitleHeight(36);
    main->SetBackColor(QColor(240, 243, 246));
    RecordStatisticsForm statistics(main.get());
    ContactsEditForm editor(main.get());
    emit g_Skin->SkinChanged();
    main->SetTitleBackColor(g_ThemeColor);

    ZGridListData records(12);
    AddRecords(records);
    editor.BookPath = QStringLiteral("/Customers/South");
    editor.Contact.Name = QStringLiteral("Ann Lee");
    editor.Contact.Gender = 1;
    editor.Contact.Company = QStringLiteral("Acme Trading");
    editor.Contact.Duty = QStringLiteral("Buyer");
    editor.Contact.PhoneNum = QStringLiteral("5551234;5551235");
    editor.Contact.CompanyNum = QStringLiteral("5550000");
    editor.Contact.CompanyAddr = QStringLiteral("1 Harbour Road");
    editor.Contact.Notes = QStringLiteral("Calls back on Mondays.\nPrefers mornings.");

    int failures = 0;
    auto grab = [&](ZForm* form, const QString& name) {
        const QRect around = form->HostWindow()->frameGeometry().adjusted(-10, -10, 10, 10);
        const QPixmap shot =
            QApplication::primaryScreen()->grabWindow(0, around.x(), around.y(), around.width(), around.height());
        if (!shot.save(out.filePath(name)))
            ++failures;
    };
    auto later = [](int ms, std::function<void()> step) { QTimer::singleShot(ms, step); };

    later(400, [&]() {
        for (const QString& language : {QStringLiteral("English"), QStringLiteral("Deutsche")}) {
            Language::Load(language);
            const QString suffix = language == QLatin1String("English") ? QStringLiteral("en") : QStringLiteral("de");
            editor.UpdateBookList();
            later(500, [&]() {
                grab(&statistics, QStringLiteral("record-statistics-%1.png").arg(suffix));
                statistics.exit(0);
            });
            statistics.Exec(&records);
            later(500, [&]() {
                grab(&editor, QStringLiteral("contact-editor-%1.png").arg(suffix));
                editor.exit(0);
            });
            editor.Exec(true, QString());
        }
        app.quit();
    });
    app.exec();
    FreeContacts();
    return failures == 0 ? 0 : 1;
}
