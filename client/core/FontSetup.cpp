#include "FontSetup.h"

#include "ProgramFolder.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>

namespace {

const QString kYaHei = QStringLiteral("Microsoft YaHei");
const QString kYaHeiChinese = QStringLiteral("微软雅黑");

// Installed fonts that cover Chinese, closest in look to YaHei first.
void SubstituteYaHei()
{
    static const QStringList candidates = {
        QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
        QStringLiteral("Source Han Sans SC"), QStringLiteral("WenQuanYi Zen Hei"),
        QStringLiteral("Droid Sans Fallback"), QStringLiteral("AR PL UMing CN"),
    };
    const QStringList installed = QFontDatabase().families();
    QStringList substitutes;
    for (const QString& family : candidates) {
        if (installed.contains(family, Qt::CaseInsensitive))
            substitutes << family;
    }
    if (substitutes.isEmpty())
        return;
    QFont::insertSubstitutions(kYaHei, substitutes);
    QFont::insertSubstitutions(kYaHeiChinese, substitutes);
}

}  // namespace

QFont SetupApplicationFont()
{
    QString family;
    const int id = QFontDatabase::addApplicationFont(ProgramFolder() + QStringLiteral("/MSYH.TTC"));
    if (id != -1) {
        // A file that registers without naming a family is treated like a missing one.
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty())
            family = families.first();
    }
    if (family.isEmpty()) {
        family = kYaHei;
        SubstituteYaHei();
    }

    QFont font(family, -1, -1, false);
    font.setPixelSize(12);
    QApplication::setFont(font);
    return font;
}
