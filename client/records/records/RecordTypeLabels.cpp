#include "records/RecordTypeLabels.h"

// The English list until the language texts are part of the client core.
const QString& RecordTypeLabelList()
{
    static const QString english = QStringLiteral(
        "Inbound|Outbound|Missed|Key Control|Voice Trigger|Continuous|Auto-Answer|Timing|Polarity");
    return english;
}
