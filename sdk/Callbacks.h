// What every export that takes a program callback does with it. The SDK calls callbacks from its own threads
// (heartbeat) as well as the caller's, where an empty std::function would throw: so an export refuses a null
// pointer, an empty callback or a null C function with 4 before it sends anything or starts a thread.
#pragma once

#include "CalvoxSDK.h"

namespace calvox {

inline bool IsCallable(const Calvox_EventCallback* callback) { return callback && *callback; }

// The callback of a C variant: calls the function with the same arguments and returns its answer. Empty when
// the function pointer is null, so the plain export then refuses it.
inline Calvox_EventCallback FromCFunction(Calvox_C_EventCallback function)
{
    if (!function)
        return Calvox_EventCallback();
    return [function](Calvox_EventType type, int handle, unsigned char* data, int length) {
        return function(type, handle, data, length);
    };
}

}  // namespace calvox
