#include "Skin.h"

#include "DataFolder.h"

#include <QJsonDocument>
#include <QJsonObject>

Skin* g_Skin = nullptr;

QColor g_ThemeColor;
QColor g_TextColor;
int g_ThemeRed = 0, g_ThemeGreen = 0, g_ThemeBlue = 0;
int g_TextRed = 0, g_TextGreen = 0, g_TextBlue = 0;

static const char* const SkinFile = "SkinSetting";

Skin::Skin()
{
    if (!g_Skin)
        g_Skin = this;
}

Skin::~Skin()
{
    if (g_Skin == this)
        g_Skin = nullptr;
}

void Skin::SetThemeColor(const QColor& color)
{
    const double luminance = ((0.299 * color.red() + 0.587 * color.green()) + 0.114 * color.blue()) / 255.0;
    g_ThemeColor = QColor(color.red(), color.green(), color.blue());
    g_TextColor = luminance > 0.7 ? QColor(100, 100, 100) : QColor(Qt::white);
    g_ThemeRed = g_ThemeColor.red();
    g_ThemeGreen = g_ThemeColor.green();
    g_ThemeBlue = g_ThemeColor.blue();
    g_TextRed = g_TextColor.red();
    g_TextGreen = g_TextColor.green();
    g_TextBlue = g_TextColor.blue();
}

bool Skin::Save()
{
    QJsonObject root;
    root.insert(QStringLiteral("BackColor"), static_cast<qint32>(g_ThemeColor.rgba()));
    const QByteArray data = QJsonDocument(root).toJson();
    if (WriteDataFile(QLatin1String(SkinFile), data.constData(), data.size()) != data.size())
        return false;
    if (g_Skin)
        emit g_Skin->SkinChanged();
    return true;
}

void Skin::Load()
{
    QByteArray data;
    if (ReadDataFile(QLatin1String(SkinFile), &data)) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(data, &error);
        if (error.error == QJsonParseError::NoError && document.isObject()) {
            // A missing member reads as 0: black. The alpha byte is always taken as opaque.
            const int argb = document.object().value(QStringLiteral("BackColor")).toInt(0);
            SetThemeColor(QColor(static_cast<QRgb>(argb)));
            if (g_Skin)
                emit g_Skin->SkinChanged();
            return;
        }
    }
    SetThemeColor(QColor(82, 178, 250));
    Save();
}
