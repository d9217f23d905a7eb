#pragma once
// Builders of the XML that Qt Designer puts on a form when a widget is dropped from the widget box.

#include <QString>

namespace DomXml {

// <widget class="Name" name="name">properties</widget>; the object name is the class name with its first
// letter in lower case.
QString Widget(const QString& className, const QString& content = QString());
QString Geometry(int width, int height);
// alpha < 0 writes no alpha attribute (an opaque colour).
QString Color(const QString& property, int red, int green, int blue, int alpha = -1);
QString Number(const QString& property, int value);
QString Size(const QString& property, int width, int height);
QString String(const QString& property, const QString& text);

} // namespace DomXml
