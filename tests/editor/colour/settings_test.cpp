#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "editor/colour/bracket_collection.h"
#include "editor/colour/caret_settings.h"
#include "editor/colour/color_settings.h"
#include "editor/colour/margin_settings.h"
#include "editor/colour/mark_settings.h"
#include "editor/colour/view_info.h"
#include "platform/string_list.h"

namespace editor {
namespace {

using namespace platform;

// Counts the notifications a settings object sends, with their senders.
struct Recorder {
  std::vector<TObject*> senders;
  TNotifyEvent Handler() {
    return [this](TObject* sender) { senders.push_back(sender); };
  }
  int Count() const { return static_cast<int>(senders.size()); }
};

template <class Settings>
int NotificationsOf(Settings& settings, const std::function<void(Settings&)>& change) {
  Recorder recorder;
  settings.SetOnChange(recorder.Handler());
  change(settings);
  settings.SetOnChange(nullptr);
  return recorder.Count();
}

TEST(SettingsDefaults, CaretAndCursors) {
  TEditorCaret caret;
  EXPECT_TRUE(caret.AutoCursor());
  EXPECT_TRUE(caret.AutoIndent());
  EXPECT_TRUE(caret.FreeCaret());
  EXPECT_FALSE(caret.InTab());
  EXPECT_FALSE(caret.KeepCaret());
  EXPECT_FALSE(caret.LockScroll());
  EXPECT_FALSE(caret.NextLine());
  EXPECT_FALSE(caret.PrevSpaceIndent());
  EXPECT_TRUE(caret.RowSelect());
  EXPECT_EQ(caret.SelDragMode(), dmAutomatic);
  EXPECT_TRUE(caret.SelMove());
  EXPECT_FALSE(caret.SoftTab());
  EXPECT_EQ(caret.Style(), csDefault);
  EXPECT_FALSE(caret.TabIndent());
  EXPECT_EQ(caret.TabSpaceCount(), 8);

  const TEditorCursors& cursors = caret.Cursors();
  EXPECT_EQ(cursors.DefaultCursor(), crIBeam);
  EXPECT_EQ(cursors.DefaultCursor(), -4);
  EXPECT_EQ(cursors.DragSelCursor(), -12);
  EXPECT_EQ(cursors.DragSelCopyCursor(), 2);
  EXPECT_EQ(cursors.InSelCursor(), crDefault);
  EXPECT_EQ(cursors.LeftMarginCursor(), 1);

  // The program's own images go wherever the cursor table had room.
  TEditorCaret elsewhere(TEditorCursorImages{.LeftMargin = 5, .DragSelCopy = 6});
  EXPECT_EQ(elsewhere.Cursors().LeftMarginCursor(), 5);
  EXPECT_EQ(elsewhere.Cursors().DragSelCopyCursor(), 6);
}

TEST(SettingsDefaults, MarginMarksColoursAndView) {
  TEditorMargin margin;
  EXPECT_EQ(margin.Character(), 0);
  EXPECT_EQ(margin.Left(), 19);
  EXPECT_EQ(margin.Line(), 0);
  EXPECT_EQ(margin.Top(), 2);
  EXPECT_EQ(margin.UnderlineHeight(), 0);

  TEditorMarks marks;
  for (TEditorMark* mark : {&marks.EofMark(), &marks.RetMark(), &marks.Underline()}) {
    EXPECT_EQ(mark->Color(), clGray);
    EXPECT_EQ(mark->Color(), 8421504);
    EXPECT_FALSE(mark->Visible());
  }

  TEditorViewInfo view;
  EXPECT_EQ(view.Brackets().Count(), 0);
  EXPECT_EQ(view.Commenter(), "");
  EXPECT_FALSE(view.ControlCode());
  EXPECT_EQ(view.HexPrefix(), "");
  EXPECT_FALSE(view.Mail());
  EXPECT_EQ(view.Quotation(), "");
  EXPECT_FALSE(view.Url());
  EXPECT_EQ(view.Editor(), nullptr);

  using S = TEditorColorSlot;
  for (S slot :
       {S::Ank, S::Comment, S::DBCS, S::Int, S::Mail, S::Reserve, S::Str, S::Symbol, S::Url}) {
    EXPECT_EQ(view.Colors().Slot(slot).BkColor(), clWindow);
    EXPECT_EQ(view.Colors().Slot(slot).Color(), clWindowText);
    EXPECT_TRUE(view.Colors().Slot(slot).Style().Empty());
  }
  EXPECT_EQ(view.Colors().Select().BkColor(), 8388608);
  EXPECT_EQ(view.Colors().Select().Color(), clWhite);
}

TEST(SettingsClamping, TabSpaceCountIsEvenFromTwoToEight) {
  const std::pair<int, int> cases[] = {{5, 4},   {1, 2}, {9, 8},  {3, 2}, {7, 6},
                                       {100, 8}, {0, 2}, {-3, 2}, {6, 6}, {2, 2}};
  for (auto [given, stored] : cases) {
    TEditorCaret caret;
    caret.SetTabSpaceCount(given);
    EXPECT_EQ(caret.TabSpaceCount(), stored) << given;
  }
}

TEST(SettingsClamping, MarginCharacterOnlyAndQuotationKeepsOneByte) {
  TEditorMargin margin;
  const std::pair<int, int> characters[] = {{250, 100}, {-5, 0}, {100, 100}, {37, 37}};
  for (auto [given, stored] : characters) {
    margin.SetCharacter(given);
    EXPECT_EQ(margin.Character(), stored) << given;
  }
  margin.SetLeft(-5);
  margin.SetTop(-7);
  margin.SetLine(1000);
  EXPECT_EQ(margin.Left(), -5);
  EXPECT_EQ(margin.Top(), -7);
  EXPECT_EQ(margin.Line(), 1000);

  TEditorViewInfo view;
  const std::pair<std::string, std::string> quotes[] = {
      {"'\"`", "'"}, {"\x82\xA0", "\x82"}, {"\"", "\""}, {"", ""}};
  for (const auto& [given, stored] : quotes) {
    view.SetQuotation(given);
    EXPECT_EQ(view.Quotation(), stored);
  }
}

// Each setter notifies once when the value changes, and not at all when it
// is set again to what it holds; clamping counts: a value clamped to the
// current one is no change.
TEST(SettingsNotification, SettersNotifyOnlyOnRealChanges) {
  struct Case {
    const char* name;
    std::function<int()> notifications;
    int expected;
  };
  auto caret = [](std::function<void(TEditorCaret&)> change) {
    return [change] {
      TEditorCaret caret;
      return NotificationsOf<TEditorCaret>(caret, change);
    };
  };
  auto margin = [](std::function<void(TEditorMargin&)> change) {
    return [change] {
      TEditorMargin margin;
      return NotificationsOf<TEditorMargin>(margin, change);
    };
  };
  auto view = [](std::function<void(TEditorViewInfo&)> change) {
    return [change] {
      TEditorViewInfo view;
      return NotificationsOf<TEditorViewInfo>(view, change);
    };
  };
  auto color = [](std::function<void(TEditorColor&)> change) {
    return [change] {
      TEditorColor color;
      return NotificationsOf<TEditorColor>(color, change);
    };
  };
  auto mark = [](std::function<void(TEditorMark&)> change) {
    return [change] {
      TEditorMark mark;
      return NotificationsOf<TEditorMark>(mark, change);
    };
  };
  const Case cases[] = {
      {"Style", caret([](auto& c) { c.SetStyle(csBrief); }), 1},
      {"Style same", caret([](auto& c) { c.SetStyle(csDefault); }), 0},
      {"TabSpaceCount", caret([](auto& c) { c.SetTabSpaceCount(4); }), 1},
      {"TabSpaceCount 9 is 8", caret([](auto& c) { c.SetTabSpaceCount(9); }), 0},
      {"AutoIndent is a field", caret([](auto& c) { c.SetAutoIndent(false); }), 0},
      {"FreeCaret is a field", caret([](auto& c) { c.SetFreeCaret(false); }), 0},
      {"Cursors notify nobody", caret([](auto& c) { c.Cursors().SetDefaultCursor(crArrow); }), 0},
      {"Character", margin([](auto& m) { m.SetCharacter(3); }), 1},
      {"Character -5 is 0", margin([](auto& m) { m.SetCharacter(-5); }), 0},
      {"Left", margin([](auto& m) { m.SetLeft(4); }), 1},
      {"Left same", margin([](auto& m) { m.SetLeft(19); }), 0},
      {"Top", margin([](auto& m) { m.SetTop(0); }), 1},
      {"Line", margin([](auto& m) { m.SetLine(1); }), 1},
      {"UnderlineHeight", margin([](auto& m) { m.SetUnderlineHeight(1); }), 0},
      {"Mark colour", mark([](auto& m) { m.SetColor(clRed); }), 1},
      {"Mark colour same", mark([](auto& m) { m.SetColor(clGray); }), 0},
      {"Mark visible", mark([](auto& m) { m.SetVisible(true); }), 1},
      {"BkColor", color([](auto& c) { c.SetBkColor(clBlack); }), 1},
      {"Color same", color([](auto& c) { c.SetColor(clWindowText); }), 0},
      {"Style set", color([](auto& c) { c.SetStyle({fsUnderline}); }), 1},
      {"Style empty again", color([](auto& c) { c.SetStyle({}); }), 0},
      {"Commenter", view([](auto& v) { v.SetCommenter("//"); }), 1},
      {"Commenter same", view([](auto& v) { v.SetCommenter(""); }), 0},
      {"ControlCode", view([](auto& v) { v.SetControlCode(true); }), 1},
      {"HexPrefix", view([](auto& v) { v.SetHexPrefix("$"); }), 1},
      {"Mail", view([](auto& v) { v.SetMail(true); }), 1},
      {"Url same", view([](auto& v) { v.SetUrl(false); }), 0},
      {"Quotation", view([](auto& v) { v.SetQuotation("''"); }), 1},
      {"Quotation twice", view([](auto& v) {
         v.SetQuotation("'");
         v.SetQuotation("'x");
       }),
       1},
      {"Quotation emptied", view([](auto& v) { v.SetQuotation(""); }), 0},
      {"Bracket text is written directly", view([](auto& v) {
         v.Brackets().Add();
         v.Brackets().Items(0)->SetLeftBracket("{");
         v.Brackets().Items(0)->ItemColor().SetColor(clRed);
       }),
       1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.notifications(), c.expected) << c.name;
}

TEST(SettingsNotification, PartsReportThroughTheirOwnersUpToTheView) {
  TEditorViewInfo view;
  Recorder recorder;
  view.SetOnChange(recorder.Handler());

  view.Colors().Url().SetColor(clAqua);
  EXPECT_EQ(recorder.senders, std::vector<TObject*>{&view});

  // An update anywhere on the way holds the chain there until it ends.
  view.Colors().BeginUpdate();
  view.Colors().Url().SetColor(clYellow);
  view.Colors().Mail().SetStyle({fsUnderline});
  EXPECT_EQ(recorder.Count(), 1);
  view.Colors().EndUpdate();
  EXPECT_EQ(recorder.Count(), 2);

  {
    platform::TUpdateGuard update(view);
    view.SetMail(true);
    view.SetUrl(true);
    view.Colors().Ank().SetBkColor(clBlack);
    view.Brackets().Add();
  }
  EXPECT_EQ(recorder.Count(), 3);

  view.Brackets().Add();
  EXPECT_EQ(recorder.Count(), 4);
  EXPECT_EQ(recorder.senders.back(), &view);

  TEditorMarks marks;
  Recorder mark_recorder;
  marks.SetOnChange(mark_recorder.Handler());
  marks.Underline().SetVisible(true);
  marks.EofMark().SetColor(clRed);
  EXPECT_EQ(mark_recorder.senders, (std::vector<TObject*>{&marks, &marks}));
}

TEST(SettingsNotification, SetAllWritesNineSlotsWithOneNotification) {
  TEditorColors colors;
  Recorder recorder;
  colors.SetOnChange(recorder.Handler());
  colors.SetAllBkColor(clBlack);
  colors.SetAllColor(clWhite);
  colors.SetAllStyle({fsBold, fsItalic});
  EXPECT_EQ(recorder.Count(), 3);
  EXPECT_EQ(colors.Ank().BkColor(), clBlack);
  EXPECT_EQ(colors.Url().Color(), clWhite);
  EXPECT_EQ(colors.Symbol().Style(), (TFontStyles{fsBold, fsItalic}));
  // The selection keeps its own colours.
  EXPECT_EQ(colors.Select().BkColor(), clNavy);
  EXPECT_EQ(colors.Select().Color(), clWhite);
  EXPECT_TRUE(colors.Select().Style().Empty());

  TEditorBracketCollection brackets;
  brackets.Add();
  brackets.Add();
  Recorder bracket_recorder;
  brackets.SetOnChange(bracket_recorder.Handler());
  brackets.SetAllColor(clRed);
  EXPECT_EQ(bracket_recorder.Count(), 1);
  EXPECT_EQ(brackets.Items(1)->ItemColor().Color(), clRed);
}

TEST(SettingsAssign, ViewCopiesEverythingWithOneNotification) {
  TEditorViewInfo source;
  source.SetCommenter("//");
  source.SetControlCode(true);
  source.SetHexPrefix("0x");
  source.SetMail(true);
  source.SetUrl(true);
  source.Colors().Url().SetColor(clAqua);
  source.Colors().Select().SetBkColor(clRed);
  TEditorBracketItem* item = source.Brackets().Add();
  item->SetLeftBracket("{");
  item->SetRightBracket("}");
  item->ItemColor().SetColor(clGreen);

  TEditorViewInfo target;
  target.Brackets().Add()->SetLeftBracket("(*");
  target.Brackets().Add();
  TEditorColors* owned_colors = &target.Colors();
  Recorder recorder;
  target.SetOnChange(recorder.Handler());
  target.Assign(&source);
  EXPECT_EQ(recorder.Count(), 1);
  EXPECT_EQ(&target.Colors(), owned_colors);
  EXPECT_EQ(target.Commenter(), "//");
  EXPECT_TRUE(target.ControlCode());
  EXPECT_EQ(target.HexPrefix(), "0x");
  EXPECT_TRUE(target.Mail());
  EXPECT_TRUE(target.Url());
  EXPECT_EQ(target.Colors().Url().Color(), clAqua);
  EXPECT_EQ(target.Colors().Select().BkColor(), clRed);
  ASSERT_EQ(target.Brackets().Count(), 1);
  EXPECT_EQ(target.Brackets().Items(0)->LeftBracket(), "{");
  EXPECT_EQ(target.Brackets().Items(0)->RightBracket(), "}");
  EXPECT_EQ(target.Brackets().Items(0)->ItemColor().Color(), clGreen);
  EXPECT_NE(target.Brackets().Items(0), source.Brackets().Items(0));

  // Nothing differs now, and the copy still notifies once.
  target.Assign(&source);
  EXPECT_EQ(recorder.Count(), 2);
}

TEST(SettingsAssign, EachClassCopiesWithOneNotification) {
  TEditorCaret caret_source;
  caret_source.SetAutoCursor(false);
  caret_source.Cursors().SetDefaultCursor(crArrow);
  caret_source.SetSoftTab(true);
  caret_source.SetStyle(csBrief);
  caret_source.SetTabSpaceCount(4);
  TEditorCaret caret;
  EXPECT_EQ(NotificationsOf<TEditorCaret>(caret, [&](auto& c) { c.Assign(&caret_source); }), 1);
  EXPECT_FALSE(caret.AutoCursor());
  EXPECT_EQ(caret.Cursors().DefaultCursor(), crArrow);
  EXPECT_TRUE(caret.SoftTab());
  EXPECT_EQ(caret.Style(), csBrief);
  EXPECT_EQ(caret.TabSpaceCount(), 4);

  TEditorMargin margin_source;
  margin_source.SetLeft(4);
  margin_source.SetUnderlineHeight(1);
  TEditorMargin margin;
  EXPECT_EQ(NotificationsOf<TEditorMargin>(margin, [&](auto& m) { m.Assign(&margin_source); }), 1);
  EXPECT_EQ(margin.Left(), 4);
  EXPECT_EQ(margin.UnderlineHeight(), 1);

  TEditorMarks marks_source;
  marks_source.Underline().SetVisible(true);
  marks_source.RetMark().SetColor(clRed);
  TEditorMarks marks;
  EXPECT_EQ(NotificationsOf<TEditorMarks>(marks, [&](auto& m) { m.Assign(&marks_source); }), 1);
  EXPECT_TRUE(marks.Underline().Visible());
  EXPECT_EQ(marks.RetMark().Color(), clRed);

  // Writing a compound property copies into the owned part.
  TEditorMark* owned = &marks.EofMark();
  marks.SetEofMark(marks_source.RetMark());
  EXPECT_EQ(&marks.EofMark(), owned);
  EXPECT_EQ(marks.EofMark().Color(), clRed);

  TEditorColors colors_source;
  colors_source.SetAllColor(clLime);
  TEditorColors colors;
  EXPECT_EQ(NotificationsOf<TEditorColors>(colors, [&](auto& c) { c.Assign(&colors_source); }), 1);
  EXPECT_EQ(colors.Int().Color(), clLime);
}

TEST(SettingsAssign, CaretCursorsCanBeHandedOverWhole) {
  TEditorCaret caret;
  auto cursors = std::make_unique<TEditorCursors>();
  cursors->SetInSelCursor(crHandPoint);
  TEditorCursors* handed = cursors.get();
  caret.SetCursors(std::move(cursors));
  EXPECT_EQ(&caret.Cursors(), handed);
  EXPECT_EQ(caret.Cursors().InSelCursor(), crHandPoint);
  caret.SetCursors(nullptr);
  EXPECT_EQ(&caret.Cursors(), handed);
}

TEST(SettingsAssign, OtherClassesAreRefusedAndNothingIsLost) {
  TEditorViewInfo view;
  view.SetCommenter("//");
  view.Brackets().Add()->SetLeftBracket("{");
  TEditorMargin margin;
  EXPECT_THROW(view.Assign(&margin), EConvertError);
  EXPECT_THROW(view.Assign(nullptr), EConvertError);
  EXPECT_THROW(view.Brackets().Assign(&margin), EConvertError);
  EXPECT_THROW(margin.Assign(&view.Colors()), EConvertError);
  EXPECT_THROW(view.Colors().Ank().Assign(&margin), EConvertError);
  EXPECT_EQ(view.Commenter(), "//");
  ASSERT_EQ(view.Brackets().Count(), 1);
  EXPECT_EQ(view.Brackets().Items(0)->LeftBracket(), "{");
}

TEST(BracketCollection, HoldsAtMostFourteenItems) {
  TEditorBracketCollection brackets;
  for (int i = 0; i < 14; ++i) brackets.Add()->SetLeftBracket(std::to_string(i));
  try {
    brackets.Add();
    FAIL() << "a fifteenth item was added";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "TEditorBracketCollection\r\nYou can not add item over 14");
  }
  EXPECT_EQ(brackets.Count(), 14);
  EXPECT_EQ(brackets.Items(13)->LeftBracket(), "13");
  EXPECT_THROW(brackets.Items(14), EListError);
  EXPECT_THROW(brackets.Items(-1), EListError);
}

TEST(BracketCollection, ChangesReachItsEventOncePerChange) {
  TEditorBracketCollection brackets;
  Recorder recorder;
  brackets.SetOnChange(recorder.Handler());
  brackets.Add();
  brackets.Add();
  EXPECT_EQ(recorder.Count(), 2);
  EXPECT_EQ(recorder.senders[0], &brackets);
  brackets.Delete(0);
  EXPECT_EQ(recorder.Count(), 3);
  brackets.Clear();
  EXPECT_EQ(recorder.Count(), 4);
  brackets.Clear();  // already empty: no change
  EXPECT_EQ(recorder.Count(), 4);

  TEditorBracketCollection source;
  for (const char* left : {"{", "(*", "/*"}) source.Add()->SetLeftBracket(left);
  brackets.Assign(&source);
  EXPECT_EQ(recorder.Count(), 5);
  ASSERT_EQ(brackets.Count(), 3);
  EXPECT_EQ(brackets.Items(2)->LeftBracket(), "/*");

  // Copying a collection onto itself keeps its items.
  brackets.Assign(&brackets);
  EXPECT_EQ(brackets.Count(), 3);
  EXPECT_EQ(recorder.Count(), 6);
}

}  // namespace
}  // namespace editor

