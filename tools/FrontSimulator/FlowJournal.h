// The pushes of one flow, kept for the simulator's lifetime so that any subscriber can replay them.
// Sequence numbers start at 1 and have no gaps; each entry holds the whole encoded message, its EndFlag
// already carrying the sequence number.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct SimFlowEntry {
    std::uint32_t sequence;
    std::int32_t kind;
    std::vector<std::uint8_t> message;
};

class CFlowJournal {
public:
    // Gives the next sequence number to `encode`, which writes the message carrying it.
    const SimFlowEntry& Append(std::int32_t kind,
                               const std::function<void(std::uint32_t, std::vector<std::uint8_t>&)>& encode);

    std::uint32_t LastSequence() const { return static_cast<std::uint32_t>(entries_.size()); }
    const std::vector<SimFlowEntry>& Entries() const { return entries_; }

    // Where a subscription that asked for `requested` starts: the entries after the returned number are
    // replayed. -1 (0xFFFFFFFF) asks for new pushes only, and a number beyond the flow's end (a client
    // that saw more than this simulator ever sent) is treated the same way, so nothing is skipped later.
    std::uint32_t ReplayStart(std::int32_t requested) const;

    // Calls `send` for every entry after `start`, in order.
    void ForEachAfter(std::uint32_t start, const std::function<void(const SimFlowEntry&)>& send) const;

private:
    std::vector<SimFlowEntry> entries_;
};
