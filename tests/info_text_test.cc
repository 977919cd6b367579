// d88info's texts in-process: JSON strings stay valid UTF-8 whatever the
// bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "info/json_text.h"

namespace {

std::string asJson(const char* bytes) {
  std::FILE* stream = std::tmpfile();
  writeJsonString(stream, bytes);
  std::string text;
  std::rewind(stream);
  for (int c; (c = std::fgetc(stream)) != EOF;) text.push_back(static_cast<char>(c));
  std::fclose(stream);
  return text;
}

TEST(WriteJsonString, KeepsValidUtf8AndEscapesTheRest) {
  struct Case {
    const char* bytes;
    const char* json;
  };
  const Case cases[] = {
      {"a \"b\" \\ c", R"("a \"b\" \\ c")"},
      {"\x01\x1F\x7F", R"("\u0001\u001F)" "\x7F\""},
      {"\xE3\x83\x86", "\"\xE3\x83\x86\""},          // テ
      {"\xDF\xBF", "\"\xDF\xBF\""},                  // U+07FF, the last two-byte one
      {"\xF1\x80\x80\x80", "\"\xF1\x80\x80\x80\""},  // U+40000
      {"\xF4\x90\x80\x80", R"("\\xF4\\x90\\x80\\x80")"},  // past U+10FFFF
      {"\xF8\x90\x80\x80", R"("\\xF8\\x90\\x80\\x80")"},  // no lead byte at all
      {"\xC3(", R"("\\xC3(")"},                           // a lead without its follower
      {"\xC0\xAF", R"("\\xC0\\xAF")"},                    // overlong
      {"\xED\xA0\x80", R"("\\xED\\xA0\\x80")"},           // a surrogate
  };
  for (const Case& c : cases) EXPECT_EQ(asJson(c.bytes), c.json) << c.json;
}

}  // namespace
