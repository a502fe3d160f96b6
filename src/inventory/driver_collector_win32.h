#pragma once

// Windows only: the Setup API property read the driver collector is built on.

#include <windows.h>
// windows.h first: setupapi.h needs its types.
#include <setupapi.h>

#include <string>

namespace tq {

// One device registry property as UTF-8, sized by a first call; for a
// multi-string property only its first string; "" when it cannot be read.
std::string read_device_property_string(HDEVINFO device_info_set, SP_DEVINFO_DATA* device_info_data,
                                        DWORD property);

}  // namespace tq
