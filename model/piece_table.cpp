// Builds the rotation table from the seven templates at start-up.
#include "model/piece_table.h"

#include <cstring>

const char PieceTemplate[PIECE_KINDS][PICTURE_CELLS + 1] = {
    "X   X   XX      ",  // L: bar of three, foot to the right
    " X   X  XX      ",  // J: bar of three, foot to the left
    "XX  XX          ",  // O
    "XX   XX         ",  // Z
    " XX XX          ",  // S
    " X  XXX         ",  // T, point upward
    "X   X   X   X   ",  // I, vertical
};

char PieceTable[PIECE_KINDS * PIECE_ROTATIONS * PICTURE_CELLS];

namespace {

bool rowBlank(const char* picture, int row) {
    for (int column = 0; column < PICTURE_SIDE; ++column)
        if (pictureCellFilled(picture, row, column)) return false;
    return true;
}

bool columnBlank(const char* picture, int column) {
    for (int row = 0; row < PICTURE_SIDE; ++row)
        if (pictureCellFilled(picture, row, column)) return false;
    return true;
}

}  // namespace

void rotateShape(const char* source, char* destination) {
    // The source cell at (row r, column c) lands at (row 3 - c, column r).
    for (int j = 0; j < PICTURE_SIDE; ++j)
        for (int i = 0; i < PICTURE_SIDE; ++i)
            destination[j * PICTURE_SIDE + i] = source[i * PICTURE_SIDE + (PICTURE_SIDE - 1 - j)];

    // Each shift is bounded by the box's side, so an all-blank picture ends too.
    for (int shifts = 0; shifts < PICTURE_SIDE && rowBlank(destination, 0); ++shifts) {
        std::memmove(destination, destination + PICTURE_SIDE, PICTURE_CELLS - PICTURE_SIDE);
        std::memset(destination + PICTURE_CELLS - PICTURE_SIDE, ' ', PICTURE_SIDE);
    }
    for (int shifts = 0; shifts < PICTURE_SIDE && columnBlank(destination, 0); ++shifts) {
        for (int row = 0; row < PICTURE_SIDE; ++row) {
            char* line = destination + row * PICTURE_SIDE;
            std::memmove(line, line + 1, PICTURE_SIDE - 1);
            line[PICTURE_SIDE - 1] = ' ';
        }
    }
}

void buildPieceTable() {
    for (int kind = 0; kind < PIECE_KINDS; ++kind) {
        char* rotation0 = PieceTable + kind * PIECE_ROTATIONS * PICTURE_CELLS;
        char* rotation1 = rotation0 + PICTURE_CELLS;
        char* rotation2 = rotation1 + PICTURE_CELLS;
        char* rotation3 = rotation2 + PICTURE_CELLS;
        // Rotation 0 is the template turned four times, which normalises it like the others.
        rotateShape(PieceTemplate[kind], rotation1);
        rotateShape(rotation1, rotation2);
        rotateShape(rotation2, rotation3);
        rotateShape(rotation3, rotation0);
    }
}
