#include "tool/console.h"

void initConsole() {}

void writeMessage(std::FILE* stream, const char* text, std::size_t length) {
  std::fwrite(text, 1, length, stream);
}
