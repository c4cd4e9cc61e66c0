// The prompt's editing keys on a Czech name: every step lands on whole characters.
#include "tui/name_editor.h"

#include <string>

#include <gtest/gtest.h>

namespace {

void type(NameEditor& editor, const char32_t* text) {
    for (; *text != 0; ++text) insertCharacter(editor, static_cast<uint32_t>(*text));
}

TEST(NameEditor, EditsWholeCharactersRefusesControlsAndStopsAtTheByteLimit) {
    NameEditor editor;
    type(editor, U"Žluť");
    EXPECT_EQ(editor.text, "Žluť");
    moveCursorLeft(editor);
    moveCursorLeft(editor);
    type(editor, U"ů");
    EXPECT_EQ(editor.text, "Žlůuť");
    moveCursorHome(editor);
    moveCursorLeft(editor);  // stays at the start
    deleteAtCursor(editor);
    EXPECT_EQ(editor.text, "lůuť");
    moveCursorRight(editor);
    moveCursorRight(editor);
    deleteBeforeCursor(editor);
    EXPECT_EQ(editor.text, "luť");
    EXPECT_EQ(editor.cursor, 1u);
    moveCursorEnd(editor);
    moveCursorRight(editor);  // stays at the end
    deleteAtCursor(editor);   // nothing after the cursor
    deleteBeforeCursor(editor);
    EXPECT_EQ(editor.text, "lu");
    EXPECT_EQ(editor.cursor, editor.text.size());

    for (uint32_t refused : {0x09u, 0x7Fu, 0x9Bu, 0xD800u})  // C0, DEL, C1, a surrogate
        EXPECT_FALSE(insertCharacter(editor, refused)) << std::hex << refused;
    EXPECT_EQ(editor.text, "lu");
    EXPECT_EQ(storedName(NameEditor{}), "?");

    editor.text.assign(NAME_BYTE_LIMIT - 1, 'a');
    editor.cursor = editor.text.size();
    EXPECT_FALSE(insertCharacter(editor, U'ž')) << "two bytes do not fit into one";
    EXPECT_TRUE(insertCharacter(editor, 'b'));
    EXPECT_FALSE(insertCharacter(editor, 'c'));
    EXPECT_EQ(editor.text.size(), NAME_BYTE_LIMIT);
}

}  // namespace
