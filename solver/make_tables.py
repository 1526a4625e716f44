#!/usr/bin/env python3
"""Writes solver/language_tables.cpp, the Russian n-gram, word and word-pair tables the key
solver scores with, from the count files of the shared language data (see that folder's README).

    python3 solver/make_tables.py [--data DIR] [--check]

Each table is one string: lines of "LLL" (the item's level, round(-20 * log10(count / total)))
followed by every item of that level in sorted order, each item written as one byte "A" + the
number of symbols it shares with the item before it, then its remaining symbols. Symbols are the
ASCII bytes 0x60 + index (index 0-29 the letters in alphabet order, 30 the word gap), so the
text needs no escapes and no execution character set.
"""
import argparse
import math
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUTPUT = ROOT / "solver" / "language_tables.cpp"
ALPHABET = "АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЩЬЫЭЮЯ_"
SCALE = 20

# (C++ name, file, lowest count kept). Items below the lowest count score as unseen; the
# letters-only quadgrams are pruned hardest because they serve only texts without gaps.
TABLES = [
    ("kQuadgramsWithGap", "ru_4grams_with_gap.tsv", 1),
    ("kTrigramsWithGap", "ru_3grams_with_gap.tsv", 1),
    ("kQuadgramsLettersOnly", "ru_4grams_letters_only.tsv", 3),
    ("kTrigramsLettersOnly", "ru_3grams_letters_only.tsv", 1),
]
WORDS = ("kWords", "ru_words_train.tsv", 0)  # 0: every word
NAMES = "ru_names_train.tsv"  # spelled apart: how an unlisted name reads
PAIRS = "ru_word_pairs_train.tsv"
# Pairs met fewer times are left to the words' own shares: met twice in two million words says
# more about the books than about Russian (on the development texts they cost more than they gave).
PAIR_LOWEST = 3
PAIR_DISCOUNT = 0.75  # taken off each pair's count and handed to the word's own share
PAIR_SAME = 1  # levels within which a listed pair says nothing its word does not
PAIR_OFFSET = 500  # pair levels may be positive: the table holds PAIR_OFFSET - level
ENDING_PRIOR = 5  # pairs' worth of the overall share of last letters, after a one-letter word
ENDS_PRIOR = 20  # the same for the last two letters of the second word after any other
ENDS_LOWEST = 3  # pairs of endings met fewer times say nothing


def encode(item):
    return "".join(chr(0x60 + ALPHABET.index(c)) for c in item)


def read_counts(path):
    lines = path.read_text(encoding="utf-8").splitlines()
    header = lines[0]
    rows = []
    for line in lines[1:]:
        item, count = line.split("\t")
        rows.append((item, int(count)))
    return header, rows


def header_total(header, key):
    for field in header.split():
        if field.startswith(key + "="):
            return int(field[len(key) + 1:])
    raise SystemExit(f"no {key}= in header: {header}")


def level(count, total):
    return round(-SCALE * math.log10(count / total))


def front_coded(items):
    """Sorted items, each as one byte "A" + the length it shares with the one before, then the
    rest of it."""
    out = []
    previous = ""
    for item in sorted(items):
        shared = 0
        while shared < min(len(item), len(previous), 25) and item[shared] == previous[shared]:
            shared += 1
        out.append(chr(ord("A") + shared) + item[shared:])
        previous = item
    return "".join(out)


def table_text(rows, total):
    groups = {}
    for item, count in rows:
        groups.setdefault(level(count, total), []).append(encode(item))
    return "".join(f"{lv:03d}" + front_coded(items) + "\n" for lv, items in sorted(groups.items()))


def beginnings(word):
    """A word less its last one to three letters, four letters at least."""
    return [word[:-cut] for cut in (1, 2, 3) if len(word) - cut >= 4]


