// Commands every recorder answers whatever it holds. A template for further families: one file per family,
// named Commands<Name>.cpp, defining RegisterCommands<Name>.
#include "Emulator.h"

namespace calvox::emu {

void RegisterCommandsCore(CommandTable& table)
{
    // Command 2: the wait the client sends after a delete that the recorder finishes in the background.
    table.Register(2, [](Exchange& x) { x.Reply(0); });
}

}  // namespace calvox::emu
