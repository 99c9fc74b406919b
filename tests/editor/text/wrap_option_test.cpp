#include "editor/text/wrap_option.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/cp932.h"

namespace {

using editor::TEditorWrapOption;

struct Counted {
  TEditorWrapOption option;
  int changes = 0;
  Counted() {
    option.SetOnChange([this](platform::TObject* sender) {
      EXPECT_EQ(sender, &option);
      ++changes;
    });
  }
};

std::string Sjis(const char* utf8) {
  return platform::Utf8ToCp932(utf8).value();
}

TEST(WrapOption, Defaults) {
  TEditorWrapOption option;
  EXPECT_FALSE(option.FollowRetMark());
  EXPECT_FALSE(option.FollowPunctuation());
  EXPECT_FALSE(option.Leading());
  EXPECT_FALSE(option.WordBreak());
  EXPECT_EQ(option.WrapByte(), 80);
  EXPECT_EQ(option.FollowStr(), Sjis("、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ"));
  EXPECT_EQ(option.FollowStr().size(), 56u);
  EXPECT_EQ(option.LeadStr(), Sjis("（［｛「『([{｢"));
  EXPECT_EQ(option.LeadStr().size(), 14u);
  EXPECT_EQ(option.PunctuationStr(), Sjis("、。，．,.｡､"));
  EXPECT_EQ(option.PunctuationStr().size(), 12u);
}

TEST(WrapOption, WrapByteIsClampedAndNotifiesOnlyOnChange) {
  struct Case {
    int set, stored;
    bool notified;
  } cases[] = {{10, 20, true},  {1000, 250, true}, {250, 250, false}, {80, 80, true},
               {80, 80, false}, {-5, 20, true},    {19, 20, false},   {21, 21, true}};
  Counted c;
  for (const auto& step : cases) {
    const int before = c.changes;
    c.option.SetWrapByte(step.set);
    EXPECT_EQ(c.option.WrapByte(), step.stored) << step.set;
    EXPECT_EQ(c.changes - before, step.notified ? 1 : 0) << step.set;
  }
}

TEST(WrapOption, EverySetterNotifiesOnlyWhenTheValueDiffers) {
  using Setter = std::function<void(TEditorWrapOption&, bool second)>;
  const Setter setters[] = {
      [](TEditorWrapOption& o, bool) { o.SetFollowRetMark(true); },
      [](TEditorWrapOption& o, bool) { o.SetFollowPunctuation(true); },
      [](TEditorWrapOption& o, bool) { o.SetLeading(true); },
      [](TEditorWrapOption& o, bool) { o.SetWordBreak(true); },
      [](TEditorWrapOption& o, bool) { o.SetFollowStr("x"); },
      [](TEditorWrapOption& o, bool) { o.SetLeadStr("x"); },
      [](TEditorWrapOption& o, bool) { o.SetPunctuationStr(""); },
  };
  for (const auto& set : setters) {
    Counted c;
    set(c.option, false);
    set(c.option, true);
    EXPECT_EQ(c.changes, 1);
  }
}

TEST(WrapOption, StringsAreStoredAsGiven) {
  Counted c;
  const std::string odd("\x82\0\x81", 3);  // not checked: stored byte for byte
  c.option.SetFollowStr(odd);
  EXPECT_EQ(c.option.FollowStr(), odd);
}

TEST(WrapOption, UpdateHoldsNotificationsBack) {
  Counted c;
  c.option.BeginUpdate();
  c.option.SetWrapByte(100);
  c.option.SetLeading(true);
  EXPECT_EQ(c.changes, 0);
  c.option.EndUpdate();
  EXPECT_EQ(c.changes, 1);
}

TEST(WrapOption, AssignCopiesAllAndNotifiesOnce) {
  TEditorWrapOption source;
  source.SetFollowRetMark(true);
  source.SetFollowPunctuation(true);
  source.SetFollowStr("a");
  source.SetLeading(true);
  source.SetLeadStr("b");
  source.SetPunctuationStr("c");
  source.SetWordBreak(true);
  source.SetWrapByte(33);
  Counted c;
  c.option.Assign(&source);
  EXPECT_EQ(c.changes, 1);
  EXPECT_TRUE(c.option.FollowRetMark());
  EXPECT_TRUE(c.option.FollowPunctuation());
  EXPECT_EQ(c.option.FollowStr(), "a");
  EXPECT_TRUE(c.option.Leading());
  EXPECT_EQ(c.option.LeadStr(), "b");
  EXPECT_EQ(c.option.PunctuationStr(), "c");
  EXPECT_TRUE(c.option.WordBreak());
  EXPECT_EQ(c.option.WrapByte(), 33);
  c.option.Assign(&source);  // nothing differs, still one notification
  EXPECT_EQ(c.changes, 2);
}

TEST(WrapOption, AssignFromAnotherClassFails) {
  struct Other : platform::TPersistent {};
  Other other;
  Counted c;
  EXPECT_THROW(c.option.Assign(&other), platform::EConvertError);
  EXPECT_EQ(c.changes, 0);
}

}  // namespace
