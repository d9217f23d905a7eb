#pragma once
#include "VelourGlobal.h"

#include <QObject>
#include <QString>

// One entry of a ZMenu. The application reads and writes the fields directly: it enables or disables items
// right before ZMenu::exec and keeps its own pointer in UserData.
class VELOUR_EXPORT ZMenuItem : public QObject
{
    Q_OBJECT

public:
    explicit ZMenuItem(const QString& text);

    // A disabled item is drawn in the menu's disabled text colour and cannot be chosen.
    bool Enabled = true;
    QString Text;
    // Free for the application; the menu never reads it.
    void* UserData = nullptr;
};
