// The window classes the run time creates windows of, registered once on first use.
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace pelmora::platform::win32 {

// The class name to pass to CreateWindowExW; registers our own classes on demand. A Frame
// with a class name of its own gets that class, registered like the default frame class.
// Empty when the class could not be registered.
std::wstring ClassNameFor(WindowClass windowClass, std::string_view frameClassName);

}  // namespace pelmora::platform::win32
