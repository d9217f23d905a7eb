// The device entry editor as the operator meets it: what is typed (or preset) against what comes back, a
// refusal as a tooltip at the field concerned (the window stays open), an acceptance with the trimmed texts.

#include "DeviceDialogFixture.h"
#include "KesDevice.h"
#include "RegisterDeviceForm.h"
#include "ZButton.h"
#include "ZLineEdit.h"

#include <QToolTip>

namespace {

const QString kRegisteredId = QStringLiteral("4B000000000000000051");
const QString kRegisteredName = QStringLiteral("Front Desk");

// What one Register press gave: the tooltip's text and the field it points at, or the run's result.
struct Outcome {
    QString Tip;
    QString Field;
    int Result = -1;
};

}  // namespace

class TestRegisterDeviceForm : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<DeviceDialogProgram> m_Program;
    RegisterDeviceForm* m_Form = nullptr;

    ZLineEdit* IdEdit() const { return m_Form->findChild<ZLineEdit*>(QStringLiteral("DeviceIDLineEdit")); }
    ZLineEdit* NameEdit() const { return m_Form->findChild<ZLineEdit*>(QStringLiteral("DeviceNameLineEdit")); }
    ZButton* Button(const char* name) const { return m_Form->findChild<ZButton*>(QLatin1String(name)); }

    QString TipField() const { return TipFieldAmong({IdEdit(), NameEdit()}); }

    // Opens the editor with `preset`, types `id` (when the field is open) and `name` as keys, presses Register
    // and notes what happened; a run still open afterwards is cancelled.
    Outcome Press(const QString& preset, const QString& id, const QString& name)
    {
        Outcome outcome;
        QToolTip::hideText();
        When(this, [this] { return m_Form->isVisible(); }, [&] {
            if (IdEdit()->isEnabled())
                QTest::keyClicks(IdEdit(), id);
            QTest::keyClicks(NameEdit(), name);
            QTest::mouseClick(Button("RegisterButton"), Qt::LeftButton);
            // Accepted, the run ends as soon as this returns; refused, a tooltip shows and the window stays.
            if (QToolTip::isVisible()) {
                outcome.Tip = QToolTip::text();
                outcome.Field = TipField();
                QTest::mouseClick(Button("CancelButton"), Qt::LeftButton);
            }
        });
        outcome.Result = m_Form->Exec(preset);
        return outcome;
    }

