#pragma once
#include "ZBase.h"

// An empty widget that draws nothing: a plain placeholder on a form.
class VELOUR_EXPORT ZTest : public ZBase
{
    Q_OBJECT

public:
    explicit ZTest(QWidget* parent = nullptr);

protected:
    void Paint(QPainter* painter) override;
};
