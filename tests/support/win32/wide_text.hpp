// UTF-8 and UTF-16 for the test kit's Windows code and the Windows tests, by the system's own
// conversion.
#pragma once

#include <string>
#include <string_view>

namespace testing_support {

std::wstring WideText(std::string_view utf8);
std::string Utf8Text(std::wstring_view wide);

}  // namespace testing_support