private slots:
    void init()
    {
        m_Program = std::make_unique<DeviceDialogProgram>();
        m_Program->MainWindow->show();
        KesDevice* device = KesDevice::Create(kRegisteredName, kRegisteredId);
        QVERIFY(device != nullptr);
        QVERIFY(DeviceManage::AddDevice(device));
        m_Form = new RegisterDeviceForm(m_Program->MainWindow.get());
    }
    void cleanup()
    {
        delete m_Form;
        m_Form = nullptr;
        m_Program.reset();
    }

    void registerPress_data()
    {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tip");     // empty: accepted
        QTest::addColumn<QString>("field");   // of the tip
        QTest::addColumn<QString>("gotId");   // when accepted
        QTest::addColumn<QString>("gotName");

        const QString idField = QStringLiteral("DeviceIDLineEdit");
        const QString nameField = QStringLiteral("DeviceNameLineEdit");
        const QString empty = QStringLiteral("Device ID can't be empty");
        const QString invalid = QStringLiteral("Device ID is invalid");
        const QString taken = QStringLiteral("Device has been registered");
        QTest::newRow("blank ID") << "" << "    " << "Lobby" << empty << idField << "" << "";
        QTest::newRow("19 characters") << "" << "4B00000000000000005" << "Lobby" << invalid << idField << "" << "";
        QTest::newRow("21 characters") << "" << "4B0000000000000000510" << "Lobby" << invalid << idField << "" << "";
        QTest::newRow("no such model") << "" << "E0000000000000000051" << "Lobby" << invalid << idField << "" << "";
        QTest::newRow("lower-case model") << "" << "b0000000000000000051" << "Lobby" << invalid << idField << ""
                                          << "";
        QTest::newRow("slash inside") << "" << "4B0000000/0000000051" << "Lobby" << invalid << idField << "" << "";
        QTest::newRow("dots inside") << "" << "4B00000000..00000051" << "Lobby" << invalid << idField << "" << "";
        QTest::newRow("blank inside") << "" << "4B000000000 00000051" << "Lobby" << invalid << idField << "" << "";
        QTest::newRow("non-ASCII inside") << "" << QString::fromUtf8("4B00000000\xc3\x84""000000051") << "Lobby"
                                          << invalid << idField << "" << "";
        QTest::newRow("registered ID typed") << "" << kRegisteredId << "Lobby" << taken << idField << "" << "";
        QTest::newRow("registered ID preset") << kRegisteredId << "" << "Lobby" << taken << idField << "" << "";
        QTest::newRow("blank name") << "" << "4B000000000000000052" << "   " << "Name can't be empty" << nameField
                                    << "" << "";
        QTest::newRow("registered name") << "" << "4B000000000000000052" << kRegisteredName << "Name repeated"
                                         << nameField << "" << "";
        QTest::newRow("invalid ID, empty name") << "" << "4B00000000000000005" << "" << invalid << idField << ""
                                                << "";
        QTest::newRow("name differing in case") << "" << "4B000000000000000052" << kRegisteredName.toUpper() << ""
                                                << "" << "4B000000000000000052" << kRegisteredName.toUpper();
        // IDs compare case-sensitively, as the recorders give them.
        QTest::newRow("registered ID in other case") << "" << "4b000000000000000051" << "Lobby" << "" << ""
                                                     << "4b000000000000000051" << "Lobby";
        QTest::newRow("spaces trimmed") << "" << "  6A000000000000000053 " << "  Back Office  " << "" << ""
                                        << "6A000000000000000053" << "Back Office";
        QTest::newRow("found ID preset") << "6A000000000000000054" << "" << "Store" << "" << ""
                                         << "6A000000000000000054" << "Store";
    }

    void registerPress()
    {
        QFETCH(QString, preset);
        QFETCH(QString, id);
        QFETCH(QString, name);
        QFETCH(QString, tip);
        QFETCH(QString, field);
        QFETCH(QString, gotId);
        QFETCH(QString, gotName);

        const Outcome outcome = Press(preset, id, name);
        QCOMPARE(outcome.Tip, tip);
        QCOMPARE(outcome.Field, field);
        QCOMPARE(outcome.Result, tip.isEmpty() ? 1 : 0);
        if (tip.isEmpty()) {
            QCOMPARE(m_Form->ID, gotId);
            QCOMPARE(m_Form->Name, gotName);
        }
        QCOMPARE(IdEdit()->isEnabled(), preset.isEmpty());
        QVERIFY(!m_Form->isVisible());
    }

    // Each opening clears the name and shows the newly given ID; a refusal before does not carry over.
    void reopeningStartsAfresh()
    {
        Outcome first = Press(QString(), QStringLiteral("4B000000000000000052"), kRegisteredName);
        QCOMPARE(first.Tip, QStringLiteral("Name repeated"));
        QString nameAtOpen = QStringLiteral("<not opened>");
        QString idAtOpen;
        When(this, [this] { return m_Form->isVisible(); }, [&] {
            nameAtOpen = NameEdit()->Text();
            idAtOpen = IdEdit()->Text();
            m_Form->hide();  // closed other than by a button: not accepted
        });
        QCOMPARE(m_Form->Exec(QStringLiteral("6A000000000000000054")), 0);
        QCOMPARE(nameAtOpen, QString());
        QCOMPARE(idAtOpen, QStringLiteral("6A000000000000000054"));
    }
};

QTEST_MAIN(TestRegisterDeviceForm)
#include "tst_register_device_form.moc"
