#pragma once
#include "VelourGlobal.h"

#include <QString>

class QImage;
class ZBase;

// One cell of a grid row. What it shows follows Type; the fields are read and written directly.
//
//   Type 0 text     Text                      Value free for the application (a small number)
//   Type 1 image    the image, centred        Value = const QImage*, not owned (must outlive the cell)
//   Type 2 check    a check mark              Value = 0 or 1
//   Type 3 control  an embedded ZBase widget  Value = ZBase*, owned: deleted with the cell
//
// A cell owns the control it holds: the control is deleted when the cell is destroyed or given any other
// content, and never twice (assigning the same control again keeps it). Not copyable, as two cells would
// then own one control.
class VELOUR_EXPORT ZGridListCell
{
public:
    enum CellType { TextCell = 0, ImageCell = 1, CheckCell = 2, ControlCell = 3 };

    ZGridListCell() = default;
    ~ZGridListCell();
    ZGridListCell(const ZGridListCell&) = delete;
    ZGridListCell& operator=(const ZGridListCell&) = delete;

    // Text cell with that text; Value is left as it was.
    ZGridListCell& operator=(const QString& text);
    // The same, taking over a temporary text (filling large stores).
    ZGridListCell& operator=(QString&& text);
    // Text cell with the text as UTF-8 (without this overload a string literal would become a check mark).
    ZGridListCell& operator=(const char* text);
    // Text cell showing the number in decimal; Value = 0.
    ZGridListCell& operator=(int number);
    // Check cell with that state; Text is left as it was.
    ZGridListCell& operator=(bool checked);
    // Image cell drawing that image without copying it; Text is left as it was.
    ZGridListCell& operator=(const QImage* image);
    // Control cell: the cell now owns the widget; Text is left as it was.
    ZGridListCell& operator=(const ZBase* control);

    int Type = TextCell;
    QString Text;
    qintptr Value = 0;

private:
    // Deletes the held control unless it is keep; called before the cell takes new content.
    void ReleaseControl(const ZBase* keep = nullptr);
};
