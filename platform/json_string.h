// SPDX-License-Identifier: MIT
// Writing a text as a JSON string, for both programs' JSON documents.
#ifndef D88CUT_PLATFORM_JSON_STRING_H_
#define D88CUT_PLATFORM_JSON_STRING_H_

#include <cstdio>

// Writes the NUL-terminated bytes as a JSON string, quotes included: valid
// UTF-8 as it is, '"' and '\' and control characters (C0, DEL and the C1
// controls U+0080..U+009F) escaped as \uXXXX, and each byte
// that is not part of valid UTF-8 as the six characters \\xNN (the text
// "\xNN" once parsed), so the document is always valid UTF-8.
void writeJsonString(std::FILE* stream, const char* text);

#endif  // D88CUT_PLATFORM_JSON_STRING_H_
