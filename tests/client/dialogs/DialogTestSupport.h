#pragma once

// Shared set-up of the dialog tests: a private program folder and data folder, the one Language and Skin
// objects the dialogs follow, and a stand-in main window to be their parent.

#include "DataFolder.h"
#include "Language.h"
#include "ProgramFolder.h"
#include "Skin.h"

#include "ZForm.h"

#include <QDir>
#include <QObject>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

class DialogEnvironment
{
public:
    DialogEnvironment()
    {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("XDG_DATA_HOME", m_Folder.filePath("data").toUtf8());
        SetProgramFolder(m_Folder.path());
        InitDataFolder();
        // Qt's test mode puts the per-user folder below ~/.qttest, shared by every test running at the same time:
        // each test's data folder is its own.
        g_DataPath = m_Folder.filePath(QStringLiteral("data/CalvoxClient"));
        QDir().mkpath(g_DataPath);
        m_Language = std::make_unique<Language>();
        m_Skin = std::make_unique<Skin>();
        Skin::SetThemeColor(QColor(82, 178, 250));
    }
    ~DialogEnvironment() { SetProgramFolder(QString()); }

    bool IsValid() const { return m_Folder.isValid(); }
    QString Path() const { return m_Folder.path(); }

private:
    QTemporaryDir m_Folder;
    std::unique_ptr<Language> m_Language;
    std::unique_ptr<Skin> m_Skin;
};

// The main window's place: an ordinary top-level form, shown, that the dialogs take as parent.
inline std::unique_ptr<ZForm> MakeMainWindow(int width = 800, int height = 600)
{
    auto main = std::make_unique<ZForm>(nullptr);
    main->setObjectName(QStringLiteral("StandInMainWindow"));
    main->resize(width, height);
    main->move(100, 80);
    main->show();
    return main;
}

// The base of a dialog test class: the environment and the shown stand-in main window (m_Main) live from
// initTestCase to cleanupTestCase, which QtTest finds by name in the derived class too. A derived class with
// its own initTestCase calls DialogTestCase::initTestCase() first (cleanupTestCase likewise, last).
class DialogTestCase : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<DialogEnvironment> m_Environment;
    std::unique_ptr<ZForm> m_Main;

protected slots:
    void initTestCase()
    {
        m_Environment = std::make_unique<DialogEnvironment>();
        if (!m_Environment->IsValid())
            qFatal("no temporary folder");
        m_Main = MakeMainWindow();
    }

    void cleanupTestCase()
    {
        m_Main.reset();
        m_Environment.reset();
    }
};
