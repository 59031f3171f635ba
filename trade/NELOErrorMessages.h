// The client's own result texts, in GBK like every text of the back end.
#pragma once

#include <cstdint>

const char* NELOErrorMessage(std::int32_t code);
