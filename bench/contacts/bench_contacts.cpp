// Phone-book lookups per second against 5,000 and 20,000 contacts, beside walking every book per lookup (the
// plain way) and a bare hash lookup (the floor); and a workbook export of 100,000 rows x 11 columns through our
// workbook layer, beside libxlsxwriter writing the same cells directly. Each export runs in its own child
// process so that its peak memory can be read alone. Five interleaved runs of each; min/median/max and the
// ratio of medians.

#include "DataFolder.h"
#include "ZGridListData.h"
#include "contacts/Contacts.h"
#include "xlsx/XlsxDocument.h"
#include "Spread.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QVector>

#include <xlsxwriter.h>

#include <cstdio>
#include <cstdlib>
#include <vector>
#include <functional>
#include <random>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString PhoneOf(int i) { return QStringLiteral("138%1").arg(i, 8, 10, QLatin1Char('0')); }

void WriteBooks(int contacts, int books)
{
    for (int b = 0; b < books; ++b) {
        QJsonArray array;
        for (int i = b; i < contacts; i += books)
            array.append(QJsonObject{{"Name", QStringLiteral("Name %1").arg(i)}, {"Gender", i % 2},
                                     {"Company", QStringLiteral("Company %1").arg(i)}, {"Duty", "Sales"},
                                     {"PhoneNum", PhoneOf(i) + QStringLiteral(";010%1").arg(i, 7, 10, QLatin1Char('0'))},
                                     {"CompanyNum", QStringLiteral("0755%1").arg(i, 7, 10, QLatin1Char('0'))},
                                     {"CompanyAddr", "Road 1"}, {"Notes", ""}});
        QFile file(ContactsRoot + QStringLiteral("/Book%1").arg(b));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(QJsonDocument(QJsonObject{{"Contacts", array}}).toJson());
    }
}

// The lookup as a walk over every book and row, splitting the number lists each time.
QString ScanLookup(const QString& number)
{
    for (const ContactsBook* book : qAsConst(ContactsStore))
        for (const ZGridListRow* row : book->Data->Rows) {
            if (row->Cells[5].Text.split(QLatin1Char(';')).contains(number))
                return row->Cells[1].Text;
            if (row->Cells[6].Text.split(QLatin1Char(';')).contains(number))
                return row->Cells[3].Text;
        }
    return QString();
}

double PerSecond(int count, const std::function<void(int)>& lookup)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i)
        lookup(i);
    return count / (timer.nsecsElapsed() / 1e9);
}

void BenchLookups(int contacts)
{
    ClearContacts();
    for (const QString& name : QDir(ContactsRoot).entryList(QDir::Files))
        QFile::remove(ContactsRoot + QLatin1Char('/') + name);
    WriteBooks(contacts, 10);
    ReloadContacts();
    // Half the numbers are known (personal or company numbers), half are not: most calls come from strangers.
    std::mt19937 random(42);
    QVector<QString> numbers;
    for (int i = 0; i < 4096; ++i) {
        const int who = int(random() % contacts);
        numbers.append(i % 2 ? PhoneOf(who + contacts) : (i % 4 ? PhoneOf(who) : QStringLiteral("0755%1").arg(who, 7, 10, QLatin1Char('0'))));
    }
    QHash<QString, QString> floor;
    for (int i = 0; i < contacts; ++i)
        floor.insert(PhoneOf(i), QStringLiteral("Name %1").arg(i));
    int hits = 0;
    // Five interleaved runs of each, so that load from other programs weighs on all three alike.
    std::vector<double> ours, scan, bare;
    for (int run = 0; run < 5; ++run) {
        ours.push_back(PerSecond(2000000, [&](int i) { hits += !FindContactName(numbers[i & 4095], 0).isEmpty(); }));
        scan.push_back(PerSecond(contacts >= 20000 ? 400 : 1500, [&](int i) { hits += !ScanLookup(numbers[i & 4095]).isEmpty(); }));
        bare.push_back(PerSecond(2000000, [&](int i) { hits += floor.contains(numbers[i & 4095]); }));
    }
    char label[96];
    std::snprintf(label, sizeof label, "lookups, %d contacts, ours", contacts);
    bench::PrintSpread(label, ours, "/s", 48);
    std::snprintf(label, sizeof label, "lookups, %d contacts, walking every book", contacts);
    bench::PrintSpread(label, scan, "/s", 48);
    std::snprintf(label, sizeof label, "lookups, %d contacts, bare QHash (floor)", contacts);
    bench::PrintSpread(label, bare, "/s", 48);
    std::printf("ours / floor, ratio of medians %.2fx (hits %d)\n\n", bench::RatioOfMedians(ours, bare), hits);
}

constexpr int ExportRows = 100000;
constexpr int ExportColumns = 11;

