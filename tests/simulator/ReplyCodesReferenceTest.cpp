// docs/REFERENCE.md lists every reply code of the simulator with its text and that text's GBK bytes:
// users look codes up there, so a code added or changed here must be listed there as it is sent, and a
// code listed there must be one the simulator has.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SimReplyCodes.h"
#include "WireDecoder.h"

namespace {

constexpr char kSimulatorSection[] = "### Produced by the front simulator";

// The row of `code` in the simulator's table (other tables have rows for 0 too).
std::string ReferenceLineOf(const std::string& document, int code) {
    const std::string start = "| " + std::to_string(code) + " | ";
    const std::size_t section = document.find(kSimulatorSection);
    if (section == std::string::npos) return "";
    std::istringstream lines(document.substr(section));
    for (std::string line; std::getline(lines, line);)
        if (line.compare(0, start.size(), start) == 0) return line;
    return "";
}

// The codes of every row of the simulator's table, up to the next heading.
std::vector<int> ListedCodes(const std::string& document) {
    std::vector<int> codes;
    const std::size_t section = document.find(kSimulatorSection);
    const std::size_t body = document.find('\n', section);  // the line after the heading
    if (body == std::string::npos) return codes;
    std::istringstream lines(document.substr(body + 1));
    for (std::string line; std::getline(lines, line) && line.compare(0, 1, "#") != 0;) {
        int code = 0;
        if (std::sscanf(line.c_str(), "| %d |", &code) == 1) codes.push_back(code);
    }
    return codes;
}

// "`b3 c9 b9 a6`", as the reference writes GBK bytes.
std::string HexBytes(const char* text) {
    std::string hex = "`";
    for (const char* p = text; *p; ++p) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%s%02x", p == text ? "" : " ", static_cast<unsigned char>(*p));
        hex += pair;
    }
    return hex + "`";
}

TEST(ReplyCodesReference, EveryCodeIsListedWithItsTextAndBytes) {
    std::ifstream file(NARV_REFERENCE_DOC);
    ASSERT_TRUE(file) << NARV_REFERENCE_DOC;
    std::stringstream document;
    document << file.rdbuf();
    for (const SimReplyText& row : kSimReplyTexts) {
        const int code = static_cast<int>(row.code);
        SCOPED_TRACE(code);
        const std::string line = ReferenceLineOf(document.str(), code);
        ASSERT_FALSE(line.empty()) << "no row for the code";
        const std::string readable = WireTextForDisplay(reinterpret_cast<const std::uint8_t*>(row.gbk),
                                                        static_cast<std::uint32_t>(std::strlen(row.gbk)));
        EXPECT_NE(line.find("| " + readable + " |"), std::string::npos) << readable << " in " << line;
        EXPECT_NE(line.find(HexBytes(row.gbk)), std::string::npos) << HexBytes(row.gbk) << " in " << line;
    }
    const std::vector<int> listed = ListedCodes(document.str());
    EXPECT_FALSE(listed.empty());
    for (const int code : listed) {
        bool known = false;
        for (const SimReplyText& row : kSimReplyTexts) known = known || static_cast<int>(row.code) == code;
        EXPECT_TRUE(known) << "the reference lists " << code << ", which the simulator does not send";
    }
}

}  // namespace
