#include "xlsx/XlsxFormat.h"

namespace QXlsx {

void Format::setHorizontalAlignment(HorizontalAlignment alignment)
{
    m_alignment = alignment;
    m_hasAlignment = true;
}

void Format::setNumberFormatIndex(int index)
{
    m_numberFormatIndex = index;
    m_hasNumberFormat = true;
}

bool Format::operator==(const Format& other) const
{
    return m_hasAlignment == other.m_hasAlignment && m_hasNumberFormat == other.m_hasNumberFormat
        && (!m_hasAlignment || m_alignment == other.m_alignment)
        && (!m_hasNumberFormat || m_numberFormatIndex == other.m_numberFormatIndex);
}

} // namespace QXlsx
