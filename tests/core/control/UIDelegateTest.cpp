// Delegate equality, list de-duplication, removal and the stop-on-false walk.
#include "control/UIDelegate.h"

#include <gtest/gtest.h>

#include <vector>

using ZvUI::CDelegateList;
using ZvUI::MakeDelegate;

namespace {

std::vector<int> g_calls;

bool First(void*)
{
    g_calls.push_back(1);
    return true;
}

bool Second(void*)
{
    g_calls.push_back(2);
    return true;
}

bool Stop(void*)
{
    g_calls.push_back(0);
    return false;
}

class Base {
public:
    bool OnEvent(void* param)
    {
        seen.push_back(param);
        return result;
    }
    std::vector<void*> seen;
    bool result = true;
};

// The member function lives in a second base, so the call must carry the adjustment.
class Padding {
public:
    virtual ~Padding() = default;
    int pad[3] = {};
};

class Derived : public Padding, public Base {};

} // namespace

TEST(Delegate, SameFreeFunctionIsAddedOnce)
{
    g_calls.clear();
    CDelegateList list;
    list.Add(First);
    list.Add(First);
    list.Add(Second);
    EXPECT_TRUE(list.Invoke(nullptr));
    EXPECT_EQ(g_calls, (std::vector<int>{1, 2}));
}

TEST(Delegate, MemberDelegatesCompareByObjectAndFunction)
{
    Base a;
    Base b;
    EXPECT_TRUE(MakeDelegate(&a, &Base::OnEvent).Equals(MakeDelegate(&a, &Base::OnEvent)));
    EXPECT_FALSE(MakeDelegate(&a, &Base::OnEvent).Equals(MakeDelegate(&b, &Base::OnEvent)));
    EXPECT_FALSE(MakeDelegate(First).Equals(MakeDelegate(Second)));
    EXPECT_TRUE(MakeDelegate(First).Equals(MakeDelegate(First)));
}

TEST(Delegate, MemberDelegateCallsTheRightObject)
{
    Derived d;
    int param = 0;
    CDelegateList list;
    list.Add(MakeDelegate(&d, &Base::OnEvent));
    EXPECT_TRUE(list.Invoke(&param));
    ASSERT_EQ(d.seen.size(), 1u);
    EXPECT_EQ(d.seen[0], &param);
    d.result = false;
    EXPECT_FALSE(list.Invoke(&param));
}

TEST(Delegate, InvokeStopsAtTheFirstFalse)
{
    g_calls.clear();
    CDelegateList list;
    EXPECT_TRUE(list.Invoke(nullptr));
    EXPECT_FALSE(list.HasDelegates());
    list.Add(First);
    list.Add(Stop);
    list.Add(Second);
    EXPECT_TRUE(list.HasDelegates());
    EXPECT_FALSE(list.Invoke(nullptr));
    EXPECT_EQ(g_calls, (std::vector<int>{1, 0}));
}

TEST(Delegate, RemoveTakesOnlyTheMatchingDelegate)
{
    g_calls.clear();
    Base a;
    CDelegateList list;
    list.Add(First);
    list.Add(MakeDelegate(&a, &Base::OnEvent));
    list.Add(Second);
    list.Remove(Stop);  // never added: nothing happens
    list.Remove(First);
    EXPECT_TRUE(list.Invoke(nullptr));
    EXPECT_EQ(g_calls, (std::vector<int>{2}));
    EXPECT_EQ(a.seen.size(), 1u);
    list.Remove(MakeDelegate(&a, &Base::OnEvent));
    list.Invoke(nullptr);
    EXPECT_EQ(a.seen.size(), 1u);
    list.Clear();
    EXPECT_FALSE(list.HasDelegates());
}

namespace {

CDelegateList* g_growing = nullptr;

bool AddsSecond(void*)
{
    g_calls.push_back(9);
    g_growing->Add(Second);
    return true;
}

} // namespace

TEST(Delegate, DelegateAddedDuringTheWalkRunsInTheSameWalk)
{
    g_calls.clear();
    CDelegateList list;
    g_growing = &list;
    list.Add(AddsSecond);
    EXPECT_TRUE(list.Invoke(nullptr));
    EXPECT_EQ(g_calls, (std::vector<int>{9, 2}));
}
