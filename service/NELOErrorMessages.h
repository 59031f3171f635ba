// The service clients' own result texts (GetErrorMsg of the trade and of the quote client), in GBK like
// every text of the back end: 0 and -1 have a text, any other code the "unknown code" text.
//
// Thread safety: a pure function; the texts are constants.
#pragma once

#include <cstdint>

[[nodiscard]] const char* NELOErrorMessage(std::int32_t code);
