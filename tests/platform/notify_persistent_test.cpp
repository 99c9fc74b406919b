#include "platform/notify_persistent.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace platform {
namespace {

// A compound settings object with one part, enough to follow a change of the
// part up to the owner's handler.
class Compound : public TNotifyPersistent {
 public:
  Compound() { Adopt(part); }
  TNotifyPersistent part;
};

struct Recorder {
  std::vector<platform::TObject*> senders;
  platform::TNotifyEvent Handler() {
    return [this](platform::TObject* sender) { senders.push_back(sender); };
  }
};

TEST(NotifyPersistent, ChangedReachesTheHandlerOnlyOutsideUpdates) {
  TNotifyPersistent object;
  object.Changed();  // no handler: nothing happens
  Recorder recorder;
  object.SetOnChange(recorder.Handler());
  object.Changed();
  EXPECT_EQ(recorder.senders, std::vector<platform::TObject*>{&object});

  object.BeginUpdate();
  object.BeginUpdate();
  object.Changed();
  object.EndUpdate();  // still one level open: held back
  EXPECT_EQ(recorder.senders.size(), 1u);
  object.EndUpdate();
  EXPECT_EQ(recorder.senders.size(), 2u);
  EXPECT_EQ(object.UpdateCount(), 0);
}

TEST(NotifyPersistent, EveryClosedBracketNotifiesEvenWithoutChanges) {
  TNotifyPersistent object;
  Recorder recorder;
  object.SetOnChange(recorder.Handler());
  object.BeginUpdate();
  object.EndUpdate();
  EXPECT_EQ(recorder.senders.size(), 1u);
}

TEST(NotifyPersistent, PartChangesReportAsChangesOfTheOwner) {
  Compound owner;
  Recorder recorder;
  owner.SetOnChange(recorder.Handler());
  owner.part.Changed();
  EXPECT_EQ(recorder.senders, std::vector<platform::TObject*>{&owner});

  // An update of the owner holds the part's change back; the part's own
  // update holds it back below the owner.
  owner.BeginUpdate();
  owner.part.Changed();
  EXPECT_EQ(recorder.senders.size(), 1u);
  owner.EndUpdate();
  EXPECT_EQ(recorder.senders.size(), 2u);

  owner.part.BeginUpdate();
  owner.part.Changed();
  EXPECT_EQ(recorder.senders.size(), 2u);
  owner.part.EndUpdate();
  EXPECT_EQ(recorder.senders.size(), 3u);
}

TEST(NotifyPersistent, ChildChangedFromItselfIsIgnored) {
  TNotifyPersistent object;
  Recorder recorder;
  object.SetOnChange(recorder.Handler());
  object.ChildChanged(&object);
  EXPECT_TRUE(recorder.senders.empty());
}

TEST(NotifyPersistent, GuardClosesTheUpdateOnEveryPath) {
  TNotifyPersistent object;
  Recorder recorder;
  object.SetOnChange(recorder.Handler());
  {
    TUpdateGuard guard(object);
    object.Changed();
    EXPECT_TRUE(recorder.senders.empty());
  }
  EXPECT_EQ(recorder.senders.size(), 1u);

  EXPECT_THROW(
      {
        TUpdateGuard guard(object);
        throw std::runtime_error("failed half-way");
      },
      std::runtime_error);
  EXPECT_EQ(object.UpdateCount(), 0);
  EXPECT_EQ(recorder.senders.size(), 2u);

  // A handler that fails while another failure unwinds does not end the
  // program; the first failure is the one that arrives.
  object.SetOnChange([](platform::TObject*) { throw std::logic_error("handler"); });
  EXPECT_THROW(
      {
        TUpdateGuard guard(object);
        throw std::runtime_error("first");
      },
      std::runtime_error);
  EXPECT_EQ(object.UpdateCount(), 0);
}

// A settings class with every kind of field the copy helper knows: plain
// values, a part it owns by pointer, and a part reached through a function.
class Settings : public TNotifyPersistent {
 public:
  struct Part : TNotifyPersistent {
    int value = 0;
    void Assign(const TPersistent* source) override {
      AssignFields(*this, source, std::tuple{&Part::value});
    }
  };

  Settings() {
    Adopt(*owned);
    Adopt(held);
  }
  void Assign(const TPersistent* source) override;

  int number = 0;
  std::string name;
  std::unique_ptr<Part> owned = std::make_unique<Part>();
  mutable Part held;  // reached through a function, as array slots are
  int left_alone = 0;

 private:
  static auto Fields() {
    return std::tuple{&Settings::number, &Settings::owned,
                      [](const Settings& s) -> Part& { return s.held; }, &Settings::name};
  }
};

void Settings::Assign(const TPersistent* source) {
  AssignFields(*this, source, Fields());
}

TEST(NotifyPersistent, AssignFieldsCopiesTheListedFieldsWithOneNotification) {
  Settings source;
  source.number = 7;
  source.name = "seven";
  source.owned->value = 1;
  source.held.value = 2;
  source.left_alone = 9;

  Settings target;
  Recorder recorder;
  target.SetOnChange(recorder.Handler());
  target.Assign(&source);
  EXPECT_EQ(target.number, 7);
  EXPECT_EQ(target.name, "seven");
  EXPECT_EQ(target.owned->value, 1);
  EXPECT_EQ(target.held.value, 2);
  EXPECT_EQ(target.left_alone, 0);
  // The parts' own reports are held back: one notification, at the end.
  EXPECT_EQ(recorder.senders, (std::vector<TObject*>{&target}));
  EXPECT_EQ(target.UpdateCount(), 0);

  // Inside an update of the caller's the copy waits for its end too.
  target.BeginUpdate();
  target.Assign(&source);
  EXPECT_EQ(recorder.senders.size(), 1u);
  target.EndUpdate();
  EXPECT_EQ(recorder.senders.size(), 2u);

  // Parts copy in the listed order, each with its own Assign.
  std::vector<std::string> order;
  target.owned->SetOnChange([&](TObject*) { order.push_back("owned"); });
  target.held.SetOnChange([&](TObject*) { order.push_back("held"); });
  target.Assign(&source);
  EXPECT_EQ(order, (std::vector<std::string>{"owned", "held"}));

  // Another class is refused before anything is copied.
  TNotifyPersistent other;
  EXPECT_THROW(target.Assign(&other), EConvertError);
  EXPECT_EQ(target.number, 7);
  EXPECT_EQ(target.UpdateCount(), 0);
}

}  // namespace
}  // namespace platform
