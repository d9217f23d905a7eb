#include "ZTest.h"

ZTest::ZTest(QWidget* parent)
    : ZBase(parent)
{
}

void ZTest::Paint(QPainter*)
{
}
