#pragma once

// Cell format of the workbook layer: the few properties our exports set. A default-constructed format is
// "no format": a cell written with it takes its column's format.

namespace QXlsx {

class Format
{
public:
    // Values as stored in the workbook's alignment attribute (general, left, centre, ...).
    enum HorizontalAlignment
    {
        AlignHGeneral,
        AlignLeft,
        AlignHCenter,
        AlignRight,
        AlignHFill,
        AlignHJustify,
        AlignHMerge,
        AlignHDistributed
    };

    Format() = default;

    void setHorizontalAlignment(HorizontalAlignment alignment);
    HorizontalAlignment horizontalAlignment() const { return m_alignment; }

    // Built-in number format of the workbook (49 is text, "@").
    void setNumberFormatIndex(int index);
    int numberFormatIndex() const { return m_numberFormatIndex; }
    bool hasNumberFormat() const { return m_hasNumberFormat; }

    // True once any property was set.
    bool isValid() const { return m_hasAlignment || m_hasNumberFormat; }

    bool operator==(const Format& other) const;
    bool operator!=(const Format& other) const { return !(*this == other); }

private:
    HorizontalAlignment m_alignment = AlignHGeneral;
    int m_numberFormatIndex = 0;
    bool m_hasAlignment = false;
    bool m_hasNumberFormat = false;
};

} // namespace QXlsx
