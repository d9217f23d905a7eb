#include "PopupFrame.h"

#include "SudokuPatch.h"
#include "ZBase.h"
#include "ZDrawAPI.h"

#include <QGuiApplication>
#include <QScreen>

QRect PopupScreenGeometry(const QPoint& point)
{
    QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

void PaintPopupFrame(QPainter* painter, ZBase* popup, SudokuPatch& shadow)
{
    if (shadow.Size() != popup->size())
        shadow.Resize(popup->size());
    shadow.Paint(painter);
    const QRect body(QPoint(0, 0), QPoint(popup->width() - 5, popup->height() - 5));
    ZDrawAPI::DrawBackColor(painter, body, 0, popup->BackColor(), popup->BorderWidth());
    ZDrawAPI::DrawBorder(painter, body, 0, popup->BorderColor(), popup->Border(), popup->BorderWidth());
}
