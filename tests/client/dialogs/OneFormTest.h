#pragma once

// The base of a test of one long-lived dialog: before each test function the device dialogs' program (English,
// wait panel, a shown main window) and the dialog, made as the main window makes it, then named and coloured by
// a language load and a skin change; both go after each function. Also the operator's way through a picker.

#include "DeviceDialogFixture.h"

#include "ZCheckBox.h"
#include "ZForm.h"

#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

class OneFormTest : public QObject
{
    Q_OBJECT

protected:
    // The dialog under test, with the main window as parent.
    virtual ZForm* MakeForm(QWidget* mainWindow) = 0;

    std::unique_ptr<DeviceDialogProgram> m_Program;
    ZForm* m_Dialog = nullptr;

protected slots:
    void init()
    {
        m_Program = std::make_unique<DeviceDialogProgram>();
        m_Program->MainWindow->show();
        m_Dialog = MakeForm(m_Program->MainWindow.get());
        Language::Load(QStringLiteral("English"));
        emit g_Skin->SkinChanged();
    }
    void cleanup()
    {
        delete m_Dialog;
        m_Dialog = nullptr;
        m_Program.reset();
    }
};

// The boxes as '1'/'0' characters: checked, or live (enabled).
inline QString BoxStates(const std::vector<ZCheckBox*>& boxes, bool live)
{
    QString text;
    for (const ZCheckBox* box : boxes)
        text += (live ? box->isEnabled() : box->Checked()) ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

// What a picker showed during one run.
struct PickerRun {
    QString Shown;  // the boxes checked as it opened
    QString Live;   // and live
    QString After;  // checked after the clicks
};

// Starts `exec` (the picker's Exec call, returning its result); once `form` shows, notes `boxes`, clicks the
// boxes numbered in `clicks` (-1: `selectAll`), notes them again and presses Confirm or Cancel.
inline int ClickThrough(QObject* owner, ZForm* form, const std::vector<ZCheckBox*>& boxes, ZCheckBox* selectAll,
                        const QList<int>& clicks, bool confirm, const std::function<int()>& exec, PickerRun* run)
{
    When(owner, [form] { return form->isVisible(); }, [&] {
        run->Shown = BoxStates(boxes, false);
        run->Live = BoxStates(boxes, true);
        for (int n : clicks)
            QTest::mouseClick(n < 0 ? selectAll : boxes[static_cast<size_t>(n)], Qt::LeftButton);
        run->After = BoxStates(boxes, false);
        QTest::mouseClick(form->findChild<QWidget*>(confirm ? QStringLiteral("ConfirmButton")
                                                             : QStringLiteral("CancelButton")),
                          Qt::LeftButton);
    });
    return exec();
}
