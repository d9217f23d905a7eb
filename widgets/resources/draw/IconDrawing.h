#pragma once
// The library's images are drawn here in code, one function per image, and written as 32-bit ARGB PNG files
// into widgets/resources by the velour-draw-icons target. Images that widgets recolour are drawn white on
// transparent. Add a drawing with VELOUR_DRAWING("Icons/Some/Name.png", width, height) { ... } in any .cpp
// of this folder.

#include <QImage>
#include <QPainter>
#include <QString>

#include <functional>
#include <vector>

struct IconDrawing
{
    QString Path; // relative to widgets/resources
    int Width;
    int Height;
    std::function<void(QPainter&)> Draw;
};

std::vector<IconDrawing>& IconDrawings();

struct IconDrawingRegistration
{
    IconDrawingRegistration(const QString& path, int width, int height, std::function<void(QPainter&)> draw)
    {
        IconDrawings().push_back({path, width, height, std::move(draw)});
    }
};

#define VELOUR_DRAWING_CAT2(a, b) a##b
#define VELOUR_DRAWING_CAT(a, b) VELOUR_DRAWING_CAT2(a, b)
#define VELOUR_DRAWING(path, width, height)                                                                    \
    static void VELOUR_DRAWING_CAT(DrawIcon_, __LINE__)(QPainter & p);                                        \
    static IconDrawingRegistration VELOUR_DRAWING_CAT(IconReg_, __LINE__)(                                     \
        QStringLiteral(path), width, height, VELOUR_DRAWING_CAT(DrawIcon_, __LINE__));                         \
    static void VELOUR_DRAWING_CAT(DrawIcon_, __LINE__)(QPainter & p)
