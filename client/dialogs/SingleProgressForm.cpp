#include "SingleProgressForm.h"

#include "ui_SingleProgressForm.h"

#include "DialogFrame.h"

#include <QEvent>

SingleProgressForm::SingleProgressForm(const QString& title, QWidget* parent)
    : ZForm(parent), ui(new Ui::SingleProgressForm)
{
    ui->setupUi(this);
    ApplyDialogSkin(this);
    ui->ProgressBar->SetForeColor(g_ThemeColor);
    SetTitle(title);
    HostWindow()->installEventFilter(this);
}

SingleProgressForm::~SingleProgressForm()
{
    HostWindow()->removeEventFilter(this);
    delete ui;
}

void SingleProgressForm::SetText(const QString& text)
{
    ui->ContentLabel->SetText(text);
}

void SingleProgressForm::SetButtonText(const QString& text)
{
    ui->CancelButton->SetText(text);
}

void SingleProgressForm::SetValue(int value)
{
    ui->ProgressBar->SetValue(value);
}

void SingleProgressForm::on_CancelButton_Clicked()
{
    emit CancelButtonClicked();
}

bool SingleProgressForm::eventFilter(QObject* watched, QEvent* event)
{
    // Closing the window would end the run with the worker still going and no result shown: the close is
    // turned into the button's press, whose handler cancels first and closes once the work has ended.
    if (watched == HostWindow() && event->type() == QEvent::Close) {
        event->ignore();
        emit CancelButtonClicked();
        return true;
    }
    return ZForm::eventFilter(watched, event);
}
