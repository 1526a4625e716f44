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
    kItemEncrypt = 4,
    kItemExit = 6,
    kMenuEdit = 7,
    kItemSelectPhrase = 8,
    kItemUndo = 10,
    kItemRedo = 11,
    kItemPaste = 12,
    kItemClear = 14,
    kMenuWindows = 15,
    kItemCipherWindow = 16,
    kItemAlphabetWindow = 17,
    kItemPlainWindow = 18,
    kItemBigramWindow = 20,
    kItemGraphWindow = 21,
    kItemInfoWindow = 22,
    kMenuModes = 23,
    kMenuHighlight = 24,
    kItemHiliteCurrent = 25,
    kItemHiliteSelected = 26,
    kItemBigramLabel = 27,
    kItemHiliteCurrentBigram = 28,
    kItemHiliteSelectedBigram = 29,
    kItemHilitePhrase = 31,
    kMenuScheme = 32,
    kItemBlackScheme = 33,
    kItemYellowScheme = 34,
    kMenuHelp = 35,
    kItemHelp = 36,
    kItemHomePage = 38,
    kItemAbout = 39,
};

// clang-format off
inline constexpr const char* kMainMenuTemplate[] = {
    "&Файл ", "(", "Открыть...", "Сохранить", "Сохранить как...", "Зашифровать текст...", "-",
        "Вы&ход", ")",
    "&Правка ", "(", "Выделить", "-", "Отменить", "Вернуть", "Вставить", "-", "Очистить", ")",
    "&Окна ", "(", "Шифротекст", "Алфавит", "Открытый текст", "-", "Биграммы", "График",
        "Информация", ")",
    "&Режимы ", "(", "Подсветка", "(", "текущих", "выделенных", "-", "текущих", "выделенных",
        "-", "фразы", ")", "Цветовая гамма", "(", "+!черная", "-!желтая", ")", ")",
    "&Помощь ", "(", "&Справка", "-", "Home &Page", "&About", ")",
    ""};
// clang-format on

}  // namespace zam
