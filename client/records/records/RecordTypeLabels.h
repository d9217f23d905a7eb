#pragma once

#include <QString>

// The '|'-separated record-type labels of the loaded language ([Device] 032), in RecordType order.
const QString& RecordTypeLabelList();
