// The five properties of a run-time error, as an error object carries them. Platform-free.
#pragma once

#include <string>

namespace support {

struct ErrorRecord {
    long number = 0;
    std::wstring description;
    std::wstring source;
    std::wstring helpFile;
    long helpContext = 0;
};

}  // namespace support
