// UTF-8 (the skin's and our own texts) to the system's UTF-16 and ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace win32_host {

std::wstring Utf16(std::string_view utf8);
// In the ANSI code page of the system (cp1252 on western systems: "é" is the byte 0xE9);
// characters it lacks become its default character.
std::string Ansi(std::string_view utf8);

} // namespace win32_host
