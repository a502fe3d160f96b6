#pragma once

// Scope guard for COM on the current thread. Windows only: included by the
// _win32 files that need COM.

#include <objbase.h>

namespace tq::app {

class ComApartment {
  public:
    // model: COINIT_APARTMENTTHREADED or COINIT_MULTITHREADED. A thread that
    // already lives in the other kind of apartment is accepted as it is.
    explicit ComApartment(DWORD model);
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    HRESULT hr = E_FAIL;
    // Only the scope that entered the apartment leaves it.
    bool must_leave = false;
};

}  // namespace tq::app
