#pragma once

#include <QString>

#include <cstdint>
#include <deque>
#include <vector>

// The distinct phone numbers one search meets, each with what its rows show: a search walks hundreds of
// thousands of records but meets far fewer numbers, so each number's text and contact are made once and every
// later record with that number costs one probe of an open-addressing table (one cache line, no allocation),
// where a table of strings would chase a node per probe.
class SearchNumbers
{
public:
    struct Number {
        QString Text;     // the digits
        QString Contact;  // the phone book's name for it, empty when unknown
        bool NameMatches = false;
    };

    // The entry of the digits ('0'..'9' only, at most MaxDigits) met in the given direction (numbers dialled out
    // are looked up without the outside-line digit, so direction is part of the key), or null when it is new:
    // then Add it.
    const Number* Find(const char* digits, int count, bool outbound) const;
    // Adds the number Find did not have; the entry stays where it is while this object lives.
    const Number& Add(const char* digits, int count, bool outbound, Number&& number);

    static constexpr int MaxDigits = 20;

private:
    struct Key {
        uint64_t low = 0;   // digits 0..15, one per four bits as digit + 1 (0: no digit)
        uint64_t high = 0;  // digits 16..19 the same, the direction in the top bit
        bool operator==(const Key& other) const { return low == other.low && high == other.high; }
    };
    struct Slot {
        Key key;
        int index = -1;  // into m_numbers; -1 for a free slot
    };

    static Key KeyOf(const char* digits, int count, bool outbound);
    static std::size_t HashOf(const Key& key);
    void Grow();

    std::vector<Slot> m_slots;  // a power of two, at most half used
    std::deque<Number> m_numbers;
};
