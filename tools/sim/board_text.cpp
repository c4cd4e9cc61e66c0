// Strict reading of board text: anything but the exact format is refused with its line.
#include "tools/sim/board_text.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr char EMPTY_MARK = '.';
constexpr char FILLED_MARK = '#';

std::string describe(int character) {
    if (character >= 0x21 && character <= 0x7E) return std::string("'") + char(character) + "'";
    char text[16];
    std::snprintf(text, sizeof text, "byte 0x%02X", character & 0xFF);
    return text;
}

}  // namespace

bool readBoardText(std::istream& in, GameState& state, std::string& error) {
    std::streambuf* source = in.rdbuf();
    constexpr int END = std::char_traits<char>::eof();
    int64_t line = 1;  // 64 bits: empty lines after the board are counted without overflow
    auto refuse = [&](const std::string& why) {
        error = "line " + std::to_string(line) + why;
        return false;
    };
    for (; line <= BOARD_ROWS; ++line) {
        int column = 0;
        for (;;) {
            int character = source->sbumpc();
            if (character == '\r' && source->sbumpc() != '\n')
                return refuse(": carriage return not followed by a line feed");
            if (character == END || character == '\r' || character == '\n') {
                if (column != BOARD_COLUMNS && (character != END || column != 0))
                    return refuse(": " + std::to_string(column) + " cells, expected 10");
                if (character != END) break;
                // The last line's newline is optional; any other end is too early.
                int64_t complete = column == 0 ? line - 1 : line;
                if (complete == BOARD_ROWS) return true;
                return refuse(": the board ends after " + std::to_string(complete) +
                              " of 20 lines");
            }
            if (column == BOARD_COLUMNS) return refuse(": more than 10 cells");
            if (character != EMPTY_MARK && character != FILLED_MARK)
                return refuse(", column " + std::to_string(column + 1) + ": " +
                              describe(character) + " is not '.' or '#'");
            state.cells[line - 1][column] = character == FILLED_MARK ? FILLED_CELL : 0;
            ++column;
        }
    }
    // Only empty lines may follow the 20th.
    for (;; ++line) {
        int character = source->sbumpc();
        if (character == END) return true;
        if (character == '\r') character = source->sbumpc() == '\n' ? '\n' : 0;
        if (character != '\n') return refuse(": text after the 20 board lines");
    }
}

void writeBoardText(std::ostream& out, const GameState& state) {
    for (int row = 0; row < BOARD_ROWS; ++row) {
        char text[BOARD_COLUMNS + 2];
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            text[column] = state.cells[row][column] != 0 ? FILLED_MARK : EMPTY_MARK;
        text[BOARD_COLUMNS] = '\n';
        text[BOARD_COLUMNS + 1] = '\0';
        out << text;
    }
}
