#include "DemoConsole.h"

#include <cstdio>

void CDemoConsole::Step(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::printf("\n== %s\n", text.c_str());
    std::fflush(stdout);
}

void CDemoConsole::Line(const char* source, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::printf("   %-6s %s\n", source, text.c_str());
    std::fflush(stdout);
}

void CDemoConsole::Failure(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::fflush(stdout);
    std::fprintf(stderr, "narv_demo: %s\n", text.c_str());
    std::fflush(stderr);
}
