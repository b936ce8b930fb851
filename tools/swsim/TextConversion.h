// UTF-8 <-> UTF-16 conversion. The simulator's texts are wide; its clients
// hand out and take UTF-8 so that test sources can write texts as they are.
#pragma once

#include <string>

namespace swsim
{

std::string Utf8FromWide(const std::wstring& text);
std::wstring WideFromUtf8(const std::string& text);

} // namespace swsim
