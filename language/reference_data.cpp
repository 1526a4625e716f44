#include "language/reference_data.h"

namespace zam::language {
namespace {

// In cipher-alphabet order: Щ, Ь, Ы, Э — the soft sign stands before Ы.
constexpr float kReferenceShares[kReferenceShareCount] = {
    6.2f, 1.4f, 3.8f, 1.3f, 2.5f, 7.2f, 0.7f, 1.6f, 7.2f, 2.8f, 3.5f,
    2.6f, 5.3f, 9.0f, 2.3f, 4.0f, 4.5f, 5.3f, 2.1f, 0.2f, 0.9f, 0.4f,
    1.2f, 0.6f, 0.3f, 1.4f, 1.6f, 0.3f, 0.6f, 1.8f, 17.4f,
};

constexpr const char* kCombinations[kCombinationCount] = {
    "ИИ",  "НН",  "ОО",  "СС",                                              // doubled
    "СТ",  "НО",  "ЕН",  "ТО",  "НА", "ОВ", "НИ", "РА", "ВО", "КО",        // bigrams
    "СТО", "ЕНО", "НОВ", "ТОВ", "ОВО", "ОВА",                               // trigrams
};

// Row "Ш" really ends in "68", "3", and row "Ф" really repeats е, о, а: the card is shown
// exactly as it was compiled.
constexpr const char* kAlternation[kAlternationRowCount][kAlternationColumnCount] = {
    {"Г", "С", "Слева", " ", "Справа", "Г", "С"},
    {"3", "97", "л, д, к, т, в, р, н", "А", "л, н, с, т, р, в, к, м", "12", "88"},
    {"80", "20", "я, е, у, и, а, о", "Б", "о, ы, е, а, р, у", "81", "19"},
    {"68", "32", "я, т, а, е, и, о", "В", "о, а, и, ы, с, н, л, р", "60", "40"},
    {"78", "22", "р, у, а, и, е, о", "Г", "о, а, р, л, и, в", "69", "31"},
    {"72", "28", "р, я, у, а, и, е, о", "Д", "е, а, и, о, н, у, р, в", "68", "32"},
    {"19", "81", "м, и, л, д, т, р, н", "Е", "н, т, р, с, л, в, м, и", "12", "88"},
    {"83", "17", "р, е, и, а, у, о", "Ж", "е, и, д, а, н", "71", "29"},
    {"89", "11", "о, е, а, и", "З", "а, н, в, о, м, д", "51", "49"},
    {"27", "73", "р, т, м, и, о, л, н", "И", "с, н, в, и, е, м, к, з", "25", "75"},
    {"55", "45", "ь, в, е, о, а, и, с", "К", "о, а, и, р, у, т, л, е", "73", "27"},
    {"77", "23", "г, в, ы, и, е, о, а", "Л", "и, е, о, а, ь, я, ю, у", "75", "25"},
    {"80", "20", "я, ы, а, и, е, о", "М", "и, е, о, у, а, н, п, ы", "73", "27"},
    {"55", "45", "д, ь, н, о", "Н", "о, а, и, е, ы, н, у", "80", "20"},
    {"11", "89", "р, п, к, в, т, н", "О", "в, с, т, р, и, д, н, м", "15", "85"},
    {"65", "35", "в, с, у, а, и, е, о", "П", "о, р, е, а, у, и, л", "68", "32"},
    {"55", "45", "и, к, т, а, п, о, е", "Р", "а, е, о, и, у, я, ы, н", "80", "20"},
    {"69", "31", "с, т, в, а, е, и, о", "С", "т, к, о, я, е, ь, с, н", "32", "68"},
    {"57", "43", "ч, у, и, а, е, о, с", "Т", "о, а, е, и, ь, в, р, с", "63", "37"},
    {"15", "85", "п, т, к, д, н, м, р", "У", "т, п, с, д, н, ю, ж", "16", "84"},
    {"70", "30", "н, а, е, о, и", "Ф", "и, е, о, а, е, о, а", "81", "19"},
    {"90", "10", "у, е, о, а, ы, и", "Х", "о, и, с, н, в, п, р", "43", "57"},
    {"69", "31", "е, ю, н, а, и", "Ц", "и, е, а, ы", "93", "7"},
    {"82", "18", "е, а, у, и, о", "Ч", "е, и, т, н", "66", "34"},
    {"67", "33", "ь, у, ы, е, о, а, и, в", "Ш", "е, и, н, а, о, л", "68", "3"},
    {"84", "16", "е, б, а, я, ю", "Щ", "е, и, а", "97", "3"},
    {"0", "100", "м, р, т, с, б, в, н", "Ы", "л, х, е, м, и, в, с, н", "56", "44"},
    {"0", "100", "н, с, т, л", "Ь", "н, к, в, п, с, е, о, и", "24", "76"},
    {"14", "86", "с, ы, м, л, д, т, р, н", "Э", "н, т, р, с, к", "0", "100"},
    {"58", "42", "ь, о, а, и, л, у", "Ю", "д, т, щ, ц, н, п", "11", "89"},
    {"43", "57", "о, н, р, л, а, и, с", "Я", "в, с, т, п, д, к, м, л", "16", "84"},
};

constexpr std::uint8_t kAlternationWidths[kAlternationColumnCount] = {30, 30, 150, 20, 150, 30, 30};

}  // namespace

float ReferenceShare(int position) {
    if (position < 1 || position > kReferenceShareCount) return 0.0f;
    return kReferenceShares[position - 1];
}

const char* FrequentCombination(int entry) {
    if (entry < 1 || entry > kCombinationCount) return "";
    return kCombinations[entry - 1];
}

const char* AlternationCell(int row, int column) {
    if (row < 0 || row >= kAlternationRowCount) return "";
    if (column < 1 || column > kAlternationColumnCount) return "";
    return kAlternation[row][column - 1];
}

std::uint8_t AlternationColumnWidth(int column) {
    if (column < 1 || column > kAlternationColumnCount) return 0;
    return kAlternationWidths[column - 1];
}

}  // namespace zam::language
