// Turns timer ticks and player commands into the game rules on one record.
#pragma once

#include <cstdint>

#include "model/game/game_host.h"
#include "model/rules/game_state.h"

constexpr int FALL_TIMER_ID = 1;
constexpr int FALL_INTERVAL_MS = 500;

void initGameState(GameState& state);
bool isGameActive(const GameState& state);
void fallStep(GameState& state, const GameHost& host);
void moveLeft(GameState& state, const GameHost& host);
void moveRight(GameState& state, const GameHost& host);
void rotatePiece(GameState& state, const GameHost& host);
int32_t queryScore(const GameState& state);
void newGame(GameState& state, const GameHost& host);
void pauseGame(GameState& state);
void resumeGame(GameState& state);
void setScoreLabel(GameState& state, uint32_t window);
void setPreviewWindow(GameState& state, uint32_t window);
