// The recorder of a game that the controller runs: where it started, and each event that it
// received while it was active, in the replay code's form. The session records every game
// through it, and so can any other driver of the controller (kostrel-sim's bot).
#pragma once

#include <cstdint>

#include "model/game/game_host.h"
#include "model/rules/game_state.h"
#include "model/session/replay_code.h"

// The controller's command for an event: a tick and Down are both a fall step.
uint32_t gameCommandOf(ReplayEvent event);

// A new recording of the game that newGame is about to start on `state` against
// `adversary`: call it just before newGame, while the random state and the pending piece
// are those that the game will start from.
void startRecording(Replay& recording, const GameState& state, Adversary adversary);

// Plays the event through the controller, and records it when the game is active just
// before the call. A replay never pauses, so a tick that a paused game ignores must not be
// recorded; a move that the walls block is, since it changes nothing either way.
void playRecorded(Replay& recording, GameState& state, const GameHost& host, ReplayEvent event);