// The texts of a record-list row, as the record export writes them.
QString CellText(int row, int column)
{
    switch (column) {
    case 0: return QStringLiteral("2024-03-%1 10:%2:%3").arg(1 + row % 28, 2, 10, QLatin1Char('0')).arg(row % 60, 2, 10, QLatin1Char('0')).arg(row % 59, 2, 10, QLatin1Char('0'));
    case 1: return QStringLiteral("%1").arg(1 + row % 16);
    case 2: return QStringLiteral("Line %1").arg(1 + row % 16);
    case 3: return QStringLiteral("Inbound");
    case 4: return QStringLiteral("00:%1:%2").arg(row % 60, 2, 10, QLatin1Char('0')).arg(row % 57, 2, 10, QLatin1Char('0'));
    case 5: return PhoneOf(row);
    case 6: return QStringLiteral("Name %1").arg(row % 5000);
    case 7: return QStringLiteral("80%1").arg(row % 10);
    case 8: return row % 3 ? QString() : QStringLiteral("Called back about order %1").arg(row);
    case 9: return QStringLiteral("Rings %1").arg(row % 7);
    default: return QStringLiteral("Device-%1").arg(row % 4);
    }
}

int ExportOurs(const QString& path)
{
    QXlsx::Document xlsx;
    QXlsx::Format format;
    format.setHorizontalAlignment(QXlsx::Format::AlignHCenter);
    format.setNumberFormatIndex(49);
    xlsx.setColumnFormat(1, 12, format);
    xlsx.setColumnWidth(1, 20);
    xlsx.setColumnWidth(2, 5, 10);
    xlsx.setColumnWidth(6, 12, 20);
    for (int row = 0; row < ExportRows; ++row)
        for (int column = 0; column < ExportColumns; ++column)
            xlsx.write(row + 1, column + 1, CellText(row, column));
    return xlsx.saveAs(path) ? 0 : 1;
}

int ExportDirect(const QString& path)
{
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    const QByteArray name = QFile::encodeName(path);
    lxw_workbook* workbook = workbook_new_opt(name.constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format* format = workbook_add_format(workbook);
    format_set_align(format, LXW_ALIGN_CENTER);
    format_set_num_format_index(format, 49);
    worksheet_set_column(sheet, 0, 0, 20, format);
    worksheet_set_column(sheet, 1, 4, 10, format);
    worksheet_set_column(sheet, 5, 11, 20, format);
    for (int row = 0; row < ExportRows; ++row)
        for (int column = 0; column < ExportColumns; ++column)
            worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(column), CellText(row, column).toUtf8().constData(), format);
    return workbook_close(workbook) == LXW_NO_ERROR ? 0 : 1;
}

struct ExportRun {
    double Seconds = 0;
    double PeakMiB = 0;
    double FileMiB = 0;
};

// Runs job in a child process, so that its peak memory is its own; a failed export stops the bench.
ExportRun RunExport(const char* label, const std::function<int()>& job, const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0)
        _exit(job());
    int status = 0;
    rusage usage = {};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "export %s failed\n", label);
        std::exit(1);
    }
    return {timer.nsecsElapsed() / 1e9, usage.ru_maxrss / 1024.0, path.isEmpty() ? 0 : QFileInfo(path).size() / 1048576.0};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_DataPath = dir.path();
    InitContacts();
    GenderTexts[0] = QStringLiteral("Male");
    GenderTexts[1] = QStringLiteral("Female");
    for (const int contacts : {5000, 20000})
        BenchLookups(contacts);
    FreeContacts();

    const QString ours = dir.filePath(QStringLiteral("ours.xlsx"));
    const QString direct = dir.filePath(QStringLiteral("direct.xlsx"));
    const ExportRun idle = RunExport("the program before writing", [] { return 0; }, QString());
    std::vector<double> oursSeconds, directSeconds;
    ExportRun oursRun, directRun;
    for (int run = 0; run < 5; ++run) {
        oursRun = RunExport("through our workbook layer", [&] { return ExportOurs(ours); }, ours);
        directRun = RunExport("by libxlsxwriter directly", [&] { return ExportDirect(direct); }, direct);
        oursSeconds.push_back(oursRun.Seconds);
        directSeconds.push_back(directRun.Seconds);
    }
    std::printf("export %d x %d:\n", ExportRows, ExportColumns);
    bench::PrintSpread("  our workbook layer", oursSeconds, "s", 48);
    bench::PrintSpread("  libxlsxwriter directly (peer)", directSeconds, "s", 48);
    std::printf("  ours / peer, ratio of medians %.2fx; peak RSS %.1f MiB vs %.1f MiB (the program alone %.1f MiB);"
                " file %.1f MiB vs %.1f MiB\n",
                bench::RatioOfMedians(oursSeconds, directSeconds), oursRun.PeakMiB, directRun.PeakMiB, idle.PeakMiB,
                oursRun.FileMiB, directRun.FileMiB);
    return 0;
}
