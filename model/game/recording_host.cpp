// The recording host's operations.
#include "model/game/recording_host.h"

namespace {

RecordingHost& recordingOf(void* context) { return *static_cast<RecordingHost*>(context); }

// The recording, with the call appended to its log when it keeps one.
RecordingHost& note(void* context, const char* entry) {
    RecordingHost& recording = recordingOf(context);
    if (recording.callLog != nullptr) *recording.callLog += entry;
    return recording;
}

uint32_t startTimer(void* context) {
    RecordingHost& recording = note(context, "S");
    ++recording.starts;
    recording.timerRunning = recording.timerId != 0;
    return recording.timerId;
}

void stopTimer(void* context) {
    RecordingHost& recording = note(context, "T");
    ++recording.stops;
    recording.timerRunning = false;
}

void noteGameOver(void* context) { ++note(context, "G").gameOvers; }

void noteRepaint(void* context) { ++note(context, "R").repaints; }

void keepScoreText(void* context, uint32_t, const char* text) {
    note(context, "L").labelText = text;
    note(context, text);
}

void keepPreviewWord(void* context, uint32_t, uint32_t word) {
    note(context, "P").previewWord = word;
}

// The adversary is looked up at every piece, so it may be set after the GameHost was made.
int32_t nextKindOf(void* context, const GameState& state, int32_t fallingKind) {
    return nextKindInGame(recordingOf(context).adversary, state, fallingKind);
}

void startGame(void* context) { startAdversaryGame(recordingOf(context).adversary); }

}  // namespace

GameHost recordingHostOf(RecordingHost& recording) {
    return GameHost{&recording,    startTimer,      stopTimer,  noteGameOver, noteRepaint,
                    keepScoreText, keepPreviewWord, nextKindOf, startGame};
}
