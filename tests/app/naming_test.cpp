#include "app/core/naming.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/cp932.h"
#include "platform/user_locale.h"

namespace {

using app::NamingSettings;
using platform::DateTime;

// The program's text is CP932; the cases are written in UTF-8.
std::string Sjis(std::string_view utf8) {
  return platform::Utf8ToCp932(utf8).value();
}
std::string Utf8(std::string_view cp932) {
  return platform::Cp932ToUtf8Lossy(cp932);
}

void SetSerialStyle(NamingSettings& settings, int index) {
  settings.serial_style_index = index;
  settings.serial_style_text = std::string(app::kSerialStyleItems[index]);
}

const DateTime kJanuaryFifth{2000, 1, 5, 13, 7, 42, 0};  // a Wednesday
const DateTime kEvening{2026, 12, 8, 17, 5, 9, 0};       // a Tuesday

class NamingTest : public testing::Test {
 protected:
  platform::ScopedUserLocale japanese_{"ja_JP"};
};

TEST_F(NamingTest, QuotesEverythingButTheTokens) {
  struct Case {
    const char* user_format;
    const char* quoted;
  } cases[] = {
      {"yyyy年mm月dd日", "\"\"yyyy\"年\"mm\"月\"dd\"日\""},
      {"YYYY年", "\"YYYY年\""},        // upper case is no token
      {"yyy", "\"\"yy\"y\""},          // greedy: "yy" and a letter y
      {"mmmmm", "\"\"mmmm\"\"m\"\""},  // "mmmm" then "m"
      {"ddddddd", "\"\"dddddd\"\"d\"\""},
      {"hh:nn am/pm", "\"\"hh\":\"nn\" \"am/pm\"\""},
      {"ampm a/p", "\"\"ampm\" \"a/p\"\""},
      {"xyz", "\"xyz\""},  // no single y, a or z token
      {"", "\"\""},
      {"電ドテ都", "\"電ドテ都\""},  // second bytes d, h, e, s stay inside
      // The user's double quotes are copied and go on quoting.
      {"a\"b", "\"a\"b\""},
      {"yyyy\"年\"mm\"月\"dd\"日\"", "\"\"yyyy\"\"年\"\"mm\"\"月\"\"dd\"\"日\"\""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Utf8(app::QuoteDateFormat(Sjis(c.user_format))), c.quoted) << c.user_format;
}

TEST_F(NamingTest, ComposesTheNameOfEachFile) {
  struct Case {
    const char* what;
    std::function<void(NamingSettings&)> set;
    const char* source;
    int index;
    DateTime date;
    const char* expected;
  } cases[] = {
      {"default settings", [](NamingSettings&) {}, "/work/a.txt", 0, kJanuaryFifth,
       "2000年01月05日001.txt"},
      {"second file", [](NamingSettings&) {}, "/work/b.doc", 1, kJanuaryFifth,
       "2000年01月05日002.doc"},
      {"upper-case YYYY is literal", [](auto& s) { s.date_format = Sjis("YYYY年"); }, "/work/a.txt",
       0, kJanuaryFifth, "YYYY年001.txt"},
      {"yyy", [](auto& s) { s.date_format = "yyy"; }, "/work/a.txt", 0, kJanuaryFifth,
       "00y001.txt"},
      {"slash and colon stay as typed", [](auto& s) { s.date_format = "yyyy/mm/dd hh:nn"; },
       "/work/a.txt", 0, kJanuaryFifth, "2000/01/05 13:07001.txt"},
      {"empty format", [](auto& s) { s.date_format.clear(); }, "/work/a.txt", 0, kJanuaryFifth,
       "001.txt"},
      {"day tokens", [](auto& s) { s.date_format = "d_dd_ddd_dddd_ddddd_dddddd_aaa_aaaa"; },
       "/work/a", 0, kJanuaryFifth, "5_05_水_水曜日_2000/01/05_2000年1月5日_水_水曜日001"},
      {"month and year tokens", [](auto& s) { s.date_format = "m_mm_mmm_mmmm_yy_yyyy"; }, "/work/a",
       0, kJanuaryFifth, "1_01_1月_1月_00_2000001"},
      {"era tokens", [](auto& s) { s.date_format = Sjis("g_gg_ggg_e_ee年"); }, "/work/a", 0,
       kJanuaryFifth, "平_平成_平成_12_12年001"},
      {"era of the new reign",
       [](auto& s) { s.date_format = "gge"; },
       "/work/a",
       0,
       {2019, 5, 1},
       "令和1001"},
      {"time tokens", [](auto& s) { s.date_format = "h_hh_n_nn_s_ss_t_tt"; }, "/work/a", 0,
       kJanuaryFifth, "13_13_7_07_42_42_13:07_13:07:42001"},
      {"c", [](auto& s) { s.date_format = "c"; }, "/work/a", 0, kJanuaryFifth,
       "2000/01/05 13:07:42001"},
      {"12-hour clock", [](auto& s) { s.date_format = "hh-nn am/pm a/p ampm"; }, "/work/a", 0,
       kJanuaryFifth, "01-07 pm p 午後001"},
      {"minutes after hours", [](auto& s) { s.date_format = Sjis("hh時mm分"); }, "/work/a", 0,
       kJanuaryFifth, "13時07分001"},
      {"months elsewhere", [](auto& s) { s.date_format = "mm-hh"; }, "/work/a", 0, kJanuaryFifth,
       "01-13001"},
      {"double-byte characters whole", [](auto& s) { s.date_format = Sjis("電ドテ都yy"); },
       "/work/a", 0, kJanuaryFifth, "電ドテ都00001"},
      // The user's double quotes quote: around a token's letters they print
      // them, around a double-byte character it stays whole.
      {"quoted Japanese", [](auto& s) { s.date_format = Sjis("yyyy\"年\"mm\"月\"dd\"日\""); },
       "/work/a.txt", 0, kJanuaryFifth, "2000年01月05日001.txt"},
      {"quoted letters", [](auto& s) { s.date_format = "yy\"mm\""; }, "/work/a", 0, kJanuaryFifth,
       "00mm001"},
      {"quoted double-byte", [](auto& s) { s.date_format = Sjis("\"電\"yy"); }, "/work/a", 0,
       kJanuaryFifth, "電00001"},
      {"an unclosed quote runs to the end", [](auto& s) { s.date_format = "yy\"mm"; }, "/work/a", 0,
       kJanuaryFifth, "00mm001"},
      {"the 1000th file", [](auto&) {}, "/work/a.txt", 999, kJanuaryFifth,
       "2000年01月05日1000.txt"},
      {"a number longer than its style is kept whole",
       [](auto& s) {
         s.date_format.clear();
         SetSerialStyle(s, 1);
         s.serial_start = 99999999;
       },
       "/work/a.txt", 1, kJanuaryFifth, "100000000.txt"},
      {"one digit short of the style is padded",
       [](auto& s) {
         s.date_format.clear();
         SetSerialStyle(s, 3);
       },
       "/work/a.txt", 9, kJanuaryFifth, "010.txt"},
      {"five digits from 0",
       [](auto& s) {
         s.date_format.clear();
         SetSerialStyle(s, 5);
         s.serial_start = 0;
       },
       "/work/a.txt", 0, kJanuaryFifth, "00000.txt"},
      {"no serial number",
       [](auto& s) {
         s.leading_text = "p";
         SetSerialStyle(s, 0);
       },
       "/work/a.txt", 5, kJanuaryFifth, "p2000年01月05日.txt"},
      {"no extension", [](auto& s) { s.date_format = "yy"; }, "/work/Makefile", 0, kJanuaryFifth,
       "00001"},
      {"a dot in the folder is no extension", [](auto& s) { s.date_format = "yy"; },
       "/work/dir.d/README", 0, kJanuaryFifth, "00001"},
      {"the last dot starts the extension", [](auto& s) { s.date_format = "yy"; }, "/work/a.tar.gz",
       0, kJanuaryFifth, "00001.gz"},
      {"extension change",
       [](auto& s) {
         s.change_extension = true;
         s.new_extension = "jpg";
       },
       "/work/photo.JPEG", 0, kJanuaryFifth, "2000年01月05日001.jpg"},
      {"extension change, then upper case",
       [](auto& s) {
         s.change_extension = true;
         s.new_extension = "jpg";
         s.letter_case = 2;
       },
       "/work/photo.JPEG", 0, kJanuaryFifth, "2000年01月05日001.JPG"},
      {"extension added where there is none",
       [](auto& s) {
         s.date_format = "yy";
         s.change_extension = true;
       },
       "/work/Makefile", 0, kJanuaryFifth, "00001.txt"},
      {"an empty new extension leaves the dot",
       [](auto& s) {
         s.change_extension = true;
         s.new_extension.clear();
       },
       "/work/a.txt", 0, kJanuaryFifth, "2000年01月05日001."},
      {"the prefix's dot takes the new extension",
       [](auto& s) {
         s.leading_text = "v1.2";
         s.date_format.clear();
         SetSerialStyle(s, 0);
         s.change_extension = true;
       },
       "/work/README", 0, kJanuaryFifth, "v1.txt"},
      {"lower case over every part",
       [](auto& s) {
         s.leading_text = "ABC_";
         s.date_format = "mmm_ddd_am/pm";
         s.letter_case = 1;
       },
       "/work/A.TXT", 0, kJanuaryFifth, "abc_1月_水_pm001.txt"},
      {"upper case reaches both ends of the letters",
       [](auto& s) {
         s.leading_text = "az_";
         s.date_format.clear();
         SetSerialStyle(s, 0);
         s.letter_case = 2;
       },
       "/work/README", 0, kJanuaryFifth, "AZ_"},
      {"lower case reaches both ends of the letters",
       [](auto& s) {
         s.leading_text = "AZ_";
         s.date_format.clear();
         SetSerialStyle(s, 0);
         s.letter_case = 1;
       },
       "/work/README", 0, kJanuaryFifth, "az_"},
      {"upper case keeps double-byte characters whole",
       [](auto& s) {
         s.leading_text = Sjis("ヂ電x");  // second bytes "a" and "d"
         s.date_format.clear();
         s.letter_case = 2;
       },
       "/work/a.txt", 0, kJanuaryFifth, "ヂ電X001.TXT"},
      {"lower case keeps double-byte characters whole",
       [](auto& s) {
         s.leading_text = Sjis("アホX");  // second bytes "A" and "z"
         s.date_format.clear();
         s.letter_case = 1;
       },
       "/work/a.TXT", 0, kJanuaryFifth, "アホx001.txt"},
  };
  for (const Case& c : cases) {
    NamingSettings settings;
    c.set(settings);
    EXPECT_EQ(Utf8(app::ComposeFileName(settings, Sjis(c.source), c.index, c.date)), c.expected)
        << c.what;
  }
}

TEST_F(NamingTest, ComposesTheSample) {
  struct Case {
    const char* what;
    std::function<void(NamingSettings&)> set;
    const char* expected;
  } cases[] = {
      {"start values", [](NamingSettings&) {}, "2026年12月08日001.***"},
      {"picked date", [](auto& s) { s.date_source = app::DateSource::kPicked; },
       "2000年08月09日001.***"},
      {"picked time of day",
       [](auto& s) {
         s.date_source = app::DateSource::kPicked;
         s.date_format = "hh:nn:ss";
       },
       "17:53:09001.***"},
      {"no serial shows the style's text", [](auto& s) { SetSerialStyle(s, 0); },
       "2026年12月08日なし.***"},
      {"the new extension takes the placeholder's place",
       [](auto& s) {
         s.change_extension = true;
         s.new_extension = "jpg";
       },
       "2026年12月08日001.jpg"},
      {"upper case",
       [](auto& s) {
         s.leading_text = "img_";
         s.letter_case = 2;
       },
       "IMG_2026年12月08日001.***"},
      {"the prefix's dot is kept",
       [](auto& s) {
         s.leading_text = "v1.2";
         s.date_format.clear();
         SetSerialStyle(s, 0);
         s.change_extension = true;
       },
       "v1.2なし.txt"},
  };
  for (const Case& c : cases) {
    NamingSettings settings;
    c.set(settings);
    EXPECT_EQ(Utf8(app::ComposeSample(settings, kEvening)), c.expected) << c.what;
  }
}

}  // namespace
