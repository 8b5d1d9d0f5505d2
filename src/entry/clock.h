// Time and sound for the input bar: the tick count, the pause and the beep.
// Behind an interface so tests run without waiting.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>
#include <unistd.h>

namespace vg {

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps like a 32-bit tick count.
    virtual uint32_t TickCount() = 0;
    virtual void Sleep(uint32_t ms) = 0;
    // The system beep.
    virtual void Beep() = 0;
};

class SystemClock : public Clock {
public:
    uint32_t TickCount() override {
        using namespace std::chrono;
        return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
    // The terminal bell, only when standard error is a terminal.
    void Beep() override {
        if (isatty(2)) {
            std::fputc('\a', stderr);
            std::fflush(stderr);
        }
    }
};

// Time moves only when told to; a pause advances it at once.
class FakeClock : public Clock {
public:
    uint32_t TickCount() override { return now; }
    void Sleep(uint32_t ms) override {
        sleeps.push_back(ms);
        now += ms;
    }
    void Beep() override { ++beeps; }
    void Advance(uint32_t ms) { now += ms; }

    uint32_t now = 1000;
    std::vector<uint32_t> sleeps;
    int beeps = 0;
};

}  // namespace vg
