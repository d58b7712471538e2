#include "platform/ask.h"

namespace tavimo {
AskFunction g_ask = &::MessageBoxW;
} // namespace tavimo
