// The dictionary's invariants, proven once at compile time.
#include "TZOFieldDictionary.h"

namespace {

constexpr bool SameName(const char* a, const char* b) {
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}

constexpr int CountDistinctIds() {
    int distinct = 0;
    for (std::size_t i = 0; i < kTZOFieldCount; ++i) {
        bool seen = false;
        for (std::size_t j = 0; j < i && !seen; ++j) seen = kTZOFieldDictionary[j].id == kTZOFieldDictionary[i].id;
        distinct += seen ? 0 : 1;
    }
    return distinct;
}

constexpr int CountIdsOnSeveralRows() {
    int shared = 0;
    for (std::size_t i = 0; i < kTZOFieldCount; ++i) {
        bool earlier = false, later = false;
        for (std::size_t j = 0; j < kTZOFieldCount; ++j) {
            if (kTZOFieldDictionary[j].id != kTZOFieldDictionary[i].id) continue;
            earlier = earlier || j < i;
            later = later || j > i;
        }
        shared += (!earlier && later) ? 1 : 0;
    }
    return shared;
}

constexpr bool NamesAreUnique() {
    for (std::size_t i = 0; i < kTZOFieldCount; ++i)
        for (std::size_t j = i + 1; j < kTZOFieldCount; ++j)
            if (SameName(kTZOFieldDictionary[i].name, kTZOFieldDictionary[j].name)) return false;
    return true;
}

template <class Pred>
constexpr int CountRows(Pred pred) {
    int n = 0;
    for (const TZOFieldDef& row : kTZOFieldDictionary) n += pred(row) ? 1 : 0;
    return n;
}

constexpr bool ContainersAndNumbersHaveNoWidth() {
    for (const TZOFieldDef& row : kTZOFieldDictionary) {
        if (row.flags != 0 && (row.type != 'C' || row.width != 0)) return false;
        if (row.type != 'C' && row.width != 0) return false;
    }
    return true;
}

static_assert(kTZOFieldCount == 463, "the dictionary has 463 rows");
static_assert(CountDistinctIds() == 430, "430 distinct ids");
static_assert(CountIdsOnSeveralRows() == 32, "32 ids stand on more than one row");
static_assert(CountRows([](const TZOFieldDef& r) { return r.flags == kTZOPackageFlag; }) == 114, "114 package rows");
static_assert(CountRows([](const TZOFieldDef& r) { return r.flags == kTZORecordSetFlag; }) == 33, "33 record-set rows");
static_assert(CountRows([](const TZOFieldDef& r) { return r.flags == 0; }) == 316, "316 plain rows");
static_assert(CountRows([](const TZOFieldDef& r) { return TZOIsSingleChar(r); }) == 40, "40 single-character rows");
static_assert(NamesAreUnique(), "a row is known by its name");
static_assert(ContainersAndNumbersHaveNoWidth(), "only text rows have a width");

}  // namespace
