// The layout in terminal cells: the board frame 22 x 22 at the top left; to its right the
// preview, the score and the adversary, stacked, and the mark under them; right of those the
// why-this-piece panel at the top and, while a replay is watched, its state under it; two
// help lines at the bottom. All of it fits 80 x 24; a smaller window shows only the size
// message, wrapped within it.
#include "tui/tui_screen.h"

#include <curses.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "chooser/adversary.h"
#include "model/rules/piece_table.h"
#include "model/rules/preview_word.h"
#include "model/rules/shown_cell.h"
#include "tui/formatted_text.h"
#include "tui/tui_texts.h"
#include "tui/wide_text.h"

namespace {

constexpr int SIDE_LEFT = 24;
constexpr int SIDE_WIDTH = 14;
constexpr int SCORE_TOP = PICTURE_SIDE + 2;
constexpr int ADVERSARY_TOP = SCORE_TOP + 3;
constexpr int MARK_ROW = ADVERSARY_TOP + 4;
constexpr int PANEL_LEFT = SIDE_LEFT + SIDE_WIDTH + 2;
constexpr int PANEL_WIDTH = SCREEN_COLUMNS_NEEDED - PANEL_LEFT;
constexpr int PANEL_TEXT_WIDTH = PANEL_WIDTH - 4;
constexpr int PANEL_MOST_LINES = 6;  // of text, above the kinds: the panel ends by row 15
constexpr int WATCH_TOP = 17;
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

// Text right-aligned within a frame's inside.
void drawRightAligned(int row, int left, int width, const std::string& text) {
    int shown = std::min(static_cast<int>(wideText(text).size()), width - 4);
    drawText(row, left + width - 2 - shown, text, shown);
}

// Why the piece in the preview: the panel of the `i` key, as tall as what it says.
void drawWhyPanel(TuiApp& app, const SessionView& shown) {
    KindScores scores;
    ChoiceShown why = sessionPieceChoice(app.session, scores);
    bool seenCounts = adversaryGuardsLoops(shown.adversary);
    std::string text = why == ChoiceShown::Scored ? TEXT_WHY_SCORED
                       : why == ChoiceShown::Blind
                           ? formatText(TEXT_WHY_BLIND, adversaryInfo(shown.adversary).name)
                           : TEXT_WHY_NONE;
    if (why == ChoiceShown::Scored && seenCounts) text += std::string(" ") + TEXT_WHY_SEEN_NOTE;
    std::vector<std::wstring> lines = wrapText(wideText(text), PANEL_TEXT_WIDTH);
    lines.resize(std::min<size_t>(lines.size(), PANEL_MOST_LINES));
    int kindsTop = 1 + static_cast<int>(lines.size()) + 1;
    int height = why == ChoiceShown::Scored ? kindsTop + PIECE_KINDS + 1 : kindsTop;
    drawFrame(0, PANEL_LEFT, height, PANEL_WIDTH, TEXT_WHY_TITLE);
    for (size_t i = 0; i < lines.size(); ++i)
        drawText(1 + static_cast<int>(i), PANEL_LEFT + 2, lines[i], PANEL_TEXT_WIDTH);
    if (why != ChoiceShown::Scored) return;
    std::string header = std::string(TEXT_WHY_HEADER) + (seenCounts ? TEXT_WHY_SEEN_HEADER : "");
    drawText(kindsTop - 1, PANEL_LEFT + 2, header, PANEL_TEXT_WIDTH);
    for (int kind = 0; kind < PIECE_KINDS; ++kind) {
        char row[80];
        std::string badness = kindHasNoAnswer(scores.badness[kind])
                                  ? TEXT_WHY_NO_ANSWER
                                  : std::to_string(scores.badness[kind]);
        int written =
            std::snprintf(row, sizeof row, "%2c%12s", TEXT_KIND_LETTERS[kind], badness.c_str());
        if (seenCounts && written > 0)
            std::snprintf(row + written, sizeof row - size_t(written), "%7u×",
                          scores.timesSeen[kind]);
        std::string line = row;
        if (kind == scores.chosen) line += std::string("  ") + TEXT_WHY_CHOSEN;
        if (kind == scores.chosen) attron(A_REVERSE);
        drawText(kindsTop + kind, PANEL_LEFT + 2, line, PANEL_TEXT_WIDTH);
        attroff(A_REVERSE);
    }
}

// What a watched replay is doing: its speed, and whether it runs, stands or is over.
void drawWatchState(const SessionView& shown) {
    char speed[16];
    if (shown.watchSpeed >= 0)
        std::snprintf(speed, sizeof speed, "%d×", 1 << shown.watchSpeed);
    else
        std::snprintf(speed, sizeof speed, "1/%d×", 1 << -shown.watchSpeed);
    drawFrame(WATCH_TOP, PANEL_LEFT, 4, PANEL_WIDTH, TEXT_WATCH_TITLE);
    drawText(WATCH_TOP + 1, PANEL_LEFT + 2, formatText(TEXT_WATCH_SPEED, speed), PANEL_TEXT_WIDTH);
    std::string state = shown.over     ? formatText(TEXT_WATCH_OVER, shown.scoreText)
                        : shown.paused ? TEXT_WATCH_PAUSED
                                       : TEXT_WATCH_RUNNING;
    drawText(WATCH_TOP + 2, PANEL_LEFT + 2, state, PANEL_TEXT_WIDTH);
}

void drawGame(TuiApp& app) {
    const SessionView shown = sessionView(app.session);
    drawFrame(0, 0, BOARD_ROWS + 2, 2 * BOARD_COLUMNS + 2,
              shown.watching ? TEXT_WATCH_GAME_TITLE : TEXT_GAME_TITLE);
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
    drawRightAligned(SCORE_TOP + 1, SIDE_LEFT, SIDE_WIDTH, shown.scoreText);
    drawFrame(ADVERSARY_TOP, SIDE_LEFT, 3, SIDE_WIDTH, TEXT_ADVERSARY_TITLE);
    drawRightAligned(ADVERSARY_TOP + 1, SIDE_LEFT, SIDE_WIDTH, adversaryInfo(shown.adversary).name);
    const char* over = shown.watching ? TEXT_WATCH_OVER_MARK : TEXT_GAME_OVER;
    attron(A_REVERSE | A_BOLD);
    if (shown.over || shown.paused)
        drawText(MARK_ROW, SIDE_LEFT, shown.over ? over : TEXT_PAUSED, SIDE_WIDTH);
    attroff(A_REVERSE | A_BOLD);
    if (app.panelShown) drawWhyPanel(app, shown);
    if (shown.watching) drawWatchState(shown);
    const char* secondHelp = !shown.watching  ? TEXT_KEY_HELP_2
                             : app.replayOnly ? TEXT_REPLAY_ONLY_KEY_HELP_2
                                              : TEXT_WATCH_KEY_HELP_2;
    drawText(HELP_ROW, 0, shown.watching ? TEXT_WATCH_KEY_HELP_1 : TEXT_KEY_HELP_1,
             SCREEN_COLUMNS_NEEDED);
    drawText(HELP_ROW + 1, 0, secondHelp, SCREEN_COLUMNS_NEEDED - 1);
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

// The adversaries under the list's question: the one chosen for the next game marked, the
// one the cursor is on in reverse video.
void drawAdversaryList(const TuiApp& app, int row) {
    for (int index = 0; index < ADVERSARY_COUNT; ++index) {
        const AdversaryInfo& info = ADVERSARIES[index];
        bool chosen = info.adversary == app.session.nextAdversary;
        std::string line = std::string(chosen ? TEXT_CHOSEN_MARK : " ") + " " + info.name;
        if (size_t(index) == app.cursor) attron(A_REVERSE);
        mvaddstr(row + index, BOX_LEFT + 2, std::string(TEXT_WIDTH, ' ').c_str());
        drawText(row + index, BOX_LEFT + 3, line, TEXT_WIDTH - 2);
        attroff(A_REVERSE);
    }
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
    std::wstring wide =
        wideText(formatText(TEXT_TOO_SMALL, SCREEN_COLUMNS_NEEDED, SCREEN_ROWS_NEEDED));
    std::wstring joined = wideText(size);
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

void drawScreen(TuiApp& app) {
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
        if (app.overlay == Overlay::AdversaryList)
            drawAdversaryList(app, drawBox(app, 1, ADVERSARY_COUNT + 2, TEXT_CHOOSE_HINT) + 1);
    }
    curs_set(!tooSmall && app.overlay == Overlay::NamePrompt ? 1 : 0);
    refresh();
}
