#pragma once

#include <thread>

// Reads the system's fonts on a thread of its own while the start opens the database:
// the fonts are the largest part of building the first window, and the file the second.
// The thread is joined when the object goes.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

private:
    std::thread thread_;
};
