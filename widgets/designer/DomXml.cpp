#include "DomXml.h"

namespace DomXml {

static QString Property(const QString& name, const QString& value)
{
    return QStringLiteral("<property name=\"%1\">%2</property>").arg(name, value);
}

QString Widget(const QString& className, const QString& content)
{
    QString objectName = className;
    if (!objectName.isEmpty())
        objectName[0] = objectName.at(0).toLower();
    if (content.isEmpty())
        return QStringLiteral("<widget class=\"%1\" name=\"%2\"/>").arg(className, objectName);
    return QStringLiteral("<widget class=\"%1\" name=\"%2\">%3</widget>").arg(className, objectName, content);
}

QString Geometry(int width, int height)
{
    return Property(QStringLiteral("geometry"),
                    QStringLiteral("<rect><x>0</x><y>0</y><width>%1</width><height>%2</height></rect>")
                        .arg(width)
                        .arg(height));
}

QString Color(const QString& property, int red, int green, int blue, int alpha)
{
    const QString open = alpha < 0 ? QStringLiteral("<color>") : QStringLiteral("<color alpha=\"%1\">").arg(alpha);
    return Property(property, open + QStringLiteral("<red>%1</red><green>%2</green><blue>%3</blue></color>")
                                         .arg(red)
                                         .arg(green)
                                         .arg(blue));
}

QString Number(const QString& property, int value)
{
    return Property(property, QStringLiteral("<number>%1</number>").arg(value));
}

QString Size(const QString& property, int width, int height)
{
    return Property(property,
                    QStringLiteral("<size><width>%1</width><height>%2</height></size>").arg(width).arg(height));
}

QString String(const QString& property, const QString& text)
{
    return Property(property, QStringLiteral("<string>%1</string>").arg(text.toHtmlEscaped()));
}

} // namespace DomXml
