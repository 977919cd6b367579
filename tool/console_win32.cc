// On Windows the console's code page shows the Shift_JIS bytes as they are;
// nothing is converted.
#include "tool/console.h"

void initConsole() {}

const char* textForStream(std::FILE*, const char* text, char*, std::size_t) { return text; }
