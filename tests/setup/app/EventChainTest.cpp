// The event chain: a sink without a next sink hears itself; pages pass only code 1 upward.
#include "ZVInstallPages.h"
#include "ZvBase.h"

#include <gtest/gtest.h>

#include <vector>

#include "manager/PaintManagerUI.h"

namespace {

struct Heard {
    int code;
    int argument;
    bool operator==(const Heard& other) const { return code == other.code && argument == other.argument; }
};

class RecordingSink : public ZvBase {
public:
    void OnEvent(int code, int argument, int) override { heard.push_back({code, argument}); }
    std::vector<Heard> heard;
};

} // namespace

TEST(EventChain, WithoutNextSinkAnEventReachesTheSenderItself)
{
    RecordingSink sink;
    sink.RaiseEvent(64, 2);
    EXPECT_EQ(sink.heard, (std::vector<Heard>{{64, 2}}));
}

TEST(EventChain, AnEventGoesToTheNextSinkAndNotToTheSender)
{
    RecordingSink top;
    RecordingSink sender;
    sender.SetNextSink(&top);
    sender.RaiseEvent(65, 7);
    EXPECT_TRUE(sender.heard.empty());
    EXPECT_EQ(top.heard, (std::vector<Heard>{{65, 7}}));
}

TEST(EventChain, PagesPassCodeOneUpAndDropEveryOtherCode)
{
    ZvUI::CPaintManagerUI pm;
    RecordingSink frame;
    CZVInstallPage0 page0(pm);
    CZVInstallPage2 page2(pm);
    for (CZVInstallPage* page : {static_cast<CZVInstallPage*>(&page0), static_cast<CZVInstallPage*>(&page2)}) {
        frame.heard.clear();
        page->SetNextSink(&frame);
        page->OnEvent(1, 64, 0);
        page->OnEvent(64, 2, 0);
        page->OnEvent(65, 0, 0);
        EXPECT_EQ(frame.heard, (std::vector<Heard>{{1, 64}}));
    }
}

TEST(EventChain, DestroyCallbackRunsOnceAndTheNextSinkSurvives)
{
    int destroyed = 0;
    RecordingSink top;
    {
        RecordingSink sender;
        sender.SetNextSink(&top);
        sender.SetDestroyCallback([&destroyed] { ++destroyed; });
        sender.SetAuxCallback([] { FAIL() << "nothing calls the auxiliary callback"; });
    }
    EXPECT_EQ(destroyed, 1);
    top.RaiseEvent(1, 1); // still alive: the chain never owned it
    EXPECT_EQ(top.heard.size(), 1u);
}
