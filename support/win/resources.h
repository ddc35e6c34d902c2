// Reads a resource of a loaded module by walking its resource directory in order.
// FindResourceW binary-searches named types, and Wine orders names differently from
// Windows (lower- against upper-case comparison), so a module that holds both "TYPELIB"
// and "_IID_..." types has "TYPELIB" unreachable through FindResourceW under Wine.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>

namespace support {

// The data of resource `id` of the named type (compared without regard to case), first
// language found; empty when there is none.
std::span<const BYTE> FindNamedTypeResource(HMODULE module, std::wstring_view type, WORD id);

}  // namespace support
