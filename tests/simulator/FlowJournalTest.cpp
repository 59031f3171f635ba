#include <gtest/gtest.h>

#include "FlowJournal.h"

namespace {

CFlowJournal JournalOf(int entries) {
    CFlowJournal journal;
    for (int i = 0; i < entries; ++i)
        journal.Append(124, [](std::uint32_t sequence, std::vector<std::uint8_t>& message) {
            message.assign(1, static_cast<std::uint8_t>(sequence));
        });
    return journal;
}

TEST(FlowJournal, NumbersEntriesFromOneWithoutGaps) {
    const CFlowJournal journal = JournalOf(5);
    ASSERT_EQ(journal.LastSequence(), 5u);
    for (std::uint32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(journal.Entries()[i].sequence, i + 1);
        EXPECT_EQ(journal.Entries()[i].message[0], i + 1);  // the encoder saw the number it was given
    }
}

TEST(FlowJournal, ReplayStartsWhereTheSubscriptionAsks) {
    const CFlowJournal journal = JournalOf(5);
    const struct {
        std::int32_t requested;
        std::uint32_t start;
    } cases[] = {{0, 0}, {3, 3}, {5, 5}, {-1, 5}, {9, 5}};
    for (const auto& c : cases) EXPECT_EQ(journal.ReplayStart(c.requested), c.start) << c.requested;

    std::vector<std::uint32_t> replayed;
    journal.ForEachAfter(3, [&](const SimFlowEntry& entry) { replayed.push_back(entry.sequence); });
    EXPECT_EQ(replayed, (std::vector<std::uint32_t>{4, 5}));
}

}  // namespace
