// The replay code's writer and reader: one spelling for every game, and a refusal of any
// other text that says what is wrong and where.
#include "model/session/replay_code.h"

#include <algorithm>
#include <utility>

namespace {

constexpr std::string_view VERSION = "kostrel1";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isEventLetter(char c) { return c == 't' || c == 'd' || c == 'l' || c == 'r' || c == 'u'; }

// The value of 1 to 4 decimal digits.
int32_t countOf(std::string_view digits) {
    int32_t count = 0;
    for (char digit : digits) count = count * 10 + (digit - '0');
    return count;
}

// A run's count as the code spells it after the letter: nothing for 1.
void appendCount(std::string& text, int32_t count) {
    if (count < 2) return;
    char digits[4];
    int length = 0;
    for (; count > 0; count /= 10) digits[length++] = static_cast<char>('0' + count % 10);
    while (length > 0) text += digits[--length];
}

// Everything before the events: kostrel1.ADVERSARY.STATE.KR.
std::string codeStart(const Replay& replay) {
    return std::string(VERSION) + '.' + adversaryInfo(replay.adversary).id + '.' +
           formatGameStart(replay.start) + '.';
}

bool refuse(ReplayError& error, std::string reason, size_t position) {
    error.reason = std::move(reason);
    error.position = position;
    return false;
}

// Steps over the "." that must follow a part of the start, which ends at `at`.
bool passDot(std::string_view line, size_t& at, const char* part, ReplayError& error) {
    if (at == line.size()) return refuse(error, std::string("no \".\" after the ") + part, at + 1);
    ++at;  // partAt stops only at a "." or the line's end
    return true;
}

// Reads the line up to its events; `at` is then where they begin.
bool readStart(std::string_view line, Replay& replay, size_t& at, ReplayError& error) {
    const std::string_view version = partAt(line, 0);
    if (version != VERSION) {
        return refuse(error, "version " + quotedPart(version) + " instead of \"kostrel1\"", 1);
    }
    at = version.size();
    if (!passDot(line, at, "version", error)) return false;

    const std::string_view id = partAt(line, at);
    if (!findAdversary(id, replay.adversary)) {
        return refuse(error, "unknown adversary " + quotedPart(id), at + 1);
    }
    at += id.size();
    if (!passDot(line, at, "adversary", error)) return false;

    GameStartFault fault;
    if (!readGameStart(line.substr(at), replay.start, fault))
        return refuse(error, fault.reason, at + fault.at + 1);
    at += GAME_START_LENGTH;
    return passDot(line, at, "kind and rotation", error);
}

// Checks that the events from `at` to the line's end are runs in the one spelling.
bool checkEvents(std::string_view line, size_t at, ReplayError& error) {
    std::string_view previous;  // the run before, as spelled
    while (at < line.size()) {
        const char letter = line[at];
        if (!isEventLetter(letter)) {
            return refuse(error, "unknown event " + quotedPart(line.substr(at, 1)), at + 1);
        }
        size_t end = at + 1;
        while (end < line.size() && isDigit(line[end])) ++end;
        const std::string_view digits = line.substr(at + 1, end - at - 1);
        if (digits.size() > 1 && digits[0] == '0') {
            return refuse(error, "count " + quotedPart(digits) + " with a leading zero", at + 2);
        }
        if (!digits.empty() && (digits.size() > 4 || countOf(digits) < 2)) {
            return refuse(error, "count " + quotedPart(digits) + " instead of 2..9999", at + 2);
        }
        const std::string_view run = line.substr(at, end - at);
        // Only a full run may be followed by one of the same letter.
        if (!previous.empty() && previous[0] == letter && previous.substr(1) != "9999") {
            return refuse(error,
                          "unmerged run " + quotedPart(run) + " after " + quotedPart(previous),
                          at + 1);
        }
        previous = run;
        at = end;
    }
    return true;
}

}  // namespace

void recordReplayEvents(Replay& replay, ReplayEvent event, int32_t count) {
    std::string& events = replay.events;
    const char letter = static_cast<char>(event);
    if (count <= 0) return;
    // The last run's count is the digits at the end, after its letter.
    size_t digitsAt = events.size();
    while (digitsAt > 0 && isDigit(events[digitsAt - 1])) --digitsAt;
    if (digitsAt > 0 && events[digitsAt - 1] == letter) {
        const std::string_view digits = std::string_view(events).substr(digitsAt);
        const int32_t had = digits.empty() ? 1 : countOf(digits);
        const int32_t added = std::min(count, REPLAY_RUN_MAX - had);
        if (added > 0) {
            events.resize(digitsAt);
            appendCount(events, had + added);
            count -= added;
        }
    }
    for (; count > 0; count -= std::min(count, REPLAY_RUN_MAX)) {
        events += letter;
        appendCount(events, std::min(count, REPLAY_RUN_MAX));
    }
}

std::string writeReplayCode(const Replay& replay) { return codeStart(replay) + replay.events; }

bool readReplayCode(std::string_view text, Replay& replay, ReplayError& error) {
    const size_t lineEnd = text.find('\n');
    std::string_view line = text.substr(0, lineEnd);
    if (lineEnd != std::string_view::npos && !line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    Replay read{};
    size_t eventsAt = 0;
    if (!readStart(line, read, eventsAt, error) || !checkEvents(line, eventsAt, error)) {
        return false;
    }
    if (lineEnd != std::string_view::npos && lineEnd + 1 < text.size()) {
        return refuse(error, "text after the line end", lineEnd + 2);
    }
    replay.adversary = read.adversary;
    replay.start = read.start;
    replay.events.assign(line.substr(eventsAt));
    return true;
}

std::string replayErrorMessage(const ReplayError& error) {
    return "bad replay: " + error.reason + " at character " + std::to_string(error.position);
}

ReplayRunCursor replayRunCursor(const Replay& replay) {
    return {replay.events, codeStart(replay).size() + 1};
}

bool nextReplayRun(ReplayRunCursor& cursor, ReplayRun& run) {
    if (cursor.events.empty()) return false;
    size_t length = 1;  // the letter and at most four digits
    while (length < cursor.events.size() && length <= 4 && isDigit(cursor.events[length])) {
        ++length;
    }
    run.event = static_cast<ReplayEvent>(cursor.events[0]);
    run.count = length > 1 ? countOf(cursor.events.substr(1, length - 1)) : 1;
    run.position = cursor.position;
    cursor.events.remove_prefix(length);
    cursor.position += length;
    return true;
}
