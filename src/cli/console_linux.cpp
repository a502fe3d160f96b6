#include "cli/console.h"

namespace tq::cli {

// Linux streams pass bytes unchanged already.
void prepare_console() {}

}  // namespace tq::cli
