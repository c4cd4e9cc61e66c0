// The seven piece kinds in their four rotations, built once from stored templates.
#pragma once

constexpr int PIECE_KINDS = 7;
constexpr int PIECE_ROTATIONS = 4;
constexpr int PICTURE_SIDE = 4;                           // a picture is a 4 x 4 box
constexpr int PICTURE_CELLS = PICTURE_SIDE * PICTURE_SIDE;

// One 16-character template per kind, rotation 0, 'X' filled and ' ' blank.
extern const char PieceTemplate[PIECE_KINDS][PICTURE_CELLS + 1];

// Kind-major table: kind k, rotation r, row y, column x lies at k*64 + r*16 + y*4 + x.
// All zero until buildPieceTable() has run; read-only afterwards.
extern char PieceTable[PIECE_KINDS * PIECE_ROTATIONS * PICTURE_CELLS];

// Turns a picture a quarter turn counter-clockwise and pushes it into the top-left corner
// of its box. An all-blank picture comes back all blank.
void rotateShape(const char* source, char* destination);

// Fills PieceTable; call once before any game record exists.
void buildPieceTable();

// The 16 characters of one picture; kind 0..6, rotation 0..3, not checked.
inline const char* piecePicture(int kind, int rotation) {
    return PieceTable + kind * PIECE_ROTATIONS * PICTURE_CELLS + rotation * PICTURE_CELLS;
}

// True when the picture's cell at (row, column) of its box is filled: only a space is blank.
inline bool pictureCellFilled(const char* picture, int row, int column) {
    return picture[row * PICTURE_SIDE + column] != ' ';
}
