#pragma once

namespace tq::cli {

// Standard output carries UTF-8 JSON byte for byte: on Windows that means
// binary mode, so no line feed turns into CR LF.
void prepare_console();

}  // namespace tq::cli
