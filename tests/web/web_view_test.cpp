// The browser's board view with a made-up page and clock: the timer's rhythm across late
// alarms and holds, the keys it takes, coalesced frames and the end of a game.
#include "web/web_view.h"

#include <gtest/gtest.h>

#include "model/rules/game_random.h"

namespace {

constexpr double NO_ALARM = -1;

struct FakePage {
    double alarm = NO_ALARM;
    int frames = 0;
    int gameOvers = 0;

    static FakePage& of(void* context) { return *static_cast<FakePage*>(context); }
    PageOperations operations() {
        return PageOperations{
            this,
            [](void* page, double atMs) { of(page).alarm = atMs; },
            [](void* page) { of(page).alarm = NO_ALARM; },
            [](void* page) { ++of(page).frames; },
            [](void*, CanvasArea, int, int, bool) {},  // the cells: drawn in Chromium
            [](void*, const char*) {},                 // the score: shown in Chromium
            [](void* page) { ++of(page).gameOvers; },
        };
    }
};

struct WebViewTest : ::testing::Test {
    FakePage page;
    WebView view;
    double now = 1000;

    void SetUp() override {
        restoreGameRandomState(1);  // each test is a page load: a program run of its own
        startWebView(view, page.operations(), now);
        EXPECT_EQ(page.frames, 1) << "the first frame, before any game";
        press(KEY_F2);  // and a game begins
    }
    void press(uint32_t key) { EXPECT_TRUE(webKeyDown(view, key, now)) << key; }
    int pieceRow() const { return view.state.pieceY; }
};

TEST_F(WebViewTest, ALateAlarmIsOneStepInTheTimersRhythm) {
    EXPECT_EQ(page.alarm, 1500);
    webFallAlarm(view, 1499);  // a timer that fires a little early steps nothing
    EXPECT_EQ(pieceRow(), 0);
    EXPECT_EQ(page.alarm, 1500);
    webFallAlarm(view, 4010);  // a page that was stalled five periods
    EXPECT_EQ(pieceRow(), 1);
    EXPECT_EQ(page.alarm, 4500);
}

TEST_F(WebViewTest, AHoldSetsNoAlarmAndResumingKeepsThePhase) {
    webHold(view, true, 1200);
    EXPECT_EQ(page.alarm, NO_ALARM) << "a paused page runs nothing";
    now = 2000;
    for (uint32_t key : {KEY_DOWN, KEY_LEFT, KEY_UP, KEY_F2}) press(key);  // taken, not acted on
    webFallAlarm(view, 2000);
    EXPECT_EQ(pieceRow(), 0);
    EXPECT_EQ(view.state.pieceX, 4);
    webHold(view, false, 2700);
    EXPECT_EQ(page.alarm, 3000);
    webFallAlarm(view, 3000);
    EXPECT_EQ(pieceRow(), 1);
}

// Which keys the view takes and what each does through the game's command table (whole
// games are played in Chromium); repaints requested before a paint are one frame.
TEST_F(WebViewTest, OnlyTheGamesKeysAreTakenAndRepaintsCoalesce) {
    for (uint32_t other : {0x20u, 0x41u, 0x70u, 0x72u, 0x24u})
        EXPECT_FALSE(webKeyDown(view, other, now)) << other;
    for (uint32_t key : {KEY_LEFT, KEY_LEFT, KEY_RIGHT, KEY_UP, KEY_DOWN}) press(key);
    EXPECT_EQ(view.state.pieceX, 3);
    EXPECT_EQ(view.state.pieceRotation, 1);
    EXPECT_EQ(pieceRow(), 1);
    EXPECT_EQ(page.frames, 1) << "requests before a paint are one frame";
    webPaint(view);
    press(KEY_DOWN);
    EXPECT_EQ(page.frames, 2);
}

TEST_F(WebViewTest, AGameEndsOnceWithItsAlarmCleared) {
    // Left to the timer, every piece stacks up in the middle until one no longer fits.
    for (int alarms = 0; alarms < 2000 && page.gameOvers == 0; ++alarms) {
        now = page.alarm;
        webFallAlarm(view, now);
    }
    EXPECT_EQ(page.gameOvers, 1);
    EXPECT_EQ(page.alarm, NO_ALARM) << "a step that ends the game leaves no alarm behind";
}

}  // namespace
