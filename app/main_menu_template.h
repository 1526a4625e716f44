#pragma once
// The main menu as a template, ended by an empty entry. Items are numbered depth-first from
// 0, separators included; commands and the settings file address them by these numbers.

#include <cstdint>

namespace zam {

// Main menu items that commands and the settings file address.
enum MainMenuItem : int32_t {
    kMenuFile = 0,
    kItemOpen = 1,
    kItemSave = 2,
    kItemSaveAs = 3,
    kItemExit = 5,
    kMenuEdit = 6,
    kItemSelectPhrase = 7,
    kItemUndo = 9,
    kItemRedo = 10,
    kItemClear = 12,
    kMenuWindows = 13,
    kItemCipherWindow = 14,
    kItemAlphabetWindow = 15,
    kItemPlainWindow = 16,
    kItemBigramWindow = 18,
    kItemGraphWindow = 19,
    kItemInfoWindow = 20,
    kMenuModes = 21,
    kMenuHighlight = 22,
    kItemHiliteCurrent = 23,
    kItemHiliteSelected = 24,
    kItemBigramLabel = 25,
    kItemHiliteCurrentBigram = 26,
    kItemHiliteSelectedBigram = 27,
    kItemHilitePhrase = 29,
    kMenuScheme = 30,
    kItemBlackScheme = 31,
    kItemYellowScheme = 32,
    kMenuHelp = 33,
    kItemHelp = 34,
    kItemHomePage = 36,
    kItemAbout = 37,
};

// clang-format off
inline constexpr const char* kMainMenuTemplate[] = {
    "&Файл ", "(", "Открыть...", "Сохранить", "Сохранить как...", "-", "Вы&ход", ")",
    "&Правка ", "(", "Выделить", "-", "Отменить", "Вернуть", "-", "Очистить", ")",
    "&Окна ", "(", "Шифротекст", "Алфавит", "Открытый текст", "-", "Биграммы", "График",
        "Информация", ")",
    "&Режимы ", "(", "Подсветка", "(", "текущих", "выделенных", "-", "текущих", "выделенных",
        "-", "фразы", ")", "Цветовая гамма", "(", "+!черная", "-!желтая", ")", ")",
    "&Помощь ", "(", "&Справка", "-", "Home &Page", "&About", ")",
    ""};
// clang-format on

}  // namespace zam
