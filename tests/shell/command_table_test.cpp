// The rows every menu, key and button is built from: a key that two rows
// claim would fire neither command, a second row of one id would never be
// read, and an item without a tip leaves the status bar saying nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "shell/command_ids.h"
#include "shell/command_table.h"
#include "shell/menus.h"

TEST(CommandTableTest, EveryIdHasOneRowAndEveryKeyOneCommand) {
    std::set<int> ids;
    for (const CommandInfo& row : commandTable())
        EXPECT_TRUE(ids.insert(row.id).second) << "two rows of " << row.id;
    std::map<std::string, int> owner;
    for (const Accelerator& key : frameAccelerators()) {
        auto [it, fresh] = owner.emplace(key.keys, key.id);
        EXPECT_TRUE(fresh) << key.keys << " sends " << it->second << " and " << key.id;
    }
    EXPECT_EQ(owner.at("Ctrl+Z"), CMD_UNDO);
    EXPECT_EQ(owner.at("Ctrl+0"), CMD_Y_RANGE_OUT);
    EXPECT_EQ(owner.at("Ctrl+O"), CMD_Y_RANGE_OUT);
}

TEST(CommandTableTest, MenusGroupTheirRowsAndSayWhatEachItemDoes) {
    std::set<std::string> titles;
    for (const MenuPopup& popup : frameMenu()) {
        EXPECT_TRUE(titles.insert(popup.title).second) << popup.title;
        ASSERT_FALSE(popup.items.empty());
        EXPECT_NE(popup.items.front().id, 0) << popup.title << " opens with a line";
        EXPECT_NE(popup.items.back().id, 0) << popup.title << " ends with a line";
        for (const MenuItem& item : popup.items)
            if (item.id != 0) {
                EXPECT_STRNE(commandStatusTip(item.id), "") << item.text;
            }
    }
    EXPECT_EQ(frameMenu().at(WINDOW_MENU_INDEX).title, "&Window");
    for (int id : toolbarCommands())
        if (id != 0) {
            EXPECT_STRNE(commandInfo(id)->toolTip, "") << id;
        }
    // The view's popup shows the zooms without the keys the menu bar names.
    const auto& popup = signalPopup().items;
    auto zoom = std::find_if(popup.begin(), popup.end(),
                             [](const MenuItem& i) { return i.id == CMD_ZOOM_X_IN; });
    ASSERT_NE(zoom, popup.end());
    EXPECT_EQ(zoom->text, "Zoom X in");
}

// Alt and a menu's letter then one item's letter must reach one item: two
// items of a popup underlining the same letter leave the key to whichever
// Qt cycles to first.
TEST(CommandTableTest, NoTwoItemsOfAPopupShareTheirLetter) {
    std::map<std::string, std::map<char, std::string>> taken;
    for (const CommandInfo& row : commandTable()) {
        // The two Save items have always shared theirs; Alt+F, A moves between them.
        if (!row.menu || std::strcmp(row.text, "S&ave block...") == 0) continue;
        const char* amp = std::strchr(row.text, '&');
        if (!amp || !amp[1]) continue;
        const char letter = char(std::tolower(static_cast<unsigned char>(amp[1])));
        auto [at, fresh] = taken[row.menu].emplace(letter, row.text);
        EXPECT_TRUE(fresh) << row.menu << ": \"" << row.text << "\" and \"" << at->second
                           << "\" both underline " << letter;
    }
}
