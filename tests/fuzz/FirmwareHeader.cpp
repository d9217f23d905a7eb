// The start of a firmware image as a file: its header read and judged for every model and a few firmware
// versions of the recorder.
#include "FuzzEntries.h"
#include "TempFile.h"

#include "Firmware.h"

#include <QByteArray>
#include <QFile>

namespace calvox::fuzz {

int FirmwareHeader(const uint8_t* data, size_t size)
{
    const QString path = WriteTempFile("firmware", data, size);
    calvox::FirmwareHeader header;
    if (ReadFirmwareHeader(QFile::encodeName(path).constData(), &header)) {
        for (int model = -1; model < 8; ++model)
            for (uint32_t version : {0u, 0x01000000u, 0xFFFFFFFFu})
                JudgeFirmware(header, model, version);
    }
    return 0;
}

}  // namespace calvox::fuzz
