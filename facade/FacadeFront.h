// The front address as the application registers it: a six-character scheme such as "tcp://" in front
// of host:port. The scheme's content is not examined; the service clients want host:port only.
#pragma once

#include <cstddef>

constexpr std::size_t kFacadeFrontSchemeLength = 6;

// The host:port part of `address`, or null when there is none: a missing address, or one that ends
// within its scheme ("tcp://" alone has no host to hand on). Only the first seven characters are looked
// at, so an address is never read past its end.
//
// Thread safety: a pure function.
[[nodiscard]] const char* FacadeHostAndPort(const char* address);
