#pragma once

// How the settings sections move values between the recorder's records and the page's fields, without a
// window. A Save starts from the record the recorder last gave and writes back only the fields the page shows,
// so bytes the client does not know go back as they came.

#include <QString>
#include <QStringList>

#include <cstdint>

// The text of a key or name field: the first `length` bytes of a field of `size` bytes, as Latin-1. A length
// above the field's size (a record from a faulty recorder) reads no further than the field.
QString FieldText(const uint8_t* field, int size, int length);

// Writes `text` as Latin-1 into a field of `size` bytes and zeroes the rest of it; a longer text is cut to the
// field. Returns the number of bytes written (for the record's length byte).
int PutFieldText(uint8_t* field, int size, const QString& text);

// A one-byte value typed into a field: a decimal number held to 0..255 (so "300" is 255 and "-48" is 0,
// never the number's low byte); anything that is not a number is 0.
uint8_t ByteFieldValue(const QString& text);

// The hold-time field (milliseconds) as the record stores it: in units of 100 ms, held to 0..255.
uint8_t HoldTimeValue(const QString& milliseconds);

// The item a stored index selects in a list of `count` items: -1 (no selection) for an index outside it, where
// the combo box itself would pick the last item.
int ListIndexOf(int stored, int count);
// The byte an index box saves: its selection, or the recorder's own byte when nothing is selected.
uint8_t ListIndexByte(int selected, uint8_t stored);

// The position of a 28-byte file-name field in the announcement list: the first name equal to the field's
// text up to its zero; -1 when none is, and for a field without a zero in its 28 bytes.
int FileNameIndex(const uint8_t* field28, const QStringList& names);

// "00:1A:2B:3C:4D:5E" for six MAC bytes.
QString MacAddressText(const uint8_t* mac);
// Six ':'-separated parts, each read as a hexadecimal number of which the low 8 bits are kept (a part that is
// not one gives 0). False, *mac unchanged, for any other number of parts.
bool MacAddressValue(const QString& text, uint8_t* mac);

// A static address field: four '.'-separated parts of 1 to 3 decimal digits, each at most 255, read as decimal
// (a leading zero does not make a part octal); the all-ones address is refused too. *address in network byte
// order.
bool StaticAddressValue(const QString& text, uint32_t* address);

// The recorder's protocol port: a decimal number 1..65535; anything else would cut the client off the
// recorder and is refused.
bool NetPortValue(const QString& text, uint16_t* port);

// Whether the recorder's clock and the PC's agree: stamps of year - 2000, month, day, hour and minute (five
// bytes each); the same day and at most two minutes apart (seconds are not compared).
bool ClockInStep(const uint8_t* recorder, const uint8_t* pc);
// "2026-03-05 09:07" for such a stamp.
QString ClockText(const uint8_t* stamp);
