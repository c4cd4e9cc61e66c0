// Where the terminal and browser editions keep what belongs to an adversary: its best result
// and that result's game, the last game, and the adversary chosen for the next run. The
// klasicky names are those that the editions used before there was a choice, so that a best
// result stored then carries over.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "chooser/adversary.h"
#include "model/session/replay_code.h"

// The terminal edition's files, in its folder: best-result and best-result.replay for
// klasicky, best-result-ID and best-result-ID.replay for the others, and the last game of
// any adversary in last-game.replay.
std::string bestResultFileName(Adversary adversary);
std::string bestReplayFileName(Adversary adversary);
constexpr char LAST_GAME_FILE_NAME[] = "last-game.replay";

// The page's localStorage entries: kostrel-best-result and kostrel-best-result-replay for
// klasicky, kostrel-best-result-ID and kostrel-best-result-ID-replay for the others.
std::string bestResultEntryName(Adversary adversary);
std::string bestReplayEntryName(Adversary adversary);

// A best result's kept game is shown as that result's only when it is: the code names the
// result's adversary and replays to its score (`finalScore`, replayFinalScore's). An older
// game left by a write that failed, or an edited one, is not.
bool isBestResultGame(const Replay& replay, int32_t finalScore, Adversary adversary,
                      int32_t storedScore);

// The chosen adversary: a file under $XDG_STATE_HOME/kostrel/, and an entry of the page's.
constexpr char ADVERSARY_FILE_NAME[] = "adversary";
constexpr char ADVERSARY_ENTRY_NAME[] = "kostrel-adversary";

// The stored choice: the adversary's id, which one LF or CRLF may end when read.
std::string formatAdversaryChoice(Adversary adversary);
// The adversary that a stored choice names; for anything else (a later version's id, a
// damaged store) klasicky and false, so that the front end can say so and start anyway.
bool readAdversaryChoice(std::string_view stored, Adversary& adversary);
