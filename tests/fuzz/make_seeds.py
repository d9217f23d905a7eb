#!/usr/bin/env python3
"""Writes the seed inputs of every fuzz target into corpus/<target>/seed-*.

The seeds are well-formed replies and files, so the fuzzers start from the paths that valid input takes. Run it
with the python3 that has openpyxl (/usr/bin/python3) to get a workbook written by another program as well."""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, 'corpus', target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, 'seed-' + name), 'wb') as f:
        f.write(data)


# --- SDK replies: [selector][argument] then elements [flags][status][length u16][payload]
RECORDER, CLOUD = 1, 2
BLOCK_INDEX, BURST, RAW = 4, 8, 16


def el(payload=b'', status=0, flags=RECORDER):
    return bytes([flags, status]) + struct.pack('<H', len(payload)) + payload


def sdk(name, selector, argument, *elements):
    write('sdk_replies', name, bytes([selector, argument]) + b''.join(elements))


sdk('storage', 0, 0, el(struct.pack('<III', 1000, 500, 1)))
sdk('net-status', 1, 0, el(b'\x01\x00\x00\x00'))
sdk('voltage', 2, 1, el(struct.pack('<i', -48)))
status = bytes([2, 0, 0, 0]) + bytes([1, 0, 0, 5]) + b'12345'.ljust(20, b'\0') + bytes(4)
sdk('channel-status', 3, 2, el(status[:28]))
user = lambda name: bytes([len(name)]) + name.ljust(39, b'\0')
sdk('online-users', 4, 0, el(bytes([2, 0, 0, 0]) + user(b'admin') + user(b'bob')))
sdk('online-users-refused', 4, 0, el(b'', status=2))
sdk('current-record', 5, 0, el(bytes([24, 1, 2, 3, 4, 5, 0, 1, 0, 5]) + b'55512'.ljust(20, b'\0')))
sdk('time', 6, 0, el(bytes([24, 1, 2, 3, 4, 5, 6])))
names = b''.join(('file%d.wav' % i).encode().ljust(28, b'\0') for i in range(20))
sdk('playlist', 7, 0, el(bytes([3]) + names))
for selector, size in zip(range(8, 14), (64, 428, 24, 64, 120, 16)):
    sdk('setting-%d' % selector, selector, 0, el(bytes(range(size % 256)) * (size // 256) + bytes(range(size % 256))))
sdk('channel-setting', 14, 3, el(b'\x01' * 908 + b'Line four\0'.ljust(72, b'\0')))
sdk('smdr', 15, 0, el(bytes([11]) + b'call 0815 x'))
entry = lambda name: bytes([len(name)]) + name.ljust(19, b'\0') + bytes(16) + struct.pack('<QI', 0xF, 0x1F)
table = entry(b'admin') + bytes(48) + entry(b'operator')
sdk('user-list', 16, 0, el(struct.pack('<I', len(table))), el(table))
sdk('login', 17, 0, el(struct.pack('<IQI', 0x01020304, 0xF, 0x1F)))
sdk('login-refused', 17, 0, el(b'', status=101))
sdk('cloud-direct', 18, 0, el(bytes([127, 0, 0, 1, 0xB2, 0x17, 0]), flags=CLOUD))
sdk('cloud-punch', 18, 0, el(bytes([127, 0, 0, 1, 0xB2, 0x17, 1]), flags=CLOUD), el(b'', flags=CLOUD), el(b''))
blocks = [bytes([i]) * 1024 for i in range(1, 2)] + [b'\x07' * 976]
sdk('download', 19, 0, el(struct.pack('<I', 2000)),
    *[el(bytes(4) + b, flags=RECORDER | BLOCK_INDEX) for b in blocks], el(b''))
sdk('download-empty', 19, 0, el(struct.pack('<I', 0)))
beat = bytes([1, 1, 3, 255]) + bytes([1, 2, 0, 0]) + bytes([0, 1, 0, 0]) + struct.pack('<4H', 5, 0, 0, 0) + \
    struct.pack('<4H', 1, 2, 3, 4)
sdk('heartbeat', 20, 0, el(beat), el(struct.pack('<III', 1, 2, 3)), el(bytes([1, 0, 0, 0]) + user(b'admin')),
    el(status[:28]), el(beat), el(beat))
sdk('heartbeat-offline', 20, 1, el(struct.pack('<IQI', 0x01020304, 0xF, 0x1F)), el(struct.pack('<III', 1, 2, 3)),
    el(beat))
found = lambda id: id + struct.pack('<I', 0x01000203) + bytes([127, 0, 0, 1]) + struct.pack('<H', 6066)
sdk('search', 21, 0, el(found(b'4B000000000000000001'), flags=RECORDER | BURST),
    el(found(b'8A000000000000000002'), flags=RECORDER | BURST), el(found(b'ZZ000000000000000003')))
sdk('record-days', 22, 0, el(bytes([24, 1, 31])), el(bytes([23, 6, 1])), el(bytes([0, 1, 1, 0] * 8)))
sdk('delete-busy', 23, 5, el(b'', status=1), el(b''))
sdk('raw-short', 4, 0, el(b'KW\x01', flags=RAW), el(b'KW\x01\x09\x00\x00\x00', flags=RAW))

# --- live audio: [length u16][datagram]
audio = b''
for sequence in (0, 2, 1, 3, 5, 4, 6, 7, 8, 10, 9, 9, 200, 11):
    datagram = b'KW\x01\xff\x00\x00' + bytes([sequence, 0, 0, 0]) + bytes([sequence]) * 1024
    audio += struct.pack('<H', len(datagram)) + datagram
audio += struct.pack('<H', 20) + bytes(20)
write('live_audio', 'stream', audio)

# --- HTTP responses: [mode] response
write('http_response', 'version', b'\x00HTTP/1.0 200 OK\r\nContent-Type: application/json\r\nContent-Length: 14\r\n\r\n'
      b'{"v":"1.2.3"}\n')
write('http_response', 'not-found', b'\x02HTTP/1.1 404 Not Found\r\ncontent-length: 0\r\n\r\n')
write('http_response', 'pieces', b'\x07HTTP/1.0 200 OK\r\nContent-Length:   10\t\r\nX: y\r\n\r\n0123456789extra')
write('http_response', 'no-length', b'\x00HTTP/1.0 200 OK\r\n\r\nbody without length')

# --- firmware header
write('firmware_header', 'image', struct.pack('<III', 3, 0x02000000, 0x01000000) + bytes(500) + b'image')
write('firmware_header', 'short', struct.pack('<III', 3, 0x02000000, 0x01000000))


# --- record index: [filters] then the file
def record(hour, phone, key=b'K1', ext=b'201', notes=b'hello', type=0, talk=65):
    e = bytes([24, 1, 1, hour, 30, 0, type, 2]) + struct.pack('<H', talk) + bytes([len(phone), len(key), len(ext)])
    e += phone.ljust(20, b'\0') + key.ljust(20, b'\0') + ext.ljust(10, b'\0') + notes.ljust(65, b'\0')
    assert len(e) == 128
    return e


bitmap = bytearray(510)
bitmap[0] = 0b101
header = bytes(bitmap) + struct.pack('<H', 2)
entries = record(9, b'1234567') + record(10, b'99') + record(17, b'0123', type=1, notes='\u00fcber'.encode())
write('record_index', 'day', bytes([0]) + header + entries)
write('record_index', 'filtered', bytes([0x1F]) + header + entries)
write('record_index', 'damaged', bytes([2]) + bytes([0xFF]) * 510 + b'\xff\xff' + record(9, b'12', key=b'x' * 20) +
      bytes([0xFF]) * 100)

# --- WAV record: RIFF, format, data, Vorn
fmt = b'fmt ' + struct.pack('<IHHIIHH', 16, 6, 1, 8000, 8000, 1, 8)
data = b'data' + struct.pack('<I', 7) + bytes(7)
vorn = b'Vorn' + struct.pack('<I', 132) + record(9, b'5551234') + bytes([3, 0, 0, 0])
body = b'WAVE' + fmt + data + vorn
write('wav_record', 'record', b'RIFF' + struct.pack('<I', len(body)) + body)
odd = b'LIST' + struct.pack('<I', 3) + b'abc\0'
body = b'WAVE' + fmt + odd + vorn
write('wav_record', 'odd-chunk', b'RIFF' + struct.pack('<I', len(body)) + body)

# --- workbook: [mode] parts separated by "\n#part\n" (mode bit 0: a raw file)
workbook = b'''<?xml version="1.0" encoding="UTF-8"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="Contacts" sheetId="1" r:id="rId1"/></sheets></workbook>'''
rels = b'''<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/><Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/></Relationships>'''
strings = b'''<?xml version="1.0" encoding="UTF-8"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>Name</t></si><si><r><t>Ann</t></r><rPh><t>x</t></rPh></si></sst>'''
sheet = b'''<?xml version="1.0" encoding="UTF-8"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData><row r="1"><c r="A1" t="s"><v>0</v></c><c t="inlineStr"><is><t>Phone</t></is></c></row><row><c r="A2" t="s"><v>1</v></c><c r="B2"><v>13800138000</v></c><c r="C2"><v>1.5E3</v></c><c r="D2" t="b"><v>1</v></c><c r="XFD2" t="e"><v>#N/A</v></c></row></sheetData></worksheet>'''
parts = b'\n#part\n'.join([workbook, rels, strings, sheet])
write('workbook', 'stored', b'\x00' + parts)
write('workbook', 'deflated', b'\x02' + parts)
try:
    import io
    import openpyxl
    book = openpyxl.Workbook()
    book.active.append(['Name', 'Gender', 'Phone'])
    book.active.append(['Ann', 'F', 13800138000])
    buffer = io.BytesIO()
    book.save(buffer)
    write('workbook', 'openpyxl', b'\x01' + buffer.getvalue())
except ImportError:
    print('openpyxl missing: no raw workbook seed', file=sys.stderr)

# --- contacts book
write('contacts_book', 'book', '''{"Version": 1, "Contacts": [
 {"Name": "Ann", "Gender": 1, "Company": "Calvox", "Duty": "Ops", "PhoneNum": "123;456;", "CompanyNum": "789",
  "CompanyAddr": "Street 1", "Notes": "\\u00fcber"},
 {"Name": "Bob", "Gender": 7, "PhoneNum": 12},
 "not an object"]}'''.encode())
write('contacts_book', 'empty', b'{}')

# --- hostile answers that must be refused or held to their fields (they stay in the replay under ASan)
sdk('hostile-online-count', 4, 0, el(bytes([255, 0, 0, 0]) + user(b'x')))
sdk('hostile-smdr-length', 15, 0, el(bytes([255]) + b'short'))
sdk('hostile-user-table-size', 16, 0, el(struct.pack('<I', 0xFFFFFFFF)))
sdk('hostile-user-part-short', 16, 0, el(struct.pack('<I', 96)), el(table[:50]))
sdk('hostile-download-size', 19, 0, el(struct.pack('<I', 0x80000000)))
sdk('hostile-download-long-block', 19, 0, el(struct.pack('<I', 10)), el(bytes(4) + bytes(1024), flags=RECORDER | BLOCK_INDEX))
sdk('hostile-heartbeat-short', 20, 0, el(bytes([1, 1, 3, 0])), el(beat[:27]))
sdk('hostile-login-short', 17, 0, el(bytes(15)))
sdk('hostile-playlist-unterminated', 7, 0, el(bytes([250]) + b'z' * 560))
sdk('hostile-oversized', 14, 0, el(b'\xcd' * 4000))
write('http_response', 'hostile-huge-length', b'\x00HTTP/1.0 200 OK\r\nContent-Length: 99999999999999999999999\r\n\r\nx')
write('http_response', 'hostile-short-body', b'\x01HTTP/1.0 200 OK\r\nContent-Length: 1000\r\n\r\nonly this')
write('http_response', 'hostile-long-header', b'\x00HTTP/1.0 200 OK\r\n' + b'X: ' + b'a' * 5000 + b'\r\n\r\n')
write('record_index', 'hostile-lengths', bytes([0x02]) + bytes([0xFF]) * 512 +
      (bytes([24, 1, 1, 9, 0, 0, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF]) + b'\xff' * 115) * 2 + b'\x01' * 60)
write('wav_record', 'hostile-vorn-cut', b'RIFF' + bytes(4) + b'WAVE' + fmt + b'Vorn' + struct.pack('<I', 132) + bytes(40))
write('wav_record', 'hostile-data-size', b'RIFF' + bytes(4) + b'WAVE' + fmt + b'data' + b'\xff\xff\xff\xff' + bytes(16))
