#include "EmuFiles.h"

#include <algorithm>

namespace calvox::emu {

void ServeFiles(Recorder& recorder, const std::string& root)
{
    std::lock_guard<std::mutex> lock(recorder.StateMutex());
    recorder.State<FileStore>().root = root;
}

bool DevicePathToLocal(const FileStore& store, const std::string& devicePath, std::string* local)
{
    if (store.root.empty() || devicePath.empty() || devicePath[0] != '/')
        return false;
    if (devicePath.find('\\') != std::string::npos)
        return false;  // a second separator would let ".." through on other readers of the tree
    size_t start = 1;
    while (start <= devicePath.size()) {
        size_t end = devicePath.find('/', start);
        if (end == std::string::npos)
            end = devicePath.size();
        if (devicePath.compare(start, end - start, "..") == 0)
            return false;
        start = end + 1;
    }
    *local = store.root + devicePath;
    return true;
}

bool TerminatedText(const std::vector<uint8_t>& payload, size_t from, std::string* text)
{
    if (from > payload.size())
        return false;
    const auto end = std::find(payload.begin() + static_cast<long>(from), payload.end(), 0);
    if (end == payload.end())
        return false;
    text->assign(payload.begin() + static_cast<long>(from), end);
    return true;
}

}  // namespace calvox::emu
