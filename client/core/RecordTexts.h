#pragma once

#include "RecordIndexEntry.h"

#include <QString>

#include <cstddef>

// Conversions between the recorder's byte fields and the texts the record list shows and parses.

// The phone number held in a fixed-size field of `fieldSize` bytes: length > 0 takes the ASCII digits of the
// first `length` bytes in order, every other byte dropped; length -1 takes the bytes up to the first NUL as
// Latin-1; length 0 (or any other negative length) gives an empty text. The length is held to the field, so a
// length byte from a device or a file that exceeds it never reads past the field. The buffer is only read.
QString PhoneNumberToString(const unsigned char* field, int length, int fieldSize);

// The same for a field declared as an array, whose size bounds the length.
template <std::size_t N>
QString PhoneNumberToString(const unsigned char (&field)[N], int length)
{
    return PhoneNumberToString(field, length, static_cast<int>(N));
}

// "yyyy-MM-dd hh:mm:ss" of the record's start (year byte + 2000).
QString RecordTimeToString(const RecordIndexEntry& entry);

// Parses "yyyy-MM-dd" at the start of the text: year = (yyyy + 48) mod 256, which is yyyy - 2000 for the years
// 2000 to 2255; month from characters 5-6, day from 8-9. Parts that are missing or not numbers give 0.
void StringToDate(const QString& text, unsigned char& year, unsigned char& month, unsigned char& day);

// Parses "yyyy-MM-dd hh:mm:ss" likewise: the date as StringToDate, hour, minute and second from characters
// 11-12, 14-15 and 17-18.
void StringToDateTime(const QString& text, unsigned char& year, unsigned char& month, unsigned char& day,
                      unsigned char& hour, unsigned char& minute, unsigned char& second);
