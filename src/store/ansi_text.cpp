#include "store/ansi_text.h"

namespace {

// Characters code page 1252 holds in 0x80..0x9F besides the five code points
// Windows maps to themselves (0x81, 0x8D, 0x8F, 0x90, 0x9D).
constexpr char32_t kHighCp1252[] = {
    0x20AC,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x017D,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x017E,
    0x0178,
};

bool inCp1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return true;
    if (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D)
        return true;
    for (char32_t h : kHighCp1252) {
        if (h == c)
            return true;
    }
    return false;
}

} // namespace

QString toAnsiText(const QString &text, int maxChars)
{
    const qsizetype size = text.size();
    bool plain = maxChars <= 0 || size <= maxChars;
    for (qsizetype i = 0; plain && i < size; ++i) {
        const char16_t c = text[i].unicode();
        plain = c != 0 && c < 0x80;
    }
    if (plain)
        return text; // the common case costs no copy

    QString out;
    out.reserve(size);
    int count = 0;
    for (qsizetype i = 0; i < size; ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < size && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        if (c == 0 || (maxChars > 0 && count == maxChars))
            break;
        out.append(inCp1252(c) ? QChar(char16_t(c)) : QChar(u'?'));
        ++count;
    }
    return out;
}
