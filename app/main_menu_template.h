#pragma once
// The main menu as a template: 51 entries and the end mark. Items are numbered depth-first from
// 0, separators included; commands and the settings file address them by these numbers.

namespace zam {

// clang-format off
inline constexpr const char* kMainMenuTemplate[] = {
    "&Файл ", "(", "Открыть...", "Сохранить", "-", "Вы&ход", ")",
    "&Правка ", "(", "Выделить", "-", "Отменить", "Вернуть", "-", "Очистить", ")",
    "&Окна ", "(", "Шифротекст", "Алфавит", "Открытый текст", "-", "Биграммы", "График",
        "Информация", ")",
    "&Режимы ", "(", "Подсветка", "(", "текущих", "выделенных", "-", "текущих", "выделенных",
        "-", "фразы", ")", "Цветовая гамма", "(", "+!черная", "-!желтая", ")", ")",
    "&Помощь ", "(", "&Справка", "-", "Home &Page", "&About", ")",
    ""};
// clang-format on

}  // namespace zam