namespace editor {
namespace {

TEST(ColourValues, SystemColoursResolveThroughThePalette) {
  using namespace platform;
  EXPECT_TRUE(IsSystemColor(clWindow));
  EXPECT_FALSE(IsSystemColor(clNavy));
  EXPECT_FALSE(IsSystemColor(clNone));
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clAqua), RGB(0, 255, 255));
  EXPECT_EQ(GetBValue(clNavy), 0x80);

  // A dark desktop theme turns the same stored colours into its own.
  TSystemPalette dark = TSystemPalette::Defaults();
  dark[COLOR_WINDOW] = RGB(0x20, 0x20, 0x20);
  EXPECT_EQ(ColorToRGB(clWindow, dark), RGB(0x20, 0x20, 0x20));
  EXPECT_EQ(ColorToRGB(clYellow, dark), clYellow);
}

TEST(ColourValues, FontStyleSets) {
  using namespace platform;
  TFontStyles styles{fsBold};
  styles.Include(fsUnderline);
  EXPECT_TRUE(styles.Contains(fsUnderline));
  EXPECT_FALSE(styles.Contains(fsItalic));
  styles.Exclude(fsBold);
  EXPECT_EQ(styles, TFontStyles{fsUnderline});
  EXPECT_EQ(styles + TFontStyles{fsItalic}, (TFontStyles{fsItalic, fsUnderline}));
  EXPECT_TRUE((styles - TFontStyles{fsUnderline}).Empty());
}

}  // namespace
}  // namespace editor
