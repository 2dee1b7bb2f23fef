// The power-cut check's judgement, on contents made up here rather than by a
// VM: a check that passed everything would let every cut count as intact.
#include "tests/integration/powercut/powercut.h"

#include <gtest/gtest.h>

namespace {

using powercut::CVerdict;

TEST(PowercutJudge, TellsIntactRolledBackAndBrokenFilesApart) {
    const std::string seed = powercut::SeedText();
    // Contents after calls 0..53 of a boot whose first save is 7: call 50 is
    // the first flush request and leaves the file as call 49 did.
    std::vector<std::string> contents;
    for (int i = 0; i <= 53; ++i)
        contents.push_back(seed + "[SYSTEM]\r\nPORT=" + std::to_string(i == 50 ? 49 : i) + "\r\n");
    std::string crlfLost = contents[52];
    crlfLost.replace(crlfLost.find("\r\n"), 2, "\n");

    const struct {
        const char* label;
        bool exists;
        std::string file;
        long acked, flushed;
        CVerdict::EKind kind;
        long lostWrites;
    } cases[] = {
        {"the last acknowledged call", true, contents[52], 52, 50, CVerdict::Intact, 0},
        {"the call in flight", true, contents[53], 52, 50, CVerdict::Intact, 0},
        {"before the first call", true, contents[0], 0, 0, CVerdict::Intact, 0},
        {"one write lost", true, contents[51], 52, 50, CVerdict::RolledBack, 1},
        // The flush request is no write: back to call 49 loses 51 and 52.
        {"back to the flushed save", true, contents[50], 52, 50, CVerdict::RolledBack, 2},
        {"past the flushed save", true, contents[48], 52, 50, CVerdict::Failed, 0},
        {"no flush yet, back to the start", true, contents[0], 49, 0, CVerdict::RolledBack, 49},
        {"torn", true, contents[52].substr(0, contents[52].size() - 3), 52, 50, CVerdict::Failed,
         0},
        {"a user line changed", true, crlfLost, 52, 50, CVerdict::Failed, 0},
        {"empty", true, "", 52, 50, CVerdict::Failed, 0},
        {"missing", false, "", 52, 50, CVerdict::Failed, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const CVerdict verdict = powercut::Judge(c.exists, c.file, contents, 7, c.acked, c.flushed);
        EXPECT_EQ(c.kind, verdict.m_kind) << verdict.m_reason;
        EXPECT_EQ(c.lostWrites, verdict.m_lostWrites);
        EXPECT_EQ(c.kind == CVerdict::Failed, !verdict.m_reason.empty());
    }
}

} // namespace
