#include "support/test_support.h"

namespace tq::test {

std::string fixtures_root() {
    return TQ_FIXTURES_DIR;
}

bool running_under_wine() {
    return false;
}

}  // namespace tq::test
