// narv_wiredump: prints the messages of a capture of our traffic, or of a stream of raw frames, as a
// person reads them.
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "WireDump.h"

namespace {

const char kHelp[] =
    "usage: narv_wiredump [options] [FILE]\n"
    "\n"
    "Prints every message of the trade and quote services found in FILE (or standard input when FILE\n"
    "is missing or -): direction, ServiceNo and its meaning, RequestID, EndFlag or flow sequence, and\n"
    "every field by name and value, named by the message that carries it.\n"
    "\n"
    "FILE is a capture (pcap or pcapng, as written by tcpdump, dumpcap, tshark or narv_wirerecord) or\n"
    "raw frames as they travel in one direction of a connection (4-byte big-endian length, then the\n"
    "message). The kind is told from the file's first bytes unless --pcap or --raw says it.\n"
    "\n"
    "options:\n"
    "  -h, --help            print this help and exit\n"
    "  --pcap                the input is a capture\n"
    "  --raw                 the input is raw frames\n"
    "  --service trade|quote name fields by this service's messages (default: told per connection by\n"
    "                        the ServiceNos it carries; until then a ServiceNo both services use is read\n"
    "                        as the trade service's, shown as \"trade?\")\n"
    "  --server-port PORT    the front listens on PORT (repeatable); tells client from server when the\n"
    "                        capture lacks the connection's start\n"
    "  --hex                 also print each message's bytes\n"
    "  --show-passwords      show password values (login, password change); masked by default, in\n"
    "                        the --hex bytes too\n"
    "\n"
    "Bad frames and fields are reported in place (lines starting with \"!!\") and the dump goes on.\n"
    "\n"
    "Exit status: 0 every frame decoded cleanly; 1 the whole input was read but some frames or fields\n"
    "were bad; 2 bad command line; 3 the input cannot be read, or is not a capture (neither pcap,\n"
    "pcapng nor raw frames: unless --raw, raw frames must start with a whole frame).\n";

int Usage(const std::string& message) {
    std::cerr << "narv_wiredump: " << message << "\n(--help lists the options)\n";
    return kWireDumpUsage;
}

bool ParsePort(const char* text, std::uint16_t& port) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (!*text || *end || value == 0 || value > 65535) return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    WireDumpOptions options;
    std::string path = "-";
    bool pathGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::cout << kHelp;
            return kWireDumpClean;
        } else if (arg == "--pcap") {
            options.input = WireDumpOptions::Input::Capture;
        } else if (arg == "--raw") {
            options.input = WireDumpOptions::Input::Raw;
        } else if (arg == "--hex") {
            options.hexPayload = true;
        } else if (arg == "--show-passwords") {
            options.showPasswords = true;
        } else if (arg == "--service") {
            if (++i == argc) return Usage("--service needs trade or quote");
            const std::string name = argv[i];
            if (name != "trade" && name != "quote") return Usage("--service needs trade or quote, not " + name);
            options.serviceGiven = true;
            options.service = name == "trade" ? WireService::Trade : WireService::Quote;
        } else if (arg == "--server-port") {
            std::uint16_t port = 0;
            if (++i == argc || !ParsePort(argv[i], port)) return Usage("--server-port needs a port from 1 to 65535");
            options.serverPorts.push_back(port);
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return Usage("unknown option " + arg);
        } else {
            if (pathGiven) return Usage("one input at a time");
            path = arg;
            pathGiven = true;
        }
    }

    std::string bytes;
    if (path == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            std::cerr << "narv_wiredump: cannot open " << path << ": " << std::strerror(errno) << "\n";
            return kWireDumpUnreadable;
        }
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    const WireDumpResult result = RunWireDump(bytes, options, std::cout, std::cerr);
    std::cout.flush();
    if (result.exitStatus != kWireDumpUnreadable)
        std::cerr << "narv_wiredump: " << result.messages << " message(s), " << result.problems << " problem(s)\n";
    return result.exitStatus;
}
