#include "ZGridListTextCache.h"

#include <QPainter>
#include <QRect>

namespace {
// Entries per generation: several frames of a full-screen grid.
constexpr int GenerationSize = 4096;
} // namespace

void ZGridListTextCache::SetFont(const QFont& font)
{
    if (font == m_Font)
        return;
    Clear();
    m_Font = font;
}

void ZGridListTextCache::Clear()
{
    m_Current.clear();
    m_Previous.clear();
}

const QStaticText& ZGridListTextCache::Get(const QString& text)
{
    auto it = m_Current.find(text);
    if (it != m_Current.end())
        return it.value();
    if (m_Current.size() >= GenerationSize) {
        m_Previous = std::move(m_Current);
        m_Current = QHash<QString, QStaticText>();
    }
    auto old = m_Previous.find(text);
    if (old != m_Previous.end())
        return m_Current.insert(text, old.value()).value();
    QStaticText laidOut(text);
    laidOut.setTextFormat(Qt::PlainText);
    laidOut.setPerformanceHint(QStaticText::AggressiveCaching);
    return m_Current.insert(text, laidOut).value();
}

void ZGridListTextCache::DrawCentred(QPainter* painter, const QRect& rect, const QString& text)
{
    // Line breaks and tabs are Qt::TextSingleLine's business; such texts are rare in a grid.
    for (const QChar c : text) {
        if (c.unicode() < 0x20) {
            painter->drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
            return;
        }
    }
    const QStaticText& laidOut = Get(text);
    const QSizeF size = laidOut.size();
    const QPointF at(rect.x() + (rect.width() - size.width()) / 2.0, rect.y() + (rect.height() - size.height()) / 2.0);
    if (size.width() <= rect.width() && size.height() <= rect.height()) {
        painter->drawStaticText(at, laidOut);
        return;
    }
    painter->save();
    painter->setClipRect(rect, Qt::IntersectClip);
    painter->drawStaticText(at, laidOut);
    painter->restore();
}
