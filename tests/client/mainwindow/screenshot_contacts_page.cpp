// Shows the real main window on the contacts page over a small phone book (two groups, three books, one open
// with a contact ticked and one selected) on a real X display and writes a screenshot into the folder given as
// the first argument, for review (scripts/screenshots-contacts-page runs it under Xvfb with a compositor).
#include "FontSetup.h"
#include "MainForm.h"
#include "MainFormUi.h"
#include "ProgramFolder.h"
#include "contacts/Contacts.h"
#include "contacts/ZFileSystemModel.h"

#include "ZGridListData.h"
#include "ZTabControl.h"
#include "ZTreeView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <cstdio>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

QByteArray Contact(const char* name, int gender, const char* company, const char* duty, const char* phone,
                   const char* companyPhone, const char* address, const char* notes)
{
    return QStringLiteral(R"({"Name": "%1", "Gender": %2, "Company": "%3", "Duty": "%4", "PhoneNum": "%5",
        "CompanyNum": "%6", "CompanyAddr": "%7", "Notes": "%8"})")
        .arg(name)
        .arg(gender)
        .arg(company, duty, phone, companyPhone, address, notes)
        .toUtf8();
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
    QApplication::setQuitOnLastWindowClosed(false);
    QTemporaryDir folder;  // data and program folder of this run only
    qputenv("XDG_DATA_HOME", folder.filePath("data").toUtf8());
    SetProgramFolder(folder.path());
    SetupApplicationFont();

    const QString contacts = folder.filePath("data/CalvoxClient/Contacts");
    WriteFile(contacts + "/Customers/Northwind",
              "{\"Contacts\": [" +
                  Contact("Ann Miller", 1, "Northwind", "Buyer", "0801;0802", "5550100", "Harbour Road 1", "calls mornings") +
                  "," + Contact("Bob Stone", 0, "Northwind", "Manager", "0803", "5550100", "Harbour Road 1", "") + "," +
                  Contact("Cid Weber", 0, "Northwind", "Driver", "0804", "", "Depot 4", "night shift") + "]}");
    WriteFile(contacts + "/Customers/Southport", "{\"Contacts\": []}");
    WriteFile(contacts + "/Suppliers/Acme", "{\"Contacts\": [" +
                                                 Contact("Dora Klein", 1, "Acme", "Sales", "0805", "5550199", "Mill Lane 7", "") +
                                                 "]}");

    MainForm form;
    if (!form.Started())
        return 1;
    form.move(20, 20);
    form.resize(1024, 660);

    int failures = 0;
    auto grab = [&](const QString& name) {
        const QRect area = form.HostWindow()->geometry();
        const QPixmap shot =
            QApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        if (!shot.save(out.filePath(name))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out.filePath(name)));
            ++failures;
        }
    };

    QTimer::singleShot(500, &app, [&]() {
        form.show();
        form.ui->MainTabControl->SetSelectedIndex(4);
        QTreeView* tree = form.ui->ContactsTreeView->TreeView;
        tree->expandAll();
        const QModelIndex customers = ContactsModel->index(0, 0);
        form.ContactsTreeItemDoubleClicked(ContactsModel->index(0, 0, customers));
        tree->setCurrentIndex(ContactsModel->index(0, 0, customers));
        ZGridList* grid = form.ui->ContactsGridList;
        ZGridListData* data = grid->DataSource();
        if (data && data->Rows.size() > 1) {
            data->Rows.at(0)->Cells[0] = true;
            grid->SelectedRow = data->Rows.at(1);
        }
        grid->update();
    });
    QTimer::singleShot(2000, &app, [&]() { grab(QStringLiteral("contacts-page.png")); });
    QTimer::singleShot(2500, &app, [&]() { app.exit(failures == 0 ? 0 : 1); });
    return app.exec();
}
