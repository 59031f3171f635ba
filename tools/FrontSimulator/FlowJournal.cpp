#include "FlowJournal.h"

const SimFlowEntry& CFlowJournal::Append(std::int32_t kind,
                                         const std::function<void(std::uint32_t, std::vector<std::uint8_t>&)>& encode) {
    SimFlowEntry entry{LastSequence() + 1, kind, {}};
    encode(entry.sequence, entry.message);
    entries_.push_back(std::move(entry));
    return entries_.back();
}

std::uint32_t CFlowJournal::ReplayStart(std::int32_t requested) const {
    if (requested < 0) return LastSequence();
    const auto start = static_cast<std::uint32_t>(requested);
    return start > LastSequence() ? LastSequence() : start;
}

void CFlowJournal::ForEachAfter(std::uint32_t start, const std::function<void(const SimFlowEntry&)>& send) const {
    for (std::size_t i = start; i < entries_.size(); ++i) send(entries_[i]);
}
