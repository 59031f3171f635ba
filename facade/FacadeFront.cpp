#include "FacadeFront.h"

#include <cstring>

const char* FacadeHostAndPort(const char* address) {
    if (address == nullptr || strnlen(address, kFacadeFrontSchemeLength + 1) <= kFacadeFrontSchemeLength) {
        return nullptr;
    }
    return address + kFacadeFrontSchemeLength;
}
