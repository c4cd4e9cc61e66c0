// The board view under Wine: its command table and answers, what a paint leaves in the
// off-screen bitmap and the window, game over, and the release of its drawing objects.
#include <windows.h>

#include <cstring>

#include "check.h"
#include "model/game_command.h"
#include "model/game_controller.h"
#include "model/piece_table.h"
#include "win/board_view.h"
#include "win/child_window_classes.h"
#include "win/handle_words.h"
#include "win/window_notifier_win32.h"
#include "win_test_support.h"

namespace {

struct ViewUnderTest {
    HWND host;
    HWND view;
    GameState* state;
    HDC offscreen;
};

ViewUnderTest createView() {
    ViewUnderTest t;
    t.host = createHostWindow(240, 440);
    t.view = CreateWindowExW(0, BOARD_VIEW_CLASS, BOARD_VIEW_NAME, WS_CHILD | WS_VISIBLE, 20, 30,
                             BOARD_PIXEL_WIDTH, BOARD_PIXEL_HEIGHT, t.host, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    t.state = boardViewState(t.view);
    t.offscreen = t.state != nullptr ? handleFromWord<HDC>(t.state->offscreenDC) : nullptr;
    UpdateWindow(t.host);
    UpdateWindow(t.view);
    pumpMessages();
    return t;
}

void destroyView(ViewUnderTest& t) {
    DestroyWindow(t.host);  // takes the view with it
    pumpMessages();
}

LRESULT command(const ViewUnderTest& t, uint32_t code, LPARAM argument = 0) {
    return SendMessageW(t.view, WM_GAME_COMMAND, code, argument);
}

bool repaintPending(HWND view) { return GetUpdateRect(view, nullptr, FALSE) != FALSE; }

void paintNow(HWND view) {
    InvalidateRect(view, nullptr, FALSE);
    UpdateWindow(view);
}

bool pieceCovers(const GameState& state, int row, int column) {
    int boxRow = row - state.pieceY;
    int boxColumn = column - state.pieceX;
    if (boxRow < 0 || boxRow >= PICTURE_SIDE || boxColumn < 0 || boxColumn >= PICTURE_SIDE)
        return false;
    return pictureCellFilled(piecePicture(state.pieceKind, state.pieceRotation), boxRow,
                             boxColumn);
}

// Every cell's painted 19 x 19 square is yellow where the grid or the falling piece has
// it, black elsewhere; its last column and row keep what the bitmap held before.
void checkBoardPixels(HDC dc, const GameState& state, uint32_t gridColour) {
    for (int row = 0; row < BOARD_ROWS; ++row) {
        for (int column = 0; column < BOARD_COLUMNS; ++column) {
            bool yellow = state.cells[row][column] != 0 || pieceCovers(state, row, column);
            uint32_t fill = yellow ? RGB_YELLOW : RGB_BLACK;
            int x = column * CELL_PIXELS;
            int y = row * CELL_PIXELS;
            CHECK_EQ(fill, rgbAt(dc, x + 9, y + 9));
            CHECK_EQ(fill, rgbAt(dc, x, y));
            CHECK_EQ(fill, rgbAt(dc, x + 18, y + 18));
            CHECK_EQ(fill, rgbAt(dc, x + 18, y));
            CHECK_EQ(gridColour, rgbAt(dc, x + 19, y + 9));
            CHECK_EQ(gridColour, rgbAt(dc, x + 9, y + 19));
            CHECK_EQ(gridColour, rgbAt(dc, x + 19, y + 19));
        }
    }
}

void aFreshViewShowsAnEmptyBoardAndIgnoresPieceCommands() {
    ViewUnderTest t = createView();
    CHECK(t.state != nullptr);
    if (t.state == nullptr) return;
    // The bitmap starts black, grid lines included.
    checkBoardPixels(t.offscreen, *t.state, RGB_BLACK);

    fillRgb(t.offscreen, 0, 0, BOARD_PIXEL_WIDTH, BOARD_PIXEL_HEIGHT, RGB_MAGENTA);
    GameState before;
    std::memcpy(&before, t.state, sizeof before);
    for (uint32_t code : {CMD_MOVE_LEFT, CMD_MOVE_RIGHT, CMD_STEP_DOWN, CMD_ROTATE})
        CHECK_EQ(1, command(t, code));
    CHECK_EQ(1, SendMessageW(t.view, WM_TIMER, FALL_TIMER_ID, 0));
    CHECK(std::memcmp(&before, t.state, sizeof before) == 0);
    CHECK(!repaintPending(t.view));

    // Nothing of the piece, whose box lies left of the board before the first game.
    paintNow(t.view);
    checkBoardPixels(t.offscreen, *t.state, RGB_MAGENTA);
    destroyView(t);
}

void commandsThatDoNothingAnswerOne() {
    ViewUnderTest t = createView();
    command(t, CMD_NEW_GAME);
    pumpMessages();
    GameState before;
    std::memcpy(&before, t.state, sizeof before);
    for (uint32_t code : {0u, 7u, 12u, 0x401u, 0xFFFFFFFFu}) CHECK_EQ(1, command(t, code, 99));
    CHECK(std::memcmp(&before, t.state, sizeof before) == 0);
    CHECK(hostCommands().empty());
    destroyView(t);
}

// The game model answers the score as it stands, paused or not, so that the game-over
// check never sees a made-up value.
void theScoreQueryAnswersTheScorePausedOrNot() {
    ViewUnderTest t = createView();
    CHECK_EQ(0, command(t, CMD_GET_SCORE));
    t.state->score = 3;
    CHECK_EQ(3, command(t, CMD_GET_SCORE));
    CHECK_EQ(1, command(t, CMD_PAUSE));
    CHECK_EQ(1, t.state->paused);
    CHECK_EQ(3, command(t, CMD_GET_SCORE));
    CHECK_EQ(1, command(t, CMD_RESUME));
    CHECK_EQ(0, t.state->paused);
    t.state->score = 250;
    CHECK_EQ(250, command(t, CMD_GET_SCORE));
    destroyView(t);
}

void linksAndNewGameReachTheLabelAndThePreview() {
    ViewUnderTest t = createView();
    HWND label = CreateWindowExW(0, L"STATIC", L"x", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, t.host,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND preview = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, t.host, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(preview, GWLP_USERDATA, 0x12345678);
    CHECK_EQ(1, command(t, CMD_SET_SCORE_LABEL, reinterpret_cast<LPARAM>(label)));
    CHECK_EQ(1, command(t, CMD_SET_PREVIEW, reinterpret_cast<LPARAM>(preview)));
    CHECK_EQ(wordFromHandle(label), t.state->scoreLabel);
    CHECK_EQ(wordFromHandle(preview), t.state->previewWindow);
    // Linking alone tells neither window anything.
    CHECK_EQ(L"x", windowText(label));
    CHECK_EQ(0x12345678, GetWindowLongPtrW(preview, GWLP_USERDATA));

    CHECK_EQ(1, command(t, CMD_NEW_GAME));
    CHECK(t.state->timerId != 0);
    CHECK_EQ(L"0", windowText(label));
    uint32_t word = (static_cast<uint32_t>(t.state->nextRotation) << 16) |
                    static_cast<uint32_t>(t.state->nextKind);
    CHECK_EQ(word, static_cast<uint32_t>(GetWindowLongPtrW(preview, GWLP_USERDATA)));
    // The first piece of a fresh view is the pending one: kind 0, rotation 0, at (4, 0).
    CHECK_EQ(0, t.state->pieceKind);
    CHECK_EQ(0, t.state->pieceRotation);
    CHECK_EQ(4, t.state->pieceX);
    CHECK_EQ(0, t.state->pieceY);
    CHECK(repaintPending(t.view));
    destroyView(t);
}

void movesRepaintWhenActiveOnlyAndTicksStepDown() {
    ViewUnderTest t = createView();
    command(t, CMD_NEW_GAME);
    UpdateWindow(t.view);
    CHECK(!repaintPending(t.view));

    CHECK_EQ(1, command(t, CMD_MOVE_LEFT));
    CHECK_EQ(3, t.state->pieceX);
    CHECK(repaintPending(t.view));
    UpdateWindow(t.view);
    for (int i = 0; i < 5; ++i) command(t, CMD_MOVE_LEFT);
    CHECK_EQ(0, t.state->pieceX);  // against the wall: blocked, still repainted
    UpdateWindow(t.view);
    command(t, CMD_MOVE_LEFT);
    CHECK_EQ(0, t.state->pieceX);
    CHECK(repaintPending(t.view));
    UpdateWindow(t.view);

    CHECK_EQ(1, SendMessageW(t.view, WM_TIMER, 77, 0));  // any timer id is a fall step
    CHECK_EQ(1, t.state->pieceY);
    CHECK_EQ(1, command(t, CMD_STEP_DOWN));
    CHECK_EQ(2, t.state->pieceY);
    command(t, CMD_MOVE_RIGHT);
    CHECK_EQ(1, t.state->pieceX);
    UpdateWindow(t.view);

    command(t, CMD_PAUSE);
    GameState before;
    std::memcpy(&before, t.state, sizeof before);
    command(t, CMD_MOVE_RIGHT);
    command(t, CMD_ROTATE);
    SendMessageW(t.view, WM_TIMER, FALL_TIMER_ID, 0);
    CHECK(std::memcmp(&before, t.state, sizeof before) == 0);
    CHECK(!repaintPending(t.view));

    // A paint while paused shows the board and the piece as they are.
    fillRgb(t.offscreen, 0, 0, BOARD_PIXEL_WIDTH, BOARD_PIXEL_HEIGHT, RGB_MAGENTA);
    paintNow(t.view);
    checkBoardPixels(t.offscreen, *t.state, RGB_MAGENTA);
    destroyView(t);
}

void aPaintDrawsCellsAndPieceOffscreenAndCopiesThemToTheWindow() {
    ViewUnderTest t = createView();
    command(t, CMD_NEW_GAME);
    // Settled cells in the corners and the middle, the piece at column 4.
    t.state->cells[19][0] = FILLED_CELL;
    t.state->cells[19][9] = 1;
    t.state->cells[0][9] = FILLED_CELL;
    t.state->cells[10][5] = FILLED_CELL;
    fillRgb(t.offscreen, 0, 0, BOARD_PIXEL_WIDTH, BOARD_PIXEL_HEIGHT, RGB_MAGENTA);
    paintNow(t.view);
    checkBoardPixels(t.offscreen, *t.state, RGB_MAGENTA);
    // Kind 0 in rotation 0 at (4, 0): (0,4), (1,4), (2,4), (2,5).
    CHECK_EQ(RGB_YELLOW, rgbAt(t.offscreen, 4 * 20 + 9, 0 * 20 + 9));
    CHECK_EQ(RGB_YELLOW, rgbAt(t.offscreen, 4 * 20 + 9, 2 * 20 + 9));
    CHECK_EQ(RGB_YELLOW, rgbAt(t.offscreen, 5 * 20 + 9, 2 * 20 + 9));
    CHECK_EQ(RGB_BLACK, rgbAt(t.offscreen, 5 * 20 + 9, 1 * 20 + 9));

    // The window shows the same pixels, grid lines included.
    HDC windowDC = GetDC(t.view);
    const int points[][2] = {{9, 389}, {189, 389}, {189, 9}, {109, 209}, {89, 9},
                             {109, 49}, {109, 29}, {19, 9},  {199, 399}, {0, 0}};
    for (const auto& point : points)
        CHECK_EQ(rgbAt(t.offscreen, point[0], point[1]), rgbAt(windowDC, point[0], point[1]));
    ReleaseDC(t.view, windowDC);
    destroyView(t);
}

void gameOverIsPostedOnceAndTheBoardFreezes() {
    ViewUnderTest t = createView();
    command(t, CMD_NEW_GAME);
    // Rows 3 to 19 filled but for column 9: the piece settles at the top, and the next one
    // has no room.
    for (int row = 3; row < BOARD_ROWS; ++row)
        for (int column = 0; column < BOARD_COLUMNS - 1; ++column)
            t.state->cells[row][column] = FILLED_CELL;
    command(t, CMD_STEP_DOWN);
    CHECK_EQ(0u, t.state->timerId);
    CHECK_EQ(4, t.state->pieceX);
    CHECK_EQ(0, t.state->pieceY);
    CHECK(hostCommands().empty());  // posted, not sent
    pumpMessages();
    CHECK_EQ(1u, hostCommands().size());
    if (!hostCommands().empty()) CHECK_EQ(CMD_GAME_OVER, hostCommands()[0]);

    GameState before;
    std::memcpy(&before, t.state, sizeof before);
    SendMessageW(t.view, WM_TIMER, FALL_TIMER_ID, 0);
    command(t, CMD_MOVE_LEFT);
    command(t, CMD_STEP_DOWN);
    CHECK(std::memcmp(&before, t.state, sizeof before) == 0);
    pumpMessages();
    CHECK_EQ(1u, hostCommands().size());

    // The piece that did not fit shows at the top over the settled cells.
    fillRgb(t.offscreen, 0, 0, BOARD_PIXEL_WIDTH, BOARD_PIXEL_HEIGHT, RGB_MAGENTA);
    paintNow(t.view);
    checkBoardPixels(t.offscreen, *t.state, RGB_MAGENTA);
    destroyView(t);
}

void destructionReleasesTheDrawingObjects() {
    ViewUnderTest t = createView();
    command(t, CMD_NEW_GAME);
    HGDIOBJ objects[] = {handleFromWord<HGDIOBJ>(t.state->offscreenDC),
                         handleFromWord<HGDIOBJ>(t.state->nullPen),
                         handleFromWord<HGDIOBJ>(t.state->offscreenBitmap),
                         handleFromWord<HGDIOBJ>(t.state->fillBrush)};
    CHECK_EQ(OBJ_MEMDC, GetObjectType(objects[0]));
    CHECK_EQ(OBJ_PEN, GetObjectType(objects[1]));
    CHECK_EQ(OBJ_BITMAP, GetObjectType(objects[2]));
    CHECK_EQ(OBJ_BRUSH, GetObjectType(objects[3]));
    // The view keeps its bitmap, null pen and yellow brush selected between paints.
    CHECK(GetCurrentObject(t.offscreen, OBJ_BITMAP) == objects[2]);
    CHECK(GetCurrentObject(t.offscreen, OBJ_PEN) == objects[1]);
    CHECK(GetCurrentObject(t.offscreen, OBJ_BRUSH) == objects[3]);
    BITMAP bitmap = {};
    GetObjectW(objects[2], sizeof bitmap, &bitmap);
    CHECK_EQ(BOARD_PIXEL_WIDTH, bitmap.bmWidth);
    CHECK_EQ(BOARD_PIXEL_HEIGHT, bitmap.bmHeight);

    DestroyWindow(t.view);
    // A PS_NULL pen is the system's stock null pen, which deleting leaves alone.
    for (HGDIOBJ object : objects)
        if (object != GetStockObject(NULL_PEN)) CHECK_EQ(0, GetObjectType(object));
    CHECK(!KillTimer(t.view, FALL_TIMER_ID));
    destroyView(t);
}

void thousandsOfPaintsLeaveNoGdiObjectBehind() {
    ViewUnderTest t = createView();
    command(t, CMD_NEW_GAME);
    t.state->cells[19][3] = FILLED_CELL;
    paintNow(t.view);
    long countBefore = liveGdiObjects();
    for (int i = 0; i < 5000; ++i) paintNow(t.view);
    long countAfter = liveGdiObjects();
    CHECK(countBefore > 0);
    CHECK_EQ(countBefore, countAfter);
    std::printf("live GDI objects: %ld before, %ld after the paints\n", countBefore, countAfter);
    CHECK(GetCurrentObject(t.offscreen, OBJ_BRUSH) ==
          handleFromWord<HGDIOBJ>(t.state->fillBrush));
    destroyView(t);
}

}  // namespace

int main() {
    buildPieceTable();
    installWin32WindowNotifier();
    if (!registerChildWindowClasses(GetModuleHandleW(nullptr))) {
        std::printf("cannot register the child window classes\n");
        return 1;
    }
    RUN_TEST(aFreshViewShowsAnEmptyBoardAndIgnoresPieceCommands);
    RUN_TEST(commandsThatDoNothingAnswerOne);
    RUN_TEST(theScoreQueryAnswersTheScorePausedOrNot);
    RUN_TEST(linksAndNewGameReachTheLabelAndThePreview);
    RUN_TEST(movesRepaintWhenActiveOnlyAndTicksStepDown);
    RUN_TEST(aPaintDrawsCellsAndPieceOffscreenAndCopiesThemToTheWindow);
    RUN_TEST(gameOverIsPostedOnceAndTheBoardFreezes);
    RUN_TEST(destructionReleasesTheDrawingObjects);
    RUN_TEST(thousandsOfPaintsLeaveNoGdiObjectBehind);
    return check::summary("board_view_test");
}
