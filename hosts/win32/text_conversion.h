// UTF-8 (the skin's and our own texts) to the system's UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace win32_host {

std::wstring Utf16(std::string_view utf8);

} // namespace win32_host