def pair_text(pair_rows, word_rows, tokens):
    """How much likelier a word is after a given one than alone, by absolute discounting over
    the word pairs of the training split: P(b | a) = max(n(a b) - D, 0) / n(a) + r(a) * P(b),
    n(a) the tokens of a, r(a) what the discounted pairs of a leave over (the pairs met fewer than
    PAIR_LOWEST times are not counted, so their whole mass is left over). Items "a_b" hold log P(b | a) / P(b) of a
    listed pair, items "a" log r(a), the same for any pair a begins that is not listed, and items
    "a__x" the same of an unlisted pair whose second word ends in x, items "xy___zw" what the
    last two letters of both words add to any unlisted pair, and items "a____g" log P(g | a) /
    P(g) of the words beginning with g, for an unlisted pair whose second word begins so. A listed
    pair within a rounding step of what its word would get unlisted is left out."""
    count = dict(word_rows)
    pairs = {}
    for item, n in pair_rows:
        a, b = item.split(" ")
        if n >= PAIR_LOWEST:
            pairs[(a, b)] = n
    left = {}
    for (a, _), n in pairs.items():
        left[a] = left.get(a, 0) + n - PAIR_DISCOUNT
    rest = {a: 1 - kept / count[a] for a, kept in left.items()}
    groups = {}

    def stored(ratio):
        return PAIR_OFFSET - round(SCALE * math.log10(ratio))

    def put(item, ratio):
        groups.setdefault(stored(ratio), []).append(encode(item))

    # After a word of one letter (К, В, Я ...) the next word's ending follows the case or person
    # it asks for: the word's share is weighed by how much likelier its last letter is there.
    last, last_after, begun = {}, {}, {}
    for (a, b), n in pairs.items():
        last[b[-1]] = last.get(b[-1], 0) + n
        last_after[(a, b[-1])] = last_after.get((a, b[-1]), 0) + n
        begun[a] = begun.get(a, 0) + n
    all_last = sum(last.values())

    def ending(a, x):
        if len(a) > 1:
            return 1.0
        p = last[x] / all_last
        return (last_after.get((a, x), 0) + ENDING_PRIOR * p) / (begun[a] + ENDING_PRIOR) / p

    # Any other unlisted pair: the first word's last two letters ask for the second's (КО
    # ВЗАИМНОМУ УДОВОЛЬСТВИЮ, not -ИЯ): items "xy___zw" hold how much likelier a second word
    # ending in zw is after a word ending in xy than after any word, over the listed pairs.
    ends, ends_first, ends_second = {}, {}, {}
    for (a, b), n in pairs.items():
        if len(a) > 1:
            ea, eb = a[-2:], b[-2:]
            ends[(ea, eb)] = ends.get((ea, eb), 0) + n
            ends_first[ea] = ends_first.get(ea, 0) + n
            ends_second[eb] = ends_second.get(eb, 0) + n
    all_second = sum(ends_second.values())
    for (ea, eb), n in ends.items():
        p = ends_second[eb] / all_second
        ratio = (n + ENDS_PRIOR * p) / (ends_first[ea] + ENDS_PRIOR) / p
        if n >= ENDS_LOWEST and abs(stored(ratio) - stored(1.0)) > PAIR_SAME:
            put(ea + "___" + eb, ratio)

    for a, r in rest.items():
        put(a, r)
        if len(a) == 1:
            for x in last:
                put(a + "__" + x, r * ending(a, x))
    # The second word of an unlisted pair is often another form of a listed pair's (ИЗ КАРЕТ
    # beside ИЗ КАРЕТЫ): items "a____g" hold how much likelier any word beginning with g is after
    # a than alone, over the listed pairs whose second word begins so (g: the word less its last
    # one to three letters, as the stems are). The scorer prefers them to the endings' items but
    # after a one-letter word multiplies the two: the case shows in the ending whatever the word.
    in_stems, stems_of = {}, {}
    for w, n in word_rows:
        for g in beginnings(w):
            in_stems[g] = in_stems.get(g, 0) + n
    for (a, b), n in pairs.items():
        for g in beginnings(b):
            stems_of[(a, g)] = stems_of.get((a, g), 0) + n
    for (a, g), n in stems_of.items():
        p = in_stems[g] / tokens
        ratio = ((n - PAIR_DISCOUNT) / count[a] + rest[a] * p) / p
        if abs(stored(ratio) - stored(rest[a])) > PAIR_SAME:
            put(a + "____" + g, ratio)

    for (a, b), n in pairs.items():
        p = count[b] / tokens
        lower = rest[a] * ending(a, b[-1])
        ratio = ((n - PAIR_DISCOUNT) / count[a] + lower * p) / p
        if abs(stored(ratio) - stored(lower)) > PAIR_SAME:
            put(a + "_" + b, ratio)
    return "".join(f"{lv:03d}" + front_coded(items) + "\n" for lv, items in sorted(groups.items()))


def cpp_string(name, text, total=None):
    # Long literals are split into lines; adjacent literals join at compile time.
    out = ([] if total is None else [f"// total={total}"]) + [f"extern const char {name}[] ="]
    for line in text.splitlines(keepends=True):
        for i in range(0, len(line), 96):
            chunk = line[i:i + 96].replace("\n", "\\n")
            out.append(f'    "{chunk}"')
    out[-1] += ";"
    if total is not None:
        out.append(f"extern const long long {name}Total = {total};")
    return "\n".join(out) + "\n"


def generate(data):
    parts = [
        "// Generated by solver/make_tables.py from the count files of the Russian language data",
        "// (training split: 23 public-domain works of Tolstoy, Dostoevsky, Turgenev and Gogol, repository",
        "// ginic/RussianNovels, commit 4664d2fb; derived counts of public-domain text).",
        "// Do not edit: run python3 solver/make_tables.py.",
        '#include "solver/language_tables.h"',
        "",
        "namespace zam::solver {",
        "",
    ]
    for name, file, lowest in TABLES:
        header, rows = read_counts(data / file)
        total = header_total(header, "total")
        kept = [(i, c) for i, c in rows if c >= lowest]
        parts.append(cpp_string(name, table_text(kept, total), total))
    _, rows = read_counts(data / "ru_1grams_with_gap.tsv")
    order = encode("".join(item for item, _ in rows))
    parts.append(f'extern const char kSymbolsByFrequency[] = "{order}";\n')
    name, file, keep = WORDS
    _, rows = read_counts(data / file)
    # Word shares are of every token of the training text, not only of the listed words.
    with open(data / "ru_words_train.tsv", encoding="utf-8") as train:
        tokens = header_total(train.readline(), "tokens")
    parts.append(cpp_string(name, table_text(rows[:keep] if keep else rows, tokens), tokens))
    _, name_rows = read_counts(data / NAMES)
    parts.append(cpp_string("kNames", table_text(name_rows, tokens)))
    _, pair_rows = read_counts(data / PAIRS)
    parts.append(cpp_string("kWordPairs", pair_text(pair_rows, rows, tokens)))
    parts.append(f"extern const int kWordPairOffset = {PAIR_OFFSET};\n")
    parts.append("}  // namespace zam::solver\n")
    return "\n".join(parts)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--data", type=pathlib.Path,
                        default=ROOT.parent / "shared" / "data" / "russian")
    parser.add_argument("--check", action="store_true",
                        help="compare with the file in the tree instead of writing it")
    args = parser.parse_args()
    text = generate(args.data)
    if args.check:
        if OUTPUT.read_text(encoding="ascii") != text:
            print(f"{OUTPUT} differs from what the data gives", file=sys.stderr)
            return 1
        print("tables up to date")
        return 0
    OUTPUT.write_text(text, encoding="ascii")
    print(f"wrote {OUTPUT} ({len(text)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
