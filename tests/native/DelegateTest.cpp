// The scrollbar's delegate: callbacks run in the order they were added and the last one answers;
// member callbacks compare by object, method and flag; the shared binding counts its clones and
// deletes the target only when it owns it, exactly once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window/QXDelegate.h"

// The control itself is a window; its callbacks only pass the pointer along.
class CQXScrollbarWnd;

namespace {

typedef int ScrollSig(CQXScrollbarWnd*, int, int, int);
typedef QXDelegate::delegate<ScrollSig> ScrollDelegate;
typedef QXDelegate::local::ICallback<ScrollSig> ScrollCallback;

struct Call {
  std::string who;
  CQXScrollbarWnd* bar;
  int group, event, detail;
};

class Target {
 public:
  Target(std::string name, std::vector<Call>* log, int* destroyed = nullptr)
      : m_name(std::move(name)), m_log(log), m_destroyed(destroyed) {}
  ~Target() {
    if (m_destroyed) ++*m_destroyed;
  }
  int OnScroll(CQXScrollbarWnd* bar, int group, int event, int detail) {
    m_log->push_back({m_name, bar, group, event, detail});
    return static_cast<int>(m_name.size()) * 100 + event;
  }
  int OnOther(CQXScrollbarWnd* bar, int group, int event, int detail) {
    return OnScroll(bar, group, event, detail) + 1;
  }

