// Positions of virtual operations, read from pointers to virtual member functions: on the Itanium
// C++ ABI (g++ and clang on Linux and MinGW) such a pointer carries the operation's byte offset into
// the virtual table. Interfaces that two separately built parts meet through are checked position by
// position with a table of SlotCase rows:
//
//     const SlotCase kSlots[] = {NARV_SLOT(CSomeApi, Release, 0), NARV_SLOT(CSomeApi, Init, 1)};
//     ExpectSlots(kSlots);
//
// Thread safety: stateless functions and constant tables; safe on any thread.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

constexpr std::ptrdiff_t kNotVirtual = -1;

// Position in the virtual table of the operation a member-function pointer names, or kNotVirtual.
template <typename MemberFunction>
std::ptrdiff_t VirtualSlotOf(MemberFunction function) {
    struct Representation {
        std::uintptr_t pointerOrOffset;
        std::ptrdiff_t thisAdjustment;
    };
    static_assert(sizeof(MemberFunction) == sizeof(Representation),
                  "a member-function pointer of the Itanium C++ ABI is two words");
    Representation representation;
    std::memcpy(&representation, &function, sizeof representation);
#if defined(__arm__) || defined(__aarch64__)
    // The ARM variant keeps the virtual flag in the low bit of the adjustment.
    if ((representation.thisAdjustment & 1) == 0) return kNotVirtual;
    return static_cast<std::ptrdiff_t>(representation.pointerOrOffset / sizeof(void*));
#else
    // Elsewhere a virtual operation is 1 + its byte offset in the table.
    if ((representation.pointerOrOffset & 1u) == 0) return kNotVirtual;
    return static_cast<std::ptrdiff_t>((representation.pointerOrOffset - 1) / sizeof(void*));
#endif
}

// One operation of an interface: its name, the position it must have and the one it has.
struct SlotCase {
    const char* name;
    std::ptrdiff_t expected;
    std::ptrdiff_t actual;
};

#define NARV_SLOT(Class, Name, Position) \
    SlotCase { #Name, Position, VirtualSlotOf(&Class::Name) }

// Every operation of the table is virtual and at its position.
template <std::size_t N>
void ExpectSlots(const SlotCase (&table)[N]) {
    for (const SlotCase& slot : table) {
        ASSERT_NE(slot.actual, kNotVirtual) << slot.name << " must be virtual";
        EXPECT_EQ(slot.actual, slot.expected) << slot.name;
    }
}
