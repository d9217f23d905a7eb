// Shows the device management page in a main-window stand-in on a real X display and writes screenshots into
// the folder given as the first argument, for review (scripts/screenshots-device-manage runs it under Xvfb with
// a compositor): the page with registered devices, found devices and the search bar, and the device entry editor
// refusing an ID with its tooltip. No network: the found rows are written into the search grid directly.

#include "DeviceDialogFixture.h"
#include "DeviceManageForm.h"
#include "KesDevice.h"
#include "RegisterDeviceForm.h"
#include "ZButton.h"
#include "ZLineEdit.h"
#include "ZProgressBar.h"

#include <QScreen>

#include <cstdio>

namespace {

void Save(const QString& folder, const QString& name)
{
    const QString path = QDir(folder).filePath(name);
    if (!QGuiApplication::primaryScreen()->grabWindow(0).save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void Register(const QString& name, const QString& id, const QString& address, int port, const QString& version)
{
    KesDevice* device = KesDevice::Create(name, id);
    if (device == nullptr)
        return;
    if (!address.isEmpty())
        device->SetNetAddr(address, port);
    device->Version = version;
    if (!DeviceManage::AddDevice(device))
        delete device;
}

void AddFound(ZGridList* grid, const QStringList& cells)
{
    ZGridListData* data = grid->DataSource();
    ZGridListRow* row = data->CreateRow();
    for (int i = 0; i < cells.size() && i < row->CellCount(); ++i)
        row->Cells[i] = cells[i];
    data->AddRow(row);
    grid->UpdateData();
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    DeviceDialogProgram program;
    program.MainWindow->SetBackColor(QColor(235, 238, 242));
    program.MainWindow->setGeometry(40, 40, 944, 600);
    auto* page = new DeviceManageForm(program.MainWindow.get());
    Language::Load(QStringLiteral("English"));
    Skin::Load();
    page->setGeometry(20, 30, 904, 540);
    page->show();
    program.MainWindow->show();

    Register(QStringLiteral("Front Desk"), QStringLiteral("4B000000000000000061"), QString(), 0, QString());
    Register(QStringLiteral("Call Centre"), QStringLiteral("8B000000000000000123"), QStringLiteral("10.213.7.1"),
             6066, QStringLiteral("2.0.7.8"));
    Register(QStringLiteral("Warehouse"), QStringLiteral("6A000000000000000062"), QStringLiteral("192.168.1.40"),
             6066, QStringLiteral("3.1.0.0"));
    auto* found = page->findChild<ZGridList*>(QStringLiteral("SearchDeviceGridList"));
    AddFound(found, {"Yes", "KES32xxH", "64", "10.213.7.1", "6066", "8B000000000000000123", "2.0.7.8"});
    AddFound(found, {"No", "KES2216H", "16", "10.213.7.8", "6066", "6A000000000000000077", "3.0.2.1"});
    auto* bar = page->findChild<ZProgressBar*>(QStringLiteral("SearchDeviceProgressBar"));
    bar->SetValue(60);
    bar->show();

    int status = 0;
    QTimer::singleShot(500, [&] {
        Save(folder, QStringLiteral("device-manage-page.png"));
        auto* editor = page->findChild<RegisterDeviceForm*>();
        When(&app, [editor] { return editor->isVisible(); }, [&, editor] {
            QTest::keyClicks(editor->findChild<ZLineEdit*>(QStringLiteral("DeviceIDLineEdit")),
                             QStringLiteral("4B0000000/0000000051"));
            QTest::keyClicks(editor->findChild<ZLineEdit*>(QStringLiteral("DeviceNameLineEdit")),
                             QStringLiteral("Lobby"));
            QTest::mouseClick(editor->findChild<ZButton*>(QStringLiteral("RegisterButton")), Qt::LeftButton);
            QTimer::singleShot(500, [&, editor] {
                Save(folder, QStringLiteral("register-device-tooltip.png"));
                editor->exit(0);
            });
        });
        editor->Exec(QString());
        delete page;
        app.quit();
    });
    app.exec();
    return status;
}
