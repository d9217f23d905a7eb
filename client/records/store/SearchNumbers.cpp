#include "store/SearchNumbers.h"

#include <algorithm>
#include <utility>

SearchNumbers::Key SearchNumbers::KeyOf(const char* digits, int count, bool outbound)
{
    Key key;
    count = std::min(count, MaxDigits);
    for (int i = 0; i < count; ++i) {
        const uint64_t nibble = static_cast<uint64_t>(digits[i] - '0' + 1) & 0xf;
        if (i < 16)
            key.low |= nibble << (4 * i);
        else
            key.high |= nibble << (4 * (i - 16));
    }
    if (outbound)
        key.high |= uint64_t(1) << 63;
    return key;
}

std::size_t SearchNumbers::HashOf(const Key& key)
{
    // The finaliser of MurmurHash3 over both halves: neighbouring numbers land far apart.
    uint64_t h = key.low ^ (key.high * 0x9e3779b97f4a7c15ull);
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdull;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ull;
    h ^= h >> 33;
    return static_cast<std::size_t>(h);
}

const SearchNumbers::Number* SearchNumbers::Find(const char* digits, int count, bool outbound) const
{
    if (m_slots.empty())
        return nullptr;
    const Key key = KeyOf(digits, count, outbound);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = HashOf(key) & mask;; i = (i + 1) & mask) {
        const Slot& slot = m_slots[i];
        if (slot.index < 0)
            return nullptr;
        if (slot.key == key)
            return &m_numbers[static_cast<std::size_t>(slot.index)];
    }
}

const SearchNumbers::Number& SearchNumbers::Add(const char* digits, int count, bool outbound, Number&& number)
{
    if ((m_numbers.size() + 1) * 2 > m_slots.size())
        Grow();
    const Key key = KeyOf(digits, count, outbound);
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = HashOf(key) & mask;
    while (m_slots[i].index >= 0)
        i = (i + 1) & mask;
    m_slots[i].key = key;
    m_slots[i].index = static_cast<int>(m_numbers.size());
    m_numbers.push_back(std::move(number));
    return m_numbers.back();
}

void SearchNumbers::Grow()
{
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(std::max<std::size_t>(64, old.size() * 2), Slot());
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.index < 0)
            continue;
        std::size_t i = HashOf(slot.key) & mask;
        while (m_slots[i].index >= 0)
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}
