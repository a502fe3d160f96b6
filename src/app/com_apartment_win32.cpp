#include "app/com_apartment_win32.h"

namespace tq::app {

ComApartment::ComApartment(DWORD model) {
    hr = CoInitializeEx(nullptr, model);
    must_leave = hr == S_OK;
    if (hr == RPC_E_CHANGED_MODE) {
        hr = S_OK;
        must_leave = false;
    }
}

ComApartment::~ComApartment() {
    if (must_leave) {
        CoUninitialize();
    }
}

}  // namespace tq::app
