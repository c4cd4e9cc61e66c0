// A replay as a session without a clock: the game that a code names, played from its start
// through the controller, one event at a time or to the end. Its random state is its own:
// each call below puts it in the process-wide state and gives the old state back, so that a
// game paused underneath draws the same rotations as if nothing had been replayed.
#pragma once

#include <cstdint>
#include <string>

#include "model/game/game_adversary.h"
#include "model/game/game_host.h"
#include "model/rules/game_state.h"
#include "model/session/piece_choice.h"
#include "model/session/replay_code.h"

// A plain record that must stay where startReplayPlayer put it: its host points at it.
struct ReplayPlayer {
    Replay replay;            // the code being played
    ReplayRunCursor cursor;   // its runs not begun yet
    ReplayRun run;            // the run in progress
    int32_t runLeft;          // events of that run not applied yet
    GameState state;          // the game: its grid holds the fixed pieces, not the falling one
    GameHost host;            // this player, as the controller's host
    GameAdversary adversary;  // the code's adversary and its memory of the game
    PieceChoice choice;       // what the adversary saw, for the why-this-piece panel
    uint32_t random;          // the game's random state between calls
    int64_t pieces;           // pieces fixed
    std::string scoreText;    // the score label's text
    uint32_t previewWord;     // the preview's word
};

// The code's game up to its first event: a fresh record, the random state and the pending
// piece set to the code's start, and newGame against the code's adversary.
void startReplayPlayer(ReplayPlayer& player, const Replay& replay);

// The next event, false when every event has been played.
bool peekReplayEvent(const ReplayPlayer& player, ReplayEvent& event);
// The events before the next tick, or before the end when no tick follows, and whether a
// tick follows them. Walks the runs up to that tick: a caller that asks once per tick walks
// the code once.
int64_t commandsBeforeTick(const ReplayPlayer& player, bool& tickFollows);

// Plays the next event, if there is one; false, with `error` set, when the game had ended
// before it: "events after the game's end" at the character of the run that holds it.
bool playReplayEvent(ReplayPlayer& player, ReplayError& error);
// Plays every event left. A run of turns or moves is played only while it changes something:
// once a move is blocked so are the rest of its run, and turns that come back to where the
// run began repeat, so that no count makes a replay slow.
bool playReplayToEnd(ReplayPlayer& player, ReplayError& error);

bool replayGameOver(const ReplayPlayer& player);
bool replayFinished(const ReplayPlayer& player);  // every event played

// The whole code's game: false with the reason when events follow the game's end.
bool replayGame(ReplayPlayer& player, const Replay& replay, ReplayError& error);

// The score the code's game ends with, replayed on a player of its own that is gone
// afterwards; false with the reason when events follow the game's end.
bool replayFinalScore(const Replay& replay, int32_t& score, ReplayError& error);
