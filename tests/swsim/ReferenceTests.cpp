// Tests of the count of references that clients still hold.
#include "SimulatorFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace swsimtest
{
namespace
{

TEST_F(SimulatorTest, References_CountEachHeldObjectUntilReleased)
{
    Sim().Configure("docs=part");
    ComPtr<IDispatch> document = FirstDocument();
    ComPtr<IDispatch> view = Get(document.Get(), kDocView).Object();
    ASSERT_TRUE(view);
    EXPECT_EQ(Sim().OutstandingReferences(), 3); // application, document, view
    view.Reset();
    EXPECT_EQ(Sim().OutstandingReferences(), 2);
    document.Reset();
    EXPECT_EQ(Sim().OutstandingReferences(), 1); // the fixture's application
}

TEST_F(SimulatorTest, References_OneOfTwoReferencesKeptStillCounts)
{
    Sim().Configure("docs=part");
    ComPtr<IDispatch> first = FirstDocument();
    ComPtr<IDispatch> second = FirstDocument();
    first.Reset();
    EXPECT_EQ(Sim().OutstandingReferences(), 2);
    second.Reset();
    EXPECT_EQ(Sim().OutstandingReferences(), 1);
}

TEST_F(SimulatorTest, References_OfClosedDocumentCountUntilReleased)
{
    Sim().Configure("docs=part");
    ComPtr<IDispatch> document = FirstDocument();
    Sim().Configure("reset=1");
    EXPECT_EQ(Sim().OutstandingReferences(), 2);
    document.Reset();
    EXPECT_EQ(Sim().OutstandingReferences(), 1);
}

} // namespace
} // namespace swsimtest
