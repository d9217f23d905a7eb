#include "RecordStatisticsForm.h"

#include "DialogFrame.h"
#include "LanguageTexts.h"
#include "RecordStatistics.h"
#include "RecordStatisticsExport.h"

#include "ZGridListData.h"

#include "ui_RecordStatisticsForm.h"

#include <QFileDialog>

namespace {

// Column widths in pixels: the channel, its name, then a count and a time per counted kind.
constexpr int ColumnWidths[StatisticsColumnCount] = {60,  120, 100, 100, 120, 100, 120, 100, 120, 100,
                                                     120, 100, 120, 100, 120, 100, 120, 100, 120};

QString AskWithFileDialog()
{
    return QFileDialog::getSaveFileName(nullptr, QString(), QString(), QStringLiteral("Excel(*.xlsx)"));
}

} // namespace

std::function<QString()> RecordStatisticsForm::AskExportFileName = AskWithFileDialog;

RecordStatisticsForm::RecordStatisticsForm(QWidget* parent) : ZForm(parent), ui(new Ui::RecordStatisticsForm)
{
    ui->setupUi(this);
    for (int width : ColumnWidths)
        ui->GridList->AddColumn(width, QString());
    ui->GridList->ApplyColumn();
    FollowLanguageAndSkin(this);
}

RecordStatisticsForm::~RecordStatisticsForm()
{
    // The grid must not point at the table while it goes.
    ui->GridList->SetDataSource(nullptr);
    delete m_Table;
    delete ui;
}

int RecordStatisticsForm::Exec(ZGridListData* records)
{
    if (!records || !records->RowsVisible)
        return 0;
    ZGridListData* table = CountRecordStatistics(*records, TextMisc025);
    ui->GridList->SetDataSource(table);
    ui->GridList->UpdateData();
    delete m_Table;
    m_Table = table;
    return exec(true);
}

void RecordStatisticsForm::on_ConfirmButton_Clicked()
{
    exit(0);
}

void RecordStatisticsForm::on_ExportButton_Clicked()
{
    const ZGridListData* table = ui->GridList->DataSource();
    if (!table)
        return;
    const QString path = AskExportFileName ? AskExportFileName() : QString();
    if (path.isEmpty())
        return;
    QStringList headers;
    for (const ZGridListColumn& column : ui->GridList->Columns)
        headers.append(column.Text);
    // A save that did not reach the disk is reported: the operator would otherwise look for a file that is not
    // there. Success needs no message: the window stays open on the same table.
    if (!ExportRecordStatistics(*table, headers, path))
        ShowResultTip(false, TextTips002, this);
}

void RecordStatisticsForm::LanguageChangedEvent()
{
    Language::ApplyLanguage(this);
}

void RecordStatisticsForm::SkinChangedEvent()
{
    ApplyDialogSkin(this);
}
