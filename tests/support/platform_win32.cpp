#include <windows.h>

#include "support/test_support.h"

namespace tq::test {

// The source tree is reached through Wine's drive for the Unix root.
std::string fixtures_root() {
    return std::string("Z:") + TQ_FIXTURES_DIR;
}

bool running_under_wine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace tq::test
