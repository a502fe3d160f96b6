#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "cli/console.h"

namespace tq::cli {

void prepare_console() {
    _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace tq::cli
