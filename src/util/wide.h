#pragma once

// The one place where the platforms' text types differ. Windows calls take
// UTF-16 as wchar_t; on Linux the same UTF-16 text is held as char16_t.

#include <string>
#include <string_view>

namespace tq {

#if defined(_WIN32)
using WChar = wchar_t;
#define TQ_W(text) L##text
#else
using WChar = char16_t;
#define TQ_W(text) u##text
#endif

using WString = std::basic_string<WChar>;
using WStringView = std::basic_string_view<WChar>;

}  // namespace tq
