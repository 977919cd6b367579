// SPDX-License-Identifier: MIT
// d88info's texts in-process: JSON strings stay valid UTF-8 whatever the
// bytes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "info/json_text.h"
#include "info/layout.h"
#include "info/report.h"
#include "testing/d88_builder.h"
#include "testing/test_env.h"

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
      {"\x01\x1F\x7F", R"("\u0001\u001F\u007F")"},
      {"\xE3\x83\x86", "\"\xE3\x83\x86\""},                     // テ
      {"\xC2\x80\xC2\x9B\xC2\x9F", R"("\u0080\u009B\u009F")"},  // C1 controls: CSI is U+009B
      {"\xC2\xA0", "\"\xC2\xA0\""},                             // U+00A0, past them
      {"\xDF\xBF", "\"\xDF\xBF\""},                             // U+07FF, the last two-byte one
      {"\xE0\xA0\x80", "\"\xE0\xA0\x80\""},                     // U+0800
      {"\xED\x9F\xBF", "\"\xED\x9F\xBF\""},                     // U+D7FF, below the surrogates
      {"\xEE\x80\x80", "\"\xEE\x80\x80\""},                     // U+E000, above them
      {"\xEF\xBF\xBF", "\"\xEF\xBF\xBF\""},                     // U+FFFF
      {"\xF0\x90\x80\x80", "\"\xF0\x90\x80\x80\""},             // U+10000
      {"\xF4\x8F\xBF\xBF", "\"\xF4\x8F\xBF\xBF\""},             // U+10FFFF, the last
      {"\xE0\x9F\xBF", R"("\\xE0\\x9F\\xBF")"},                 // overlong U+07FF
      {"\xF0\x8F\xBF\xBF", R"("\\xF0\\x8F\\xBF\\xBF")"},        // overlong U+FFFF
      {"\xF1\x80\x80\x80", "\"\xF1\x80\x80\x80\""},             // U+40000
      {"\xF4\x90\x80\x80", R"("\\xF4\\x90\\x80\\x80")"},        // past U+10FFFF
      {"\xF8\x90\x80\x80", R"("\\xF8\\x90\\x80\\x80")"},        // no lead byte at all
      {"\xC3(", R"("\\xC3(")"},                                 // a lead without its follower
      {"\xC0\xAF", R"("\\xC0\\xAF")"},                          // overlong
      {"\xED\xA0\x80", R"("\\xED\\xA0\\x80")"},                 // a surrogate
      {"\xED\xBF\xBF", R"("\\xED\\xBF\\xBF")"},                 // the last surrogate
  };
  for (const Case& c : cases) EXPECT_EQ(asJson(c.bytes), c.json) << c.json;
}

// Disk names and the bytes compared with the signature, as the reports show
// them: Shift_JIS decoded where it can be, control bytes escaped.
TEST(DiskNameText, DecodesAndEscapes) {
  struct Case {
    const char* name;
    const char* decoded;
    const char* escaped;
  };
  const Case cases[] = {
      {"\x9F\x40X", "\xE6\xAA\x97X", "\x9F\x40X"},  // 0x9F leads a two-byte character
      {"\xE0\x40", "\xE6\xBC\xBE", "\xE0\x40"},     // so does 0xE0
      {"a\x1F\x7F", "a\\x1F\\x7F", "a\\x1F\\x7F"},
      {"\x80", "\\x80", "\x80"},  // code page 932 maps it to a C1 control
  };
  for (const Case& c : cases) {
    char text[kNameTextSize];
    decodeDiskName(c.name, text);
    EXPECT_STREQ(text, c.decoded) << c.escaped;
    escapeDiskName(c.name, text);
    EXPECT_STREQ(text, c.escaped);
  }
  const uint8_t compared[] = {0x1F, ' ', '~', 0x7F, 0x00, 0x80};
  char text[sizeof compared * 4 + 1];
  escapeBytes(compared, sizeof compared, text);
  EXPECT_STREQ(text, "\\x1F ~\\x7F\\x00\\x80");
}

// An image whose header can no longer be read (the file shrank after its
// first image was selected) is named as such, and nothing is made up for it.
TEST(ReportFile, AnImageThatCannotBeReadIsSaidSo) {
  ScopedTempDir dir;
  const std::string path = dir.file("shrinks.d88");
  ASSERT_TRUE(writeBytes(path, D88Builder().image("A").image("B").build()));
  D88File disk;
  ASSERT_TRUE(disk.open(path.c_str()));
  ASSERT_TRUE(disk.selectImage(0));
  std::filesystem::resize_file(path, 688 + 100);
  EXPECT_FALSE(disk.selectImage(1));  // read again, and found shorter
  ImageLayout image;
  EXPECT_FALSE(readImageLayout(disk, 688 + 100, 1, &image));
  Report report;
  report.out = std::tmpfile();
  reportFile(disk, path.c_str(), -1, report);
  std::string text;
  std::rewind(report.out);
  for (int c; (c = std::fgetc(report.out)) != EOF;) text.push_back(static_cast<char>(c));
  std::fclose(report.out);
  EXPECT_NE(text.find("\nimage 1  header cannot be read\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("image 0  offset"), text.rfind("image 0  offset")) << text;  // once

  // In JSON too, the file's size as it was opened.
  report.out = std::tmpfile();
  report.json = true;
  reportFile(disk, path.c_str(), -1, report);
  text.clear();
  std::rewind(report.out);
  for (int c; (c = std::fgetc(report.out)) != EOF;) text.push_back(static_cast<char>(c));
  std::fclose(report.out);
  EXPECT_NE(text.find(",{\"index\":1,\"error\":\"header cannot be read\"}"), std::string::npos)
      << text;
  EXPECT_NE(text.find("\"size\":1376,"), std::string::npos) << text;
  EXPECT_NE(text.find("\"bytesPresent\":688,"), std::string::npos) << text;
#ifndef _WIN32
  // A file whose size the system cannot tell (a device, by a name that
  // stat cannot find) has none, never 0.
  ASSERT_TRUE(disk.open("/dev/null"));
  report.out = std::tmpfile();
  reportFile(disk, "/dev/null.gone", -1, report);
  text.clear();
  std::rewind(report.out);
  for (int c; (c = std::fgetc(report.out)) != EOF;) text.push_back(static_cast<char>(c));
  std::fclose(report.out);
  EXPECT_NE(text.find("\"size\":null,"), std::string::npos) << text;
#endif
}

}  // namespace
