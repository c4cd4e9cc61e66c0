// The layout in terminal cells: the board frame 22 x 22 at the top left, the preview and
// score frames to its right, the mark under them, two help lines at the bottom. All of it
// fits 80 x 24; a smaller window shows only the size message, cut to its width.
#include "tui/tui_screen.h"

#include <curses.h>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "tui/tui_texts.h"
#include "tui/utf8_text.h"

namespace {

constexpr int BOARD_TOP = 0;
constexpr int BOARD_LEFT = 0;
constexpr int SIDE_LEFT = 24;
constexpr int SIDE_WIDTH = 14;
constexpr int PREVIEW_TOP = 0;
constexpr int SCORE_TOP = PREVIEW_TOP + TUI_PREVIEW_SIDE + 2;
constexpr int MARK_ROW = SCORE_TOP + 4;
constexpr int HELP_ROW = SCREEN_ROWS_NEEDED - 2;
constexpr int BOX_WIDTH = 64;
constexpr int BOX_LEFT = (SCREEN_COLUMNS_NEEDED - BOX_WIDTH) / 2;
constexpr int BOX_TOP = 3;
constexpr int BOX_MOST_ROWS = HELP_ROW - BOX_TOP - 1;

constexpr short CELL_COLOURS = 1;

// One character of UTF-8 text and the terminal columns it takes.
struct Glyph {
    std::string bytes;
    int width;
};

std::vector<Glyph> glyphsOf(const std::string& text) {
    std::vector<Glyph> glyphs;
    for (size_t at = 0; at < text.size();) {
        size_t length = utf8CharacterLength(text, at);
        if (length == 0) {  // never stored, but never drawn as raw bytes either
            ++at;
            continue;
        }
        std::string bytes = text.substr(at, length);
        std::mbstate_t state{};
        wchar_t wide = 0;
        int width =
            std::mbrtowc(&wide, bytes.c_str(), length, &state) == length ? wcwidth(wide) : -1;
        glyphs.push_back(Glyph{bytes, width < 0 ? 1 : width});
        at += length;
    }
    return glyphs;
}

// Draws at most `width` columns of the text; returns the columns used.
int drawText(int row, int column, const std::string& text, int width) {
    int used = 0;
    for (const Glyph& glyph : glyphsOf(text)) {
        if (used + glyph.width > width) break;
        mvaddstr(row, column + used, glyph.bytes.c_str());
        used += glyph.width;
    }
    return used;
}

// Splits the text at spaces and line feeds into lines of at most `width` columns; a word
// longer than a line is cut.
std::vector<std::string> wrapText(const std::string& text, int width) {
    std::vector<std::string> lines(1);
    int lineWidth = 0;
    std::string word;
    int wordWidth = 0;
    auto flushWord = [&]() {
        if (lineWidth > 0 && lineWidth + 1 + wordWidth > width) {
            lines.emplace_back();
            lineWidth = 0;
        }
        if (lineWidth > 0) {
            lines.back() += ' ';
            ++lineWidth;
        }
        lines.back() += word;
        lineWidth += wordWidth;
        word.clear();
        wordWidth = 0;
    };
    for (const Glyph& glyph : glyphsOf(text)) {
        if (glyph.bytes == " " || glyph.bytes == "\n") {
            if (wordWidth > 0) flushWord();
            if (glyph.bytes == "\n") {
                lines.emplace_back();
                lineWidth = 0;
            }
            continue;
        }
        if (wordWidth + glyph.width > width) flushWord();
        word += glyph.bytes;
        wordWidth += glyph.width;
    }
    if (wordWidth > 0) flushWord();
    return lines;
}

void drawFrame(int top, int left, int height, int width, const char* title) {
    mvaddstr(top, left, "┌");
    for (int column = left + 1; column < left + width - 1; ++column) mvaddstr(top, column, "─");
    mvaddstr(top, left + width - 1, "┐");
    for (int row = top + 1; row < top + height - 1; ++row) {
        mvaddstr(row, left, "│");
        mvaddstr(row, left + width - 1, "│");
    }
    mvaddstr(top + height - 1, left, "└");
    for (int column = left + 1; column < left + width - 1; ++column)
        mvaddstr(top + height - 1, column, "─");
    mvaddstr(top + height - 1, left + width - 1, "┘");
    if (title != nullptr) drawText(top, left + 2, title, width - 4);
}

void drawCells(int top, int left, const bool* cells, int rows, int columns) {
    attron(COLOR_PAIR(CELL_COLOURS) | A_BOLD);
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            mvaddstr(top + row, left + 2 * column, cells[row * columns + column] ? "██" : "  ");
    attroff(COLOR_PAIR(CELL_COLOURS) | A_BOLD);
}

void drawGame(const TuiApp& app) {
    GamePicture picture;
    readGamePicture(*app.game, picture);
    drawFrame(BOARD_TOP, BOARD_LEFT, TUI_BOARD_ROWS + 2, 2 * TUI_BOARD_COLUMNS + 2,
              TEXT_GAME_TITLE);
    drawCells(BOARD_TOP + 1, BOARD_LEFT + 1, &picture.board[0][0], TUI_BOARD_ROWS,
              TUI_BOARD_COLUMNS);

    drawFrame(PREVIEW_TOP, SIDE_LEFT, TUI_PREVIEW_SIDE + 2, SIDE_WIDTH, TEXT_NEXT_TITLE);
    drawCells(PREVIEW_TOP + 1, SIDE_LEFT + (SIDE_WIDTH - 2 * TUI_PREVIEW_SIDE) / 2,
              &picture.preview[0][0], TUI_PREVIEW_SIDE, TUI_PREVIEW_SIDE);

    drawFrame(SCORE_TOP, SIDE_LEFT, 3, SIDE_WIDTH, TEXT_SCORE_TITLE);
    std::string score = picture.scoreText;
    int scoreWidth = static_cast<int>(score.size());  // digits and '-' only
    if (scoreWidth > SIDE_WIDTH - 4) scoreWidth = SIDE_WIDTH - 4;
    drawText(SCORE_TOP + 1, SIDE_LEFT + SIDE_WIDTH - 2 - scoreWidth, score, scoreWidth);

    const char* mark = nullptr;
    if (app.gameEnded)
        mark = TEXT_GAME_OVER;
    else if (fallTimerRunning(*app.game) && gameHeld(app.holds))
        mark = TEXT_PAUSED;
    if (mark != nullptr) {
        attron(A_REVERSE | A_BOLD);
        drawText(MARK_ROW, SIDE_LEFT, mark, SIDE_WIDTH);
        attroff(A_REVERSE | A_BOLD);
    }
    drawText(HELP_ROW, 0, TEXT_KEY_HELP_1, SCREEN_COLUMNS_NEEDED);
    drawText(HELP_ROW + 1, 0, TEXT_KEY_HELP_2, SCREEN_COLUMNS_NEEDED - 1);
}

void clearBox(int top, int height) {
    for (int row = top; row < top + height; ++row)
        mvaddstr(row, BOX_LEFT, std::string(BOX_WIDTH, ' ').c_str());
}

// The box's text lines; the last one that fits ends in "…" when some were left out.
std::vector<std::string> boxLines(const std::string& text, int mostLines) {
    std::vector<std::string> lines = wrapText(text, BOX_WIDTH - 4);
    if (static_cast<int>(lines.size()) > mostLines) {
        lines.resize(static_cast<size_t>(mostLines));
        std::vector<Glyph> last = glyphsOf(lines.back());
        std::string cut;
        int width = 0;
        for (const Glyph& glyph : last) {
            if (width + glyph.width > BOX_WIDTH - 5) break;
            cut += glyph.bytes;
            width += glyph.width;
        }
        lines.back() = cut + "…";
    }
    return lines;
}

void drawMessage(const TuiApp& app) {
    std::vector<std::string> lines = boxLines(app.text, BOX_MOST_ROWS - 4);
    int height = static_cast<int>(lines.size()) + 4;
    clearBox(BOX_TOP, height);
    drawFrame(BOX_TOP, BOX_LEFT, height, BOX_WIDTH, app.caption.c_str());
    for (size_t i = 0; i < lines.size(); ++i)
        drawText(BOX_TOP + 1 + static_cast<int>(i), BOX_LEFT + 2, lines[i], BOX_WIDTH - 4);
    drawText(BOX_TOP + height - 2, BOX_LEFT + 2, TEXT_CLOSE_HINT, BOX_WIDTH - 4);
}

// Draws the name field, scrolled so that the cursor shows; returns the cursor's column.
int drawNameField(const NameEditor& name, int row, int left, int width) {
    std::vector<Glyph> before = glyphsOf(name.text.substr(0, name.cursor));
    std::vector<Glyph> after = glyphsOf(name.text.substr(name.cursor));
    // As many characters before the cursor as leave room for the cursor itself.
    int used = 0;
    size_t first = before.size();
    while (first > 0 && used + before[first - 1].width < width) used += before[--first].width;
    std::string shown;
    for (size_t i = first; i < before.size(); ++i) shown += before[i].bytes;
    int cursorColumn = left + used;
    for (const Glyph& glyph : after) {
        if (used + glyph.width > width) break;
        shown += glyph.bytes;
        used += glyph.width;
    }
    attron(A_UNDERLINE);
    mvaddstr(row, left, std::string(static_cast<size_t>(width), ' ').c_str());
    drawText(row, left, shown, width);
    attroff(A_UNDERLINE);
    return cursorColumn;
}

void drawPrompt(const TuiApp& app) {
    std::vector<std::string> lines = boxLines(app.text, 3);
    int height = static_cast<int>(lines.size()) + 6;
    clearBox(BOX_TOP, height);
    drawFrame(BOX_TOP, BOX_LEFT, height, BOX_WIDTH, app.caption.c_str());
    for (size_t i = 0; i < lines.size(); ++i)
        drawText(BOX_TOP + 1 + static_cast<int>(i), BOX_LEFT + 2, lines[i], BOX_WIDTH - 4);
    int fieldRow = BOX_TOP + 2 + static_cast<int>(lines.size());
    int cursorColumn = drawNameField(app.name, fieldRow, BOX_LEFT + 2, BOX_WIDTH - 4);
    drawText(BOX_TOP + height - 2, BOX_LEFT + 2, TEXT_PROMPT_HINT, BOX_WIDTH - 4);
    move(fieldRow, cursorColumn);
}

}  // namespace

void setUpScreenColours() {
    if (!has_colors() || start_color() == ERR) return;
    // Bright yellow where the terminal has 16 colours; elsewhere yellow drawn bold.
    short yellow = COLORS >= 16 ? 11 : COLOR_YELLOW;
    init_pair(CELL_COLOURS, yellow, COLOR_BLACK);
}

void drawScreen(const TuiApp& app, int rows, int columns) {
    erase();
    if (rows < SCREEN_ROWS_NEEDED || columns < SCREEN_COLUMNS_NEEDED) {
        curs_set(0);
        char text[160];
        std::snprintf(text, sizeof text, TEXT_TOO_SMALL, SCREEN_COLUMNS_NEEDED, SCREEN_ROWS_NEEDED);
        // The last column stays free, so that nothing wraps or scrolls.
        if (rows > 0 && columns > 1) drawText(0, 0, text, columns - 1);
        refresh();
        return;
    }
    drawGame(app);
    if (app.overlay == Overlay::Message) drawMessage(app);
    if (app.overlay == Overlay::NamePrompt) drawPrompt(app);
    curs_set(app.overlay == Overlay::NamePrompt ? 1 : 0);
    refresh();
}
