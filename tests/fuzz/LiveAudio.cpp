// Live-audio datagrams as the monitor thread takes them: [length u16 LE][datagram] pieces, each through the
// length check of the monitor loop and into the reorder buffer, whose playable audio is read whole.
#include "FuzzEntries.h"

#include "Datagram.h"
#include "MonitorReorderBuffer.h"

#include <algorithm>
#include <vector>

namespace calvox::fuzz {

int LiveAudio(const uint8_t* data, size_t size)
{
    MonitorReorderBuffer reorder;
    size_t at = 0;
    while (at + 2 <= size) {
        size_t length = data[at] | (data[at + 1] << 8);
        at += 2;
        length = std::min({length, size - at, static_cast<size_t>(kDatagramSize)});
        // The datagram in a buffer of exactly its size, as ASan should judge every read of it.
        const std::vector<uint8_t> datagram(data + at, data + at + length);
        at += length;
        if (datagram.size() < static_cast<size_t>(kHeaderSize + MonitorReorderBuffer::kPacketBytes))
            continue;  // malformed: the loop counts and drops it
        if (reorder.Offer(datagram.data() + kHeaderSize) == MonitorReorderBuffer::Outcome::Play) {
            const uint8_t* audio = reorder.Playable();
            unsigned sum = 0;
            for (int i = 0; i < MonitorReorderBuffer::kAudioBytes; ++i)
                sum += audio[i];
            Keep(sum);
            reorder.Commit();
        }
    }
    return 0;
}

}  // namespace calvox::fuzz
