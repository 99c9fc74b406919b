#include "platform/string_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include <unistd.h>

#include "platform/user_locale.h"

namespace {

using platform::EListError;
using platform::TStringList;
using platform::TStrings;

std::vector<std::string> Lines(const TStrings& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}

// Records every notification, with the update count seen at that moment.
struct Recorder {
  std::vector<std::string> events;
  void Attach(TStringList& list) {
    list.OnChanging = [this](platform::TObject*) { events.push_back("changing"); };
    list.OnChange = [this](platform::TObject*) { events.push_back("change"); };
  }
};

// A list that only knows Get/GetCount/Insert/Delete/Clear, as the editor's
// views do; everything else must come from the base behaviour.
class MinimalStrings : public TStrings {
 public:
  std::vector<std::string> lines;
  std::vector<bool> states;
  std::string Get(int i) const override {
    if (i < 0 || i >= GetCount()) IndexError(i);
    return lines[i];
  }
  int GetCount() const override { return static_cast<int>(lines.size()); }
  void Insert(int i, const std::string& s) override { lines.insert(lines.begin() + i, s); }
  void Delete(int i) override {
    if (i < 0 || i >= GetCount()) IndexError(i);
    lines.erase(lines.begin() + i);
  }
  void Clear() override { lines.clear(); }
  void SetUpdateState(bool updating) override { states.push_back(updating); }
};

TEST(StringList, SetTextSplitsAtEveryLineEnd) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},  // a final break adds no empty line
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc\r\n\r\nd", {"a", "b", "c", "", "d"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR: two breaks
      {"\r\n", {""}},
      {"\n\n", {"", ""}},
      {std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}},  // NUL cuts nothing
      {"\x95\x5C\r\n\x83\x5C", {"\x95\x5C", "\x83\x5C"}},          // trail bytes stay
  };
  for (const auto& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(Lines(list), c.lines) << c.text;
  }
}

TEST(StringList, TextEndsEveryLineWithCrLf) {
  TStringList list;
  list.Add("a");
  list.Add("");
  list.Add(std::string("b\0c", 3));
  EXPECT_EQ(list.Text(), std::string("a\r\n\r\nb\0c\r\n", 10));
  TStringList empty;
  EXPECT_EQ(empty.Text(), "");
}

TEST(StringList, CommaTextQuotesWhatNeedsIt) {
  struct Case {
    std::vector<std::string> lines;
    std::string comma;
  } cases[] = {
      {{}, ""},
      {{""}, "\"\""},
      {{"*.*"}, "*.*"},
      {{"*.txt", "a*"}, "*.txt,a*"},
      {{"a b", "c,d", "say \"hi\"", "tab\there"},
       "\"a b\",\"c,d\",\"say \"\"hi\"\"\",\"tab\there\""},
      {{"a", "", "b"}, "a,,b"},
      {{"\x83\x5C\x83\x74\x83\x67"}, "\x83\x5C\x83\x74\x83\x67"},  // ソフト: no quotes
  };
  for (const auto& c : cases) {
    TStringList list;
    for (const auto& l : c.lines) list.Add(l);
    EXPECT_EQ(list.CommaText(), c.comma);
    TStringList back;
    back.SetCommaText(c.comma);
    EXPECT_EQ(Lines(back), c.lines) << c.comma;
  }
}

TEST(StringList, CommaTextParsing) {
  struct Case {
    std::string comma;
    std::vector<std::string> lines;
  } cases[] = {
      {"  a , b ,c", {"a", "b", "c"}},
      {"a b", {"a", "b"}},  // blanks separate unquoted items
      {"a,", {"a"}},
      {"\"open", {"open"}},  // an unterminated quote runs to the end
      {"\"x\"y", {"x", "y"}},
  };
  for (const auto& c : cases) {
    TStringList list;
    list.SetCommaText(c.comma);
    EXPECT_EQ(Lines(list), c.lines) << c.comma;
  }
}

TEST(StringList, IndexErrorsNameTheIndex) {
  TStringList list;
  list.Add("a");
  try {
    list.Get(5);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (5)");
  }
  EXPECT_THROW(list.Get(-1), EListError);
  EXPECT_THROW(list.Put(1, "x"), EListError);
  EXPECT_THROW(list.Delete(1), EListError);
  EXPECT_THROW(list.Insert(2, "x"), EListError);
  EXPECT_THROW(list.GetObject(1), EListError);
  EXPECT_THROW(list.Exchange(0, 1), EListError);
  list.Insert(1, "b");  // one past the end is an append
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b"}));
}

TEST(StringList, ChangeEventsOnlyOutsideUpdates) {
  TStringList list;
  Recorder r;
  r.Attach(list);
  list.Add("a");
  EXPECT_EQ(r.events, (std::vector<std::string>{"changing", "change"}));
  r.events.clear();
  list.BeginUpdate();
  EXPECT_EQ(r.events, (std::vector<std::string>{"changing"}));
  list.BeginUpdate();
  list.Add("b");
  list.Put(0, "c");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(list.UpdateCount(), 1);
  EXPECT_EQ(r.events, (std::vector<std::string>{"changing"}));
  list.EndUpdate();
  EXPECT_EQ(r.events, (std::vector<std::string>{"changing", "change"}));
  EXPECT_EQ(list.UpdateCount(), 0);
  list.EndUpdate();  // unbalanced end does nothing
  EXPECT_EQ(list.UpdateCount(), 0);
  r.events.clear();
  list.SetText("x\ny");  // one update around the whole text
  EXPECT_EQ(r.events, (std::vector<std::string>{"changing", "change"}));
}

