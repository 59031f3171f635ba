// Command line of narv_demo.
#pragma once

#include <string>
#include <vector>

struct DemoOptions {
    std::string tradeFront;  // as the libraries take it: "tcp://host:port"
    std::string quoteFront;
    std::string investorId = "demo";
    std::string password = "demo123";
    std::string firmId = "0001";
    std::vector<std::string> instruments = {"cu2601", "sc2602"};  // the first gets the order that fills
    int quotesPerInstrument = 3;
    int stepTimeoutSeconds = 10;
};

struct DemoOptionsParse {
    enum class Outcome { Run, Help, Error };
    Outcome outcome = Outcome::Run;
    std::string message;  // the usage text for Help, the reason for Error
};

// Fills `options` from the command line; fronts may be given as host:port or tcp://host:port.
DemoOptionsParse ParseDemoOptions(int argc, char* const argv[], DemoOptions& options);

// Turns host:port or tcp://host:port into the address form the libraries take; empty when malformed.
std::string NormaliseFrontAddress(const std::string& text);

std::string DemoUsage();
