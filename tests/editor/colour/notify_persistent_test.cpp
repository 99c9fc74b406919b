#include "editor/colour/notify_persistent.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace editor {
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

}  // namespace
}  // namespace editor
