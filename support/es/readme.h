// The program's help document: an HTML page beside the executable, named after it
// (Metaview.exe: Metaview.html), opened through the shell's association for its type.
#pragma once

#include <string>

namespace support {

// The help document's full name (not tested for existence).
std::wstring ReadMeFileName();

// Opens the help document in the viewer the shell associates with it (flags: 0, no others
// are defined). False when there is no such file or the shell cannot open it.
bool esOpenReadMeFile(long flags);

}  // namespace support
