// The wire is big-endian throughout; every multi-byte value crosses this one place.
#pragma once

#include <boost/endian/conversion.hpp>
#include <cstdint>
#include <cstring>

namespace tzo_wire {

inline std::uint16_t LoadU16(const std::uint8_t* p) { return boost::endian::load_big_u16(p); }
inline std::uint32_t LoadU32(const std::uint8_t* p) { return boost::endian::load_big_u32(p); }
inline std::uint64_t LoadU64(const std::uint8_t* p) { return boost::endian::load_big_u64(p); }
inline void StoreU16(std::uint8_t* p, std::uint16_t v) { boost::endian::store_big_u16(p, v); }
inline void StoreU32(std::uint8_t* p, std::uint32_t v) { boost::endian::store_big_u32(p, v); }
inline void StoreU64(std::uint8_t* p, std::uint64_t v) { boost::endian::store_big_u64(p, v); }

// A double travels as the 64 bits of its IEEE-754 representation, most significant byte first.
inline double LoadDouble(const std::uint8_t* p) {
    std::uint64_t bits = LoadU64(p);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
inline void StoreDouble(std::uint8_t* p, double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    StoreU64(p, bits);
}

}  // namespace tzo_wire
