#include "GridListSetting.h"

#include "DataFolder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>
#include <iterator>

GridListSettingData GridListSetting;

namespace {

const char* const kFileName = "GridListSetting";

const int kDefaultMonitorWidth[GridListSettingData::kMonitorColumns] = {100, 60, 100, 60, 60, 60,
                                                                        60,  80, 110, 110, 100};
const int kDefaultRecordWidth[GridListSettingData::kRecordColumns] = {40, 130, 60,  100, 70, 70,
                                                                      50, 110, 100, 70,  80, 112};
const int kDefaultContactsColumns[GridListSettingData::kContactsColumns] = {40,  80,  60,  80, 80,
                                                                            100, 100, 100, 100};

constexpr int kMinColumnWidth = 10;
constexpr int kMaxColumnWidth = 10000;

// A JSON number that is a whole int, else `fallback`.
int WholeNumber(const QJsonValue& value, int fallback)
{
    if (!value.isDouble())
        return fallback;
    const double d = value.toDouble();
    if (std::floor(d) != d || d < INT32_MIN || d > INT32_MAX)
        return fallback;
    return static_cast<int>(d);
}

template <int N>
void ReadWidths(const QJsonArray& array, int (&widths)[N], const int (&defaults)[N])
{
    for (int i = 0; i < N; ++i) {
        const int width = i < array.size() ? WholeNumber(array.at(i), 0) : 0;
        widths[i] = width >= kMinColumnWidth && width <= kMaxColumnWidth ? width : defaults[i];
    }
}

template <int N>
QByteArray WidthArray(const int (&widths)[N])
{
    QByteArray text = "[\n";
    for (int i = 0; i < N; ++i)
        text += "        " + QByteArray::number(widths[i]) + (i + 1 < N ? ",\n" : "\n");
    return text + "    ]";
}

} // namespace

void DefaultGridListSetting()
{
    std::copy(std::begin(kDefaultMonitorWidth), std::end(kDefaultMonitorWidth), GridListSetting.MonitorWidth);
    std::copy(std::begin(kDefaultRecordWidth), std::end(kDefaultRecordWidth), GridListSetting.RecordWidth);
    std::copy(std::begin(kDefaultContactsColumns), std::end(kDefaultContactsColumns),
              GridListSetting.ContactsColumns);
}

void ParseGridListSetting(const QByteArray& json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        DefaultGridListSetting();
        return;
    }
    const QJsonObject object = document.object();
    GridListSetting.Width = WholeNumber(object.value("Width"), 0);
    GridListSetting.Height = WholeNumber(object.value("Height"), 0);

    const QJsonArray monitor = object.value("MonitorWidth").toArray();
    const QJsonArray record = object.value("RecordWidth").toArray();
    const QJsonArray contacts = object.value("ContactsColumns").toArray();
    if (monitor.isEmpty() || record.size() != GridListSettingData::kRecordColumns || contacts.isEmpty()) {
        DefaultGridListSetting();
        return;
    }
    ReadWidths(monitor, GridListSetting.MonitorWidth, kDefaultMonitorWidth);
    ReadWidths(record, GridListSetting.RecordWidth, kDefaultRecordWidth);
    ReadWidths(contacts, GridListSetting.ContactsColumns, kDefaultContactsColumns);
}

void LoadGridListSetting()
{
    QByteArray json;
    if (!ReadDataFile(kFileName, &json)) {
        DefaultGridListSetting();
        return;
    }
    ParseGridListSetting(json);
}

QByteArray GridListSettingJson()
{
    // Written by hand in the JSON writer's indented form: QJsonObject would sort the keys, and the file keeps
    // them in the order a reader meets them (size first, then the grids left to right on the tab strip).
    QByteArray json = "{\n";
    json += "    \"Width\": " + QByteArray::number(GridListSetting.Width) + ",\n";
    json += "    \"Height\": " + QByteArray::number(GridListSetting.Height) + ",\n";
    json += "    \"MonitorWidth\": " + WidthArray(GridListSetting.MonitorWidth) + ",\n";
    json += "    \"RecordWidth\": " + WidthArray(GridListSetting.RecordWidth) + ",\n";
    json += "    \"ContactsColumns\": " + WidthArray(GridListSetting.ContactsColumns) + "\n";
    json += "}\n";
    return json;
}

bool SaveGridListSetting()
{
    return SaveDataFile(kFileName, GridListSettingJson());
}
