#include "config/crypt.h"

#include "common/regional.h"
#include "config/config_error.h"

#include <QRandomGenerator>

#include <iterator>

namespace {

constexpr char16_t kKey[]
    = u"QW7ERT2YUP4ASD8FGHZX6CVBN1MLKP0OIUY5TREW3QAZX9SWEDCVF2RTGBNHY7UJMKI8OLP1QAWS3E DRF4TGYH6UJI9KO";
constexpr int kKeyLen = int(std::size(kKey)) - 1;
static_assert(kKeyLen == 94);

// Positions run 1..kKeyLen and then start again at 1.
int nextKeyPos(int keyPos)
{
    return keyPos < kKeyLen ? keyPos + 1 : 1;
}

int keyCode(int keyPos)
{
    return int(kKey[keyPos - 1]);
}

void appendHex(QString &dest, int value)
{
    dest += QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}

// Exactly two hexadecimal digits at pos; a short or foreign piece is an error
// naming the piece, as a failed number conversion does.
int hexPair(const QString &src, qsizetype pos)
{
    const QString piece = src.mid(pos, 2);
    const int high = piece.size() == 2 ? hexDigit(piece.at(0)) : -1;
    const int low = piece.size() == 2 ? hexDigit(piece.at(1)) : -1;
    if (high < 0 || low < 0)
        throw ConfigError(notAValueText(piece, ValueKind::Integer));
    return high * 16 + low;
}

QString encipher(const QString &src, int offset)
{
    QString dest;
    dest.reserve(2 + 2 * src.size());
    appendHex(dest, offset);
    int keyPos = 0;
    for (const QChar c : src) {
        int srcAsc = (int(c.unicode()) + offset) % 255;
        keyPos = nextKeyPos(keyPos);
        srcAsc ^= keyCode(keyPos);
        appendHex(dest, srcAsc);
        offset = srcAsc;
    }
    return dest;
}

QString decipher(const QString &src)
{
    int offset = hexPair(src, 0);
    QString dest;
    dest.reserve(src.size() / 2);
    int keyPos = 0;
    // A lone digit at the end is reported rather than dropped: the line was
    // cut or damaged, and a shortened value must not pass as the right one.
    qsizetype pos = 2;
    do {
        const int srcAsc = hexPair(src, pos);
        keyPos = nextKeyPos(keyPos);
        int tmp = srcAsc ^ keyCode(keyPos);
        if (tmp <= offset)
            tmp += 255 - offset;
        else
            tmp -= offset;
        dest += QChar(char16_t(tmp));
        offset = srcAsc;
        pos += 2;
    } while (pos < src.size());
    return dest;
}

} // namespace

QString Crypt(const QString &action, const QString &src)
{
    // Only encipherment needs the random offset; draw it only then.
    if (action == QLatin1String("C") && !src.isEmpty())
        return Crypt(action, src, quint8(QRandomGenerator::global()->bounded(256)));
    return Crypt(action, src, 0);
}

QString Crypt(const QString &action, const QString &src, quint8 offset)
{
    if (src.isEmpty())
        return {};
    if (action == QLatin1String("C"))
        return encipher(src, offset);
    if (action == QLatin1String("D"))
        return decipher(src);
    return {};
}

QString cryptKey()
{
    return QString::fromUtf16(kKey, kKeyLen);
}
