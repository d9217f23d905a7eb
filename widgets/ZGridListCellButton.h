#pragma once
#include "VelourGlobal.h"

#include <QObject>
#include <QString>

// A small signal carrier for clients that want a "button" in a grid cell to report its row and column. The
// grid never creates one; the client keeps its text in Text and emits Clicked itself.
class VELOUR_EXPORT ZGridListCellButton : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    QString Text;

signals:
    void Clicked(int Row, int Column);
};
