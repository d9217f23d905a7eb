#pragma once
#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>

class QPainter;
class QRect;

// Laid-out cell texts for the grid's painting. Laying a text out is most of what drawing a cell costs, and
// a frame, or a frame scrolled a few rows, shows mostly the texts of the frame before: those are drawn from
// here. Two generations bound the memory: texts not drawn since the current generation filled up are
// dropped with the older one. Not exported; one per grid, used on the user-interface thread only.
class ZGridListTextCache
{
public:
    // Once per frame, with the painter's font: a new font drops every laid-out text.
    void SetFont(const QFont& font);
    // Draws text centred in rect on one line, clipped to rect, as QPainter::drawText with
    // Qt::AlignCenter | Qt::TextSingleLine would, in the painter's pen and the font given to SetFont.
    void DrawCentred(QPainter* painter, const QRect& rect, const QString& text);
    void Clear();

private:
    const QStaticText& Get(const QString& text);

    QHash<QString, QStaticText> m_Current;
    QHash<QString, QStaticText> m_Previous;
    QFont m_Font;
};
