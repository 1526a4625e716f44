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
    kItemHint = 14,
    kItemCheckKey = 15,
    kItemClear = 17,
    kMenuWindows = 18,
    kItemCipherWindow = 19,
    kItemAlphabetWindow = 20,
    kItemPlainWindow = 21,
    kItemBigramWindow = 23,
    kItemGraphWindow = 24,
    kItemInfoWindow = 25,
    kMenuModes = 26,
    kMenuHighlight = 27,
    kItemHiliteCurrent = 28,
    kItemHiliteSelected = 29,
    kItemBigramLabel = 30,
    kItemHiliteCurrentBigram = 31,
    kItemHiliteSelectedBigram = 32,
    kItemHilitePhrase = 34,
    kMenuScheme = 35,
    kItemBlackScheme = 36,
    kItemYellowScheme = 37,
    kMenuHelp = 38,
    kItemHelp = 39,
    kItemHomePage = 41,
    kItemAbout = 42,
};

// clang-format off
inline constexpr const char* kMainMenuTemplate[] = {
    "&Файл ", "(", "Открыть...", "Сохранить", "Сохранить как...", "Зашифровать текст...", "-",
        "Вы&ход", ")",
    "&Правка ", "(", "Выделить", "-", "Отменить", "Вернуть", "Вставить", "-", "Подсказать букву",
        "Проверить ключ", "-", "Очистить", ")",
    "&Окна ", "(", "Шифротекст", "Алфавит", "Открытый текст", "-", "Биграммы", "График",
        "Информация", ")",
    "&Режимы ", "(", "Подсветка", "(", "текущих", "выделенных", "-", "текущих", "выделенных",
        "-", "фразы", ")", "Цветовая гамма", "(", "+!черная", "-!желтая", ")", ")",
    "&Помощь ", "(", "&Справка", "-", "Home &Page", "&About", ")",
    ""};
// clang-format on

}  // namespace zam
