// The layout in terminal cells: the board frame 22 x 22 at the top left, the preview and
// score frames to its right, the mark under them, two help lines at the bottom. All of it
// fits 80 x 24; a smaller window shows only the size message, wrapped within it.
#include "tui/tui_screen.h"

#include <curses.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "model/rules/piece_table.h"
#include "model/rules/preview_word.h"
#include "model/rules/shown_cell.h"
#include "tui/tui_texts.h"
#include "tui/wide_text.h"

namespace {

constexpr int SIDE_LEFT = 24;
constexpr int SIDE_WIDTH = 14;
constexpr int SCORE_TOP = PICTURE_SIDE + 2;
constexpr int MARK_ROW = SCORE_TOP + 4;
constexpr int HELP_ROW = SCREEN_ROWS_NEEDED - 2;
constexpr int BOX_WIDTH = 64;
constexpr int BOX_LEFT = (SCREEN_COLUMNS_NEEDED - BOX_WIDTH) / 2;
constexpr int BOX_TOP = 3;
constexpr int TEXT_WIDTH = BOX_WIDTH - 4;
constexpr short CELL_COLOURS = 1;

int columnsOf(wchar_t character) {
    int width = wcwidth(character);
    return width < 0 ? 1 : width;
}

// How many characters of the text, from `start`, fit into `width` columns.
size_t fittingLength(const std::wstring& text, int width, size_t start = 0) {
    size_t end = start;
    for (int used = 0; end < text.size() && (used += columnsOf(text[end])) <= width;) ++end;
    return end - start;
}

void drawText(int row, int column, const std::wstring& text, int width) {
    mvaddnwstr(row, column, text.c_str(), static_cast<int>(fittingLength(text, width)));
}

void drawText(int row, int column, const std::string& text, int width) {
    drawText(row, column, wideText(text), width);
}

// Lines of at most `width` columns, broken at line feeds and else at the last space that
// fits; a word longer than a line is cut.
std::vector<std::wstring> wrapText(const std::wstring& text, int width) {
    std::vector<std::wstring> lines;
    for (size_t start = 0;;) {
        size_t end = start + std::max<size_t>(fittingLength(text, width, start), 1);
        size_t space = text.rfind(L' ', end);
        if (end < text.size() && text[end] != L' ' && space != std::wstring::npos && space > start)
            end = space;
        end = std::min(end, text.find(L'\n', start));
        lines.push_back(text.substr(start, end - start));
        if (end >= text.size()) return lines;
        start = text[end] == L' ' || text[end] == L'\n' ? end + 1 : end;
    }
}

// A frame drawn by curses, its inside cleared, with the title in its top line.
void drawFrame(int top, int left, int height, int width, const std::string& title) {
    WINDOW* frame = derwin(stdscr, height, width, top, left);
    werase(frame);
    box(frame, 0, 0);
    delwin(frame);
    drawText(top, left + 2, title, width - 4);
}

void drawCell(int row, int column, bool filled) { mvaddstr(row, column, filled ? "██" : "  "); }

void drawGame(const TuiApp& app) {
    const SessionView shown = sessionView(app.session);
    drawFrame(0, 0, BOARD_ROWS + 2, 2 * BOARD_COLUMNS + 2, TEXT_GAME_TITLE);
    drawFrame(0, SIDE_LEFT, PICTURE_SIDE + 2, SIDE_WIDTH, TEXT_NEXT_TITLE);
    attron(COLOR_PAIR(CELL_COLOURS) | A_BOLD);
    for (int row = 0; row < BOARD_ROWS; ++row)
        for (int column = 0; column < BOARD_COLUMNS; ++column)
            drawCell(1 + row, 1 + 2 * column, boardCellShown(*shown.state, row, column));
    const char* next = previewPicture(shown.previewWord);
    for (int row = 0; row < PICTURE_SIDE; ++row)
        for (int column = 0; column < PICTURE_SIDE; ++column)
            drawCell(1 + row, SIDE_LEFT + (SIDE_WIDTH - 2 * PICTURE_SIDE) / 2 + 2 * column,
                     pictureCellFilled(next, row, column));
    attroff(COLOR_PAIR(CELL_COLOURS) | A_BOLD);

    drawFrame(SCORE_TOP, SIDE_LEFT, 3, SIDE_WIDTH, TEXT_SCORE_TITLE);
    std::string score = shown.scoreText;
    int scoreWidth = std::min(static_cast<int>(score.size()), SIDE_WIDTH - 4);
    drawText(SCORE_TOP + 1, SIDE_LEFT + SIDE_WIDTH - 2 - scoreWidth, score, scoreWidth);
    attron(A_REVERSE | A_BOLD);
    if (shown.over || shown.paused)
        drawText(MARK_ROW, SIDE_LEFT, shown.over ? TEXT_GAME_OVER : TEXT_PAUSED, SIDE_WIDTH);
    attroff(A_REVERSE | A_BOLD);
    drawText(HELP_ROW, 0, TEXT_KEY_HELP_1, SCREEN_COLUMNS_NEEDED);
    drawText(HELP_ROW + 1, 0, TEXT_KEY_HELP_2, SCREEN_COLUMNS_NEEDED - 1);
}

// A box with its caption, at most `mostLines` lines of text (the last ends in "…" when some
// were left out), `gap` empty rows and the hint. Returns the first row under the text.
int drawBox(const TuiApp& app, int mostLines, int gap, const char* hint) {
    std::vector<std::wstring> lines = wrapText(wideText(app.text), TEXT_WIDTH);
    if (static_cast<int>(lines.size()) > mostLines) {
        lines.resize(static_cast<size_t>(mostLines));
        lines.back().resize(fittingLength(lines.back(), TEXT_WIDTH - 1));
        lines.back() += L'…';
    }
    int height = static_cast<int>(lines.size()) + 3 + gap;
    drawFrame(BOX_TOP, BOX_LEFT, height, BOX_WIDTH, app.caption);
    for (size_t i = 0; i < lines.size(); ++i)
        drawText(BOX_TOP + 1 + static_cast<int>(i), BOX_LEFT + 2, lines[i], TEXT_WIDTH);
    drawText(BOX_TOP + height - 2, BOX_LEFT + 2, hint, TEXT_WIDTH);
    return BOX_TOP + 1 + static_cast<int>(lines.size());
}

// The name field, scrolled so that the cursor shows, and the cursor in it.
void drawNameField(const TuiApp& app, int row) {
    // As many characters before the cursor as leave room for the cursor itself.
    size_t first = app.cursor;
    int used = 0;
    while (first > 0 && used + columnsOf(app.name[first - 1]) < TEXT_WIDTH)
        used += columnsOf(app.name[--first]);
    attron(A_UNDERLINE);
    mvaddstr(row, BOX_LEFT + 2, std::string(TEXT_WIDTH, ' ').c_str());
    drawText(row, BOX_LEFT + 2, app.name.substr(first), TEXT_WIDTH);
    attroff(A_UNDERLINE);
    move(row, BOX_LEFT + 2 + used);
}

// The size message, wrapped within the window from the top left (the last column left free,
// so that nothing wraps by itself). The size it needs is never broken over two lines.
void drawTooSmall() {
    char size[32];
    std::snprintf(size, sizeof size, "%d × %d", SCREEN_COLUMNS_NEEDED, SCREEN_ROWS_NEEDED);
    char text[160];
    std::snprintf(text, sizeof text, TEXT_TOO_SMALL, SCREEN_COLUMNS_NEEDED, SCREEN_ROWS_NEEDED);
    std::wstring wide = wideText(text), joined = wideText(size);
    size_t at = wide.find(joined);
    std::replace(joined.begin(), joined.end(), L' ', L'\u00A0');  // wrapText breaks at ' ' only
    if (at != std::wstring::npos) wide.replace(at, joined.size(), joined);
    std::vector<std::wstring> lines = wrapText(wide, std::max(COLS - 1, 1));
    for (int row = 0; row < LINES && row < static_cast<int>(lines.size()); ++row) {
        std::replace(lines[size_t(row)].begin(), lines[size_t(row)].end(), L'\u00A0', L' ');
        drawText(row, 0, lines[size_t(row)], COLS - 1);
    }
}

}  // namespace

void setUpScreenColours() {
    // Colour only adds to the cells' blocks and the marks' reverse video: without it the
    // game reads the same. NO_COLOR set and not empty asks for none.
    const char* noColour = std::getenv("NO_COLOR");
    if (noColour != nullptr && noColour[0] != '\0') return;
    if (!has_colors() || start_color() == ERR) return;
    // Bright yellow where the terminal has 16 colours; elsewhere yellow drawn bold.
    init_pair(CELL_COLOURS, COLORS >= 16 ? 11 : COLOR_YELLOW, COLOR_BLACK);
}

void drawScreen(const TuiApp& app) {
    erase();
    bool tooSmall = sessionHeldBy(app.session, HoldCause::TooSmall);
    if (tooSmall) {
        drawTooSmall();
    } else {
        drawGame(app);
        if (app.overlay == Overlay::Message)
            drawBox(app, HELP_ROW - BOX_TOP - 5, 1, TEXT_CLOSE_HINT);
        if (app.overlay == Overlay::NamePrompt)
            drawNameField(app, drawBox(app, 3, 3, TEXT_PROMPT_HINT) + 1);
    }
    curs_set(!tooSmall && app.overlay == Overlay::NamePrompt ? 1 : 0);
    refresh();
}
