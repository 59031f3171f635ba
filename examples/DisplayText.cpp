#include "DisplayText.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>

namespace {

// One conversion descriptor per call: iconv_t keeps shift state and must not be shared between the
// libraries' callback threads.
class CGbkConverter {
public:
    CGbkConverter() : descriptor_(iconv_open("UTF-8", "GBK")) {}
    ~CGbkConverter() {
        if (Usable()) iconv_close(descriptor_);
    }
    CGbkConverter(const CGbkConverter&) = delete;
    CGbkConverter& operator=(const CGbkConverter&) = delete;

    bool Usable() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

    std::string Convert(const std::string& gbk) {
        std::string out;
        char* in = const_cast<char*>(gbk.data());
        std::size_t inLeft = gbk.size();
        char buffer[256];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t done = iconv(descriptor_, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
            // Invalid or cut-off sequence: show the offending byte and go on with the next one.
            out += Escape(static_cast<unsigned char>(*in));
            ++in;
            --inLeft;
            iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

    static std::string Escape(unsigned char byte) {
        char text[5];
        std::snprintf(text, sizeof text, "\\x%02X", byte);
        return text;
    }

private:
    iconv_t descriptor_;
};

bool IsAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c >= 0x80) return false;
    return true;
}

}  // namespace

std::string GbkToUtf8(const std::string& gbk) {
    if (IsAscii(gbk)) return gbk;
    CGbkConverter converter;
    if (converter.Usable()) return converter.Convert(gbk);
    // Without a GBK converter the bytes are still shown, escaped.
    std::string out;
    for (unsigned char c : gbk) out += c < 0x80 ? std::string(1, static_cast<char>(c)) : CGbkConverter::Escape(c);
    return out;
}
