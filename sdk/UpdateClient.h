#pragma once
// Fetching version documents and firmware images from the update server, turned into the program's events.
// Everything runs on the caller's thread and takes no SDK lock, so several requests may run at once.

#include <cstdint>
#include <string>

#include "CalvoxSDK.h"
#include "HttpClient.h"

namespace calvox {

// Limits of one update request: bodies are capped before anything is allocated; connect and receive wait
// at most 5 and 10 seconds (scaled by the SDK's time scale).
HttpLimits VersionDocumentLimits();  // a version document is small: 64 KiB
HttpLimits FirmwareImageLimits();    // a firmware image: 128 MiB

// Fetches "<folder>/Version.json". When any body bytes arrived (even if the transfer then failed), the
// callback gets FileData once with the whole body, handle in its int slot. 0 when the reply was complete
// (whatever its status code), 3 when the exchange failed.
int FetchVersionDocument(const std::string& folder, int handle, const Calvox_EventCallback& callback);

// Downloads "<model>/<fileName>": FileSize 0 once the server has answered 200, FileSize with the length,
// then FileData per piece; a nonzero answer stops. 0 only when a 200 response delivered its whole,
// non-empty body; any other status delivers nothing and gives -1.
int DownloadFirmwareImage(const std::string& model, const char* fileName, int handle,
                          const Calvox_EventCallback& callback);

}  // namespace calvox
