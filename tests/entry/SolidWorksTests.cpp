// QelCreate_2 against the SolidWorks simulator: the revision check, the
// reading of the host part block, the calls made on SolidWorks (the
// simulator's journal) and the references given back.
#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ErrorBoxWatcher.h"
#include "ExpectedTexts.h"
#include "HostInstallation.h"
#include "PluginModule.h"
#include "tools/partblock/PartBlockBuilder.h"
#include "tools/swsim/SimulatorClient.h"

using testing::ElementsAre;
using testing::IsEmpty;

namespace qel::test
{
namespace
{

const std::string kRevisionCall = "app 0xC method () -> \"9.0\"";

class SolidWorksTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_simulator = new swsim::CSimulatorClient(); }
    static void TearDownTestSuite()
    {
        delete s_simulator;
        s_simulator = nullptr;
    }
    void SetUp() override { s_simulator->Configure("reset=1"); }

    // Calls QelCreate_2 without messages; returns the error text ("" when none).
    std::string Create(const void* part, const char* parameters = "ShowMessages=0")
    {
        char buffer[1024];
        std::memset(buffer, 0, sizeof(buffer));
        m_result = m_plugin.QelCreate_2(part, parameters, buffer, sizeof(buffer));
        return buffer;
    }

    static swsim::CSimulatorClient* s_simulator;
    CPluginModule m_plugin;
    int m_result = -1;
};

swsim::CSimulatorClient* SolidWorksTest::s_simulator = nullptr;

struct RevisionCase
{
    const char* revision;
    bool accepted;
};

class RevisionTest : public SolidWorksTest, public testing::WithParamInterface<RevisionCase>
{
};

TEST_P(RevisionTest, Create2_AcceptsOnlyRevisionsBeginningWith9Dot)
{
    s_simulator->Configure(std::string("revision=\"") + GetParam().revision + "\"");
    std::vector<uint8_t> part = BoltBlock();

    std::string error = Create(part.data());

    EXPECT_EQ(0, m_result);
    if (GetParam().accepted)
        EXPECT_NE(StartSolidWorksText(), error);
    else
        EXPECT_EQ(StartSolidWorksText(), error);
    EXPECT_EQ(std::string("app 0xC method () -> \"") + GetParam().revision + "\"",
              s_simulator->JournalLines().at(0));
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

INSTANTIATE_TEST_SUITE_P(Revisions, RevisionTest,
                         testing::Values(RevisionCase{"9.0", true}, RevisionCase{"9.2.1", true},
                                         RevisionCase{"10.0", false}, RevisionCase{"90.0", false},
                                         RevisionCase{"9", false}, RevisionCase{"", false},
                                         RevisionCase{" 9.0", false}));

TEST_F(SolidWorksTest, Create2_RevisionQueryFailing_ReportsTheStartMessage)
{
    s_simulator->Configure("fail-dispid=app:0xC:\"Server is busy\"");
    std::vector<uint8_t> part = BoltBlock();

    EXPECT_EQ(StartSolidWorksText(), Create(part.data()));

    EXPECT_EQ(0, m_result);
    EXPECT_THAT(s_simulator->JournalLines(),
                ElementsAre("app 0xC method () -> FAIL \"Server is busy\""));
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

TEST_F(SolidWorksTest, Create2_RevisionFailureShownWhenMessagesAreAsked)
{
    s_simulator->Configure("revision=8.0");
    std::vector<uint8_t> part = BoltBlock();
    CErrorBoxWatcher boxes;

    EXPECT_EQ(StartSolidWorksText(), Create(part.data(), "ShowMessages=1"));

    EXPECT_THAT(boxes.Texts(), ElementsAre(StartSolidWorksText()));
}

struct BlockCase
{
    const char* name;
    std::vector<uint8_t> (*makeBlock)();
    std::string (*expectedText)();
};

std::vector<uint8_t> TotalSizeZero()
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    builder.OverrideTotalSize(0);
    return builder.Build();
}

std::vector<uint8_t> RecordBeyondItsBlock()
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    builder.OverrideNextPayloadLength(4000);
    builder.AddItem(500, {1, 2, 3});
    return builder.Build();
}

std::vector<uint8_t> TwoDimensionalAfterTwoAttributes()
{
    CPartBlockBuilder builder;
    builder.AddAttribute("Designation", "M8x20");
    builder.AddAttribute("Standard", "DIN 933");
    builder.AddItem(302);
    return builder.Build();
}

class PartBlockTest : public SolidWorksTest, public testing::WithParamInterface<BlockCase>
{
};

TEST_P(PartBlockTest, Create2_RefusesTheBlockWithItsMessageAfterConnecting)
{
    std::vector<uint8_t> part = GetParam().makeBlock();

    EXPECT_EQ(GetParam().expectedText(), Create(part.data()));

    EXPECT_EQ(0, m_result);
    EXPECT_THAT(s_simulator->JournalLines(), ElementsAre(kRevisionCall));
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, PartBlockTest,
    testing::Values(BlockCase{"TotalSizeZero", TotalSizeZero, NoGeometryDataText},
                    BlockCase{"RecordBeyondItsBlock", RecordBeyondItsBlock, NoGeometryDataText},
                    BlockCase{"TwoDimensional", TwoDimensionalAfterTwoAttributes,
                              CannotCreate2DPartText}),
    [](const testing::TestParamInfo<BlockCase>& info) { return info.param.name; });

TEST_F(SolidWorksTest, Create2_NullBlock_ReportsMessage123)
{
    EXPECT_EQ(GeometryPointerNullText(), Create(nullptr));
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

TEST_F(SolidWorksTest, Create2_AcceptedPart_MakesNoCallBeyondTheRevisionAndGivesEverythingBack)
{
    s_simulator->Configure("docs=part,assembly");
    s_simulator->ClearJournal();
    std::vector<uint8_t> part = BoltBlock();

    Create(part.data());

    EXPECT_EQ(0, m_result);
    EXPECT_THAT(s_simulator->JournalLines(), ElementsAre(kRevisionCall));
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

TEST_F(SolidWorksTest, Create_RepeatedCallsLeaveNoReferenceBehind)
{
    std::vector<uint8_t> part = BoltBlock();
    for (int call = 0; call < 3; ++call)
        Create(part.data());

    EXPECT_EQ(3u, s_simulator->JournalLines().size());
    EXPECT_EQ(0, s_simulator->OutstandingReferences());
}

} // namespace
} // namespace qel::test