 private:
  std::string m_name;
  std::vector<Call>* m_log;
  int* m_destroyed;
};

typedef QXDelegate::local::MemberCallback<Target, ScrollSig> TargetCallback;

CQXScrollbarWnd* FakeBar() {
  static int anything;
  return reinterpret_cast<CQXScrollbarWnd*>(&anything);  // passed through, never dereferenced
}

TEST(Delegate, CallsInAddingOrderAndAnswersWithTheLastCallback) {
  std::vector<Call> log;
  Target a("a", &log), bb("bb", &log), ccc("ccc", &log);

  ScrollDelegate empty;
  EXPECT_EQ(empty.Invoke(FakeBar(), 0, 3, 1), 0);
  EXPECT_TRUE(log.empty());

  ScrollDelegate multi;
  multi.Add(QXDelegate::MakeMemberCallback(&a, &Target::OnScroll, 2));
  multi.Add(QXDelegate::MakeMemberCallback(&bb, &Target::OnScroll, 2));
  multi.Add(QXDelegate::MakeMemberCallback(&ccc, &Target::OnOther, 2));
  multi.Add(nullptr);                                 // ignored
  EXPECT_EQ(multi.Invoke(FakeBar(), 7, 4, -9), 305);  // ccc's OnOther: 3 * 100 + 4 + 1
  ASSERT_EQ(log.size(), 3u);
  const char* order[] = {"a", "bb", "ccc"};
  for (size_t i = 0; i < log.size(); ++i) {
    EXPECT_EQ(log[i].who, order[i]);
    EXPECT_EQ(log[i].bar, FakeBar());
    EXPECT_EQ(log[i].group, 7);
    EXPECT_EQ(log[i].event, 4);
    EXPECT_EQ(log[i].detail, -9);
  }

  multi.Clear();
  EXPECT_TRUE(multi.IsEmpty());
}

TEST(Delegate, EqualityByObjectMethodAndFlagAndAlongWholeLists) {
  std::vector<Call> log;
  Target a("a", &log), b("b", &log);
  auto* binding = new QXDelegate::local::Binding<Target>{&a, 2, 0};
  TargetCallback scroll(binding, &Target::OnScroll, 0);
  TargetCallback sameAgain(binding, &Target::OnScroll, 0);
  TargetCallback otherMethod(binding, &Target::OnOther, 0);
  TargetCallback otherFlag(binding, &Target::OnScroll, 1);
  // A second binding record naming the same object still compares equal: the object counts.
  auto* sameObject = new QXDelegate::local::Binding<Target>{&a, 2, 0};
  TargetCallback viaOtherBinding(sameObject, &Target::OnScroll, 0);
  auto* otherObject = new QXDelegate::local::Binding<Target>{&b, 2, 0};
  TargetCallback onB(otherObject, &Target::OnScroll, 0);

  const struct {
    const ScrollCallback* other;
    bool equal;
  } cases[] = {{&scroll, true},       {&sameAgain, true},  {&viaOtherBinding, true},
               {&otherMethod, false}, {&otherFlag, false}, {&onB, false},
               {nullptr, false}};
  for (const auto& c : cases) EXPECT_EQ(scroll.Equals(c.other), c.equal) << &c - cases;

  ScrollCallback* clone = scroll.Clone();
  EXPECT_TRUE(clone->Equals(&scroll) && scroll.Equals(clone));

  // Delegates compare node by node; a member callback is never equal to a delegate.
  auto list = [&](std::initializer_list<const TargetCallback*> callbacks) {
    ScrollDelegate d;
    for (const TargetCallback* c : callbacks) d.Add(c->Clone());
    return d;
  };
  ScrollDelegate ab = list({&scroll, &onB});
  auto abEquals = [&ab](ScrollDelegate other) { return ab.Equals(&other); };
  EXPECT_TRUE(ab.Equals(&ab));
  EXPECT_TRUE(abEquals(list({&sameAgain, &onB})));
  EXPECT_FALSE(abEquals(list({&onB, &scroll})));
  EXPECT_FALSE(abEquals(list({&scroll})));
  EXPECT_FALSE(abEquals(list({&scroll, &otherFlag})));
  EXPECT_FALSE(ab.Equals(&scroll));
  EXPECT_FALSE(scroll.Equals(&ab));
  ScrollCallback* abClone = ab.Clone();
  EXPECT_TRUE(abClone->Equals(&ab));
  delete abClone;
  delete clone;
}

TEST(Delegate, ClonesShareOneCountedBindingThatDeletesOnlyAnOwnedTarget) {
  std::vector<Call> log;
  int destroyed = 0;
  {
    // Not owned (how the list binds itself): the count follows the clones, the object stays.
    Target list("list", &log, &destroyed);
    TargetCallback* first = QXDelegate::MakeMemberCallback(&list, &Target::OnScroll, 2);
    const QXDelegate::local::Binding<Target>* binding = first->GetBinding();
    EXPECT_EQ(binding->m_nReferences, 1);
    ScrollCallback* second = first->Clone();
    EXPECT_EQ(binding->m_nReferences, 2);
    delete first;
    EXPECT_EQ(binding->m_nReferences, 1);
    delete second;  // frees the binding; the object is not touched
    EXPECT_EQ(destroyed, 0);
  }
  EXPECT_EQ(destroyed, 1);  // by its own scope only

  // Owned: only the last callback to let go deletes the object, once.
  destroyed = 0;
  Target* owned = new Target("owned", &log, &destroyed);
  TargetCallback* a = QXDelegate::MakeMemberCallback(owned, &Target::OnScroll, 1);
  ScrollCallback* b = a->Clone();
  ScrollCallback* c = b->Clone();
  EXPECT_EQ(a->GetBinding()->m_nReferences, 3);
  delete a;
  delete c;
  EXPECT_EQ(destroyed, 0);
  EXPECT_EQ(b->Invoke(FakeBar(), 0, 3, 0), 503);
  delete b;
  EXPECT_EQ(destroyed, 1);
}

TEST(Delegate, AssignmentGivesTheTargetItsOwnClones) {
  std::vector<Call> log;
  Target list("list", &log), other("x", &log);
  TargetCallback* callback = QXDelegate::MakeMemberCallback(&list, &Target::OnScroll, 2);
  const QXDelegate::local::Binding<Target>* binding = callback->GetBinding();

  // The list's creation: a local delegate assigned to the scrollbar's, then destroyed.
  ScrollDelegate scrollbars;
  scrollbars.Add(QXDelegate::MakeMemberCallback(&other, &Target::OnScroll, 2));
  {
    ScrollDelegate local;
    local.Add(callback);
    scrollbars = local;  // drops the old callback, takes a clone of the list's
    EXPECT_EQ(binding->m_nReferences, 2);
    EXPECT_TRUE(scrollbars.Equals(&local));
  }
  EXPECT_EQ(binding->m_nReferences, 1);
  EXPECT_EQ(scrollbars.Invoke(FakeBar(), 0, 4, 17), 404);

  ScrollDelegate& alias = scrollbars;
  scrollbars = alias;  // self-assignment keeps the list and the count
  EXPECT_EQ(binding->m_nReferences, 1);
  EXPECT_EQ(scrollbars.Invoke(FakeBar(), 0, 2, 0), 402);

  ScrollDelegate copy(scrollbars);
  EXPECT_EQ(binding->m_nReferences, 2);
  scrollbars = ScrollDelegate();  // assigning an empty delegate clears
  EXPECT_TRUE(scrollbars.IsEmpty());
  EXPECT_EQ(binding->m_nReferences, 1);
}

}  // namespace
