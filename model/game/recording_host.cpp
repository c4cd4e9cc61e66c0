// The recording host's six operations.
#include "model/game/recording_host.h"

#include "chooser/next_piece_chooser.h"

namespace {

RecordingHost& recordingOf(void* context) { return *static_cast<RecordingHost*>(context); }

void logCall(RecordingHost& recording, const char* entry) {
    if (recording.callLog != nullptr) *recording.callLog += entry;
}

uint32_t startTimer(void* context) {
    RecordingHost& recording = recordingOf(context);
    ++recording.starts;
    recording.timerRunning = recording.timerId != 0;
    logCall(recording, "S");
    return recording.timerId;
}

void stopTimer(void* context) {
    RecordingHost& recording = recordingOf(context);
    ++recording.stops;
    recording.timerRunning = false;
    logCall(recording, "T");
}

void noteGameOver(void* context) {
    RecordingHost& recording = recordingOf(context);
    ++recording.gameOvers;
    logCall(recording, "G");
}

void noteRepaint(void* context) {
    RecordingHost& recording = recordingOf(context);
    ++recording.repaints;
    logCall(recording, "R");
}

void keepScoreText(void* context, uint32_t, const char* text) {
    RecordingHost& recording = recordingOf(context);
    recording.labelText = text;
    logCall(recording, "L");
    logCall(recording, text);
}

void keepPreviewWord(void* context, uint32_t, uint32_t word) {
    RecordingHost& recording = recordingOf(context);
    recording.previewWord = word;
    logCall(recording, "P");
}

// The source is looked up at every piece, so it may be set after the GameHost was made.
int32_t nextKindOf(void* context, const GameState& state, int32_t fallingKind) {
    RecordingHost& recording = recordingOf(context);
    if (recording.nextKind == nullptr) return chooseNextKind(state, fallingKind);
    return recording.nextKind(context, state, fallingKind);
}

}  // namespace

GameHost recordingHostOf(RecordingHost& recording) {
    return GameHost{&recording,  startTimer,    stopTimer,       noteGameOver,
                    noteRepaint, keepScoreText, keepPreviewWord, nextKindOf};
}
