#include "VersionText.h"

#include <QRegularExpression>

bool IsVersionText(const QString& text)
{
    // Anchored at both ends of the whole text: '$' alone would also let a final line end through.
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})")));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return false;
    for (int i = 1; i <= 4; ++i) {
        if (match.captured(i).toInt() > 255)
            return false;
    }
    return true;
}
