// The recording window notifier for model tests.
#include "model/recording_notifier.h"

#include "model/window_notifier.h"

namespace {

NotifierRecord record;

}  // namespace

NotifierRecord& recordNotifications() {
    record = NotifierRecord{};
    installWindowNotifier({
        [](uint32_t window, const char* text) { record.texts.emplace_back(window, text); },
        [](uint32_t window, uint32_t word) { record.previewWords.emplace_back(window, word); },
    });
    return record;
}
