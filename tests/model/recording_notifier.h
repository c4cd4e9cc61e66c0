// Installs a window notifier that records every label text and preview word it is given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct NotifierRecord {
    std::vector<std::pair<uint32_t, std::string>> texts;
    std::vector<std::pair<uint32_t, uint32_t>> previewWords;
};

// Starts recording into a cleared record shared by the whole test program.
NotifierRecord& recordNotifications();
