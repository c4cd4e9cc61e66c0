// The seven piece kinds in their four rotations. The table is computed by the compiler from
// the stored templates, so it is complete before any code runs: no reader can see it half
// built, whatever order things start in.
#pragma once

constexpr int PIECE_KINDS = 7;
constexpr int PIECE_ROTATIONS = 4;
constexpr int PICTURE_SIDE = 4;  // a picture is a 4 x 4 box
constexpr int PICTURE_CELLS = PICTURE_SIDE * PICTURE_SIDE;
constexpr int PIECE_TABLE_CELLS = PIECE_KINDS * PIECE_ROTATIONS * PICTURE_CELLS;

// One 16-character template per kind, rotation 0, 'X' filled and ' ' blank.
constexpr char PieceTemplate[PIECE_KINDS][PICTURE_CELLS + 1] = {
    "X   X   XX      ",  // L: bar of three, foot to the right
    " X   X  XX      ",  // J: bar of three, foot to the left
    "XX  XX          ",  // O
    "XX   XX         ",  // Z
    " XX XX          ",  // S
    " X  XXX         ",  // T, point upward
    "X   X   X   X   ",  // I, vertical
};

// True when the picture's cell at (row, column) of its box is filled: only a space is blank.
constexpr bool pictureCellFilled(const char* picture, int row, int column) {
    return picture[row * PICTURE_SIDE + column] != ' ';
}

// Turns a picture a quarter turn counter-clockwise and pushes it into the top-left corner
// of its box. An all-blank picture comes back all blank.
constexpr void rotateShape(const char* source, char* destination) {
    // The source cell at (row r, column c) lands at (row 3 - c, column r).
    auto turned = [source](int row, int column) {
        return source[column * PICTURE_SIDE + (PICTURE_SIDE - 1 - row)];
    };
    // The turned picture moves up by its blank rows and left by its blank columns.
    int top = PICTURE_SIDE;
    int left = PICTURE_SIDE;
    for (int row = 0; row < PICTURE_SIDE; ++row) {
        for (int column = 0; column < PICTURE_SIDE; ++column) {
            if (turned(row, column) == ' ') continue;
            top = row < top ? row : top;
            left = column < left ? column : left;
        }
    }
    for (int row = 0; row < PICTURE_SIDE; ++row) {
        for (int column = 0; column < PICTURE_SIDE; ++column) {
            bool inside = row + top < PICTURE_SIDE && column + left < PICTURE_SIDE;
            destination[row * PICTURE_SIDE + column] =
                inside ? turned(row + top, column + left) : ' ';
        }
    }
}

struct PieceTableCells {
    char cells[PIECE_TABLE_CELLS];
};

constexpr PieceTableCells buildPieceTable() {
    PieceTableCells table{};
    for (int kind = 0; kind < PIECE_KINDS; ++kind) {
        char* rotation0 = table.cells + kind * PIECE_ROTATIONS * PICTURE_CELLS;
        char* rotation1 = rotation0 + PICTURE_CELLS;
        char* rotation2 = rotation1 + PICTURE_CELLS;
        char* rotation3 = rotation2 + PICTURE_CELLS;
        // Rotation 0 is the template turned four times, which normalises it like the others.
        rotateShape(PieceTemplate[kind], rotation1);
        rotateShape(rotation1, rotation2);
        rotateShape(rotation2, rotation3);
        rotateShape(rotation3, rotation0);
    }
    return table;
}

// Kind-major table: kind k, rotation r, row y, column x lies at k*64 + r*16 + y*4 + x.
inline constexpr PieceTableCells PIECE_TABLE = buildPieceTable();

// The 16 characters of one picture; kind 0..6, rotation 0..3, not checked.
constexpr const char* piecePicture(int kind, int rotation) {
    return PIECE_TABLE.cells + kind * PIECE_ROTATIONS * PICTURE_CELLS + rotation * PICTURE_CELLS;
}