TEST(StringList, UpdateGuardClosesOnThrow) {
  TStringList list;
  Recorder r;
  r.Attach(list);
  try {
    platform::TStringsUpdate update(list);
    list.Get(3);
  } catch (const EListError&) {
  }
  EXPECT_EQ(list.UpdateCount(), 0);
  EXPECT_EQ(r.events, (std::vector<std::string>{"changing", "change"}));
}

TEST(StringList, BaseOperationsGoThroughTheOverrides) {
  MinimalStrings s;
  s.SetText("a\r\nb\r\n");
  EXPECT_EQ(s.lines, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(s.states, (std::vector<bool>{true, false}));
  s.Put(0, "c");
  s.Exchange(0, 1);
  EXPECT_EQ(s.lines, (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(s.Add("d"), 2);
  EXPECT_EQ(s.GetObject(0), nullptr);
  EXPECT_EQ(s.Text(), "b\r\nc\r\nd\r\n");
  EXPECT_THROW(s.Put(7, "x"), EListError);

  TStringList source;
  source.SetText("x\ny");
  s.Assign(&source);
  EXPECT_EQ(s.lines, (std::vector<std::string>{"x", "y"}));

  struct NotAList : platform::TPersistent {
  } other;
  EXPECT_THROW(s.Assign(&other), platform::EConvertError);
}

TEST(StringList, ObjectsFollowTheirStrings) {
  platform::TObject one, two;
  TStringList list;
  list.AddObject("b", &one);
  list.AddObject("a", &two);
  list.InsertObject(0, "c", nullptr);
  EXPECT_EQ(list.IndexOfObject(&two), 2);
  list.Sort();
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(list.Objects(0), &two);
  EXPECT_EQ(list.Objects(1), &one);
  TStringList copy;
  copy.Assign(&list);
  EXPECT_EQ(copy.Objects(1), &one);
}

TEST(StringList, SortedListsFindAndPlace) {
  platform::ScopedUserLocale ja("ja_JP");
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"delta", "Alpha", "charlie", "bravo"}) list.Add(s);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"Alpha", "bravo", "charlie", "delta"}));
  int index = -1;
  EXPECT_TRUE(list.Find("ALPHA", index));
  EXPECT_EQ(index, 0);
  EXPECT_FALSE(list.Find("bz", index));
  EXPECT_EQ(index, 2);
  EXPECT_EQ(list.IndexOf("CHARLIE"), 2);
  EXPECT_EQ(list.IndexOf("echo"), -1);
  EXPECT_EQ(list.Add("BRAVO"), 1);  // ignored: already there
  EXPECT_EQ(list.Count(), 4);
  list.SetDuplicates(platform::dupError);
  EXPECT_THROW(list.Add("Bravo"), EListError);
  list.SetDuplicates(platform::dupAccept);
  list.Add("Bravo");
  EXPECT_EQ(list.Count(), 5);
  EXPECT_TRUE(list.Find("bravo", index));
  EXPECT_EQ(index, 1);  // the first of the equal lines
  EXPECT_THROW(list.Insert(0, "x"), EListError);
  EXPECT_THROW(list.Put(0, "x"), EListError);
}

TEST(StringList, CustomSortOrdersByTheComparison) {
  TStringList list;
  list.SetText("ccc\na\nbb\ndddd");
  list.CustomSort([](const TStringList& l, int i, int j) {
    return static_cast<int>(l[j].size()) - static_cast<int>(l[i].size());
  });
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"dddd", "ccc", "bb", "a"}));
  // A comparison that contradicts itself still leaves every item in the list.
  list.CustomSort([](const TStringList&, int, int) { return -1; });
  EXPECT_EQ(list.Count(), 4);
}

TEST(StringList, FilesRoundTripWithCp932Names) {
  auto dir =
      std::filesystem::temp_directory_path() / ("string_list_test_" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  // 表.txt: the name's second byte is 0x5C.
  std::string path = dir.string() + "/\x95\x5C.txt";
  TStringList list;
  list.SetText("one\r\n\x93\xFA\x96\x7B\r\n");
  list.SaveToFile(path);
  EXPECT_TRUE(std::filesystem::exists(dir / u8"表.txt"));
  TStringList back;
  back.LoadFromFile(path);
  EXPECT_EQ(Lines(back), Lines(list));
  EXPECT_THROW(back.LoadFromFile(dir.string() + "/missing.txt"), platform::EFOpenError);
  EXPECT_THROW(back.LoadFromFile(dir.string() + "/\x81"), platform::EFOpenError);
  EXPECT_THROW(list.SaveToFile(dir.string() + "/no/such/dir.txt"), platform::EFCreateError);
  EXPECT_EQ(Lines(back), Lines(list));  // a failed load keeps what was there
  TStringList empty;
  empty.SaveToFile(path);
  back.LoadFromFile(path);
  EXPECT_EQ(back.Count(), 0);
  std::filesystem::remove_all(dir);
}

}  // namespace
