#include "store/sql_dates.h"

#include "store/schema.h"

#include <QDateTime>
#include <QLocale>
#include <QSet>

#include <sqlcipher/sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

// Reads up to maxDigits digits at i; -1 when there is none.
int readNumber(const QString &t, qsizetype &i, int maxDigits)
{
    int value = 0;
    int n = 0;
    while (i < t.size() && n < maxDigits && t[i].unicode() >= u'0' && t[i].unicode() <= u'9') {
        value = value * 10 + (t[i].unicode() - u'0');
        ++i;
        ++n;
    }
    return n == 0 ? -1 : value;
}

// The order of day, month and year in a purely numeric short date format
// ("dd/MM/yyyy" → d, M, y), read once per format: QLocale's own parser is
// far too slow for a download that reads a date on every line.
struct NumericDateFormat {
    QString format;
    char order[3] = {0, 0, 0};
    QChar separator;
    bool numeric = false;
};

const NumericDateFormat &numericFormat(const QString &format)
{
    static NumericDateFormat cached;
    if (cached.format == format && !format.isEmpty())
        return cached;
    cached = NumericDateFormat{};
    cached.format = format;
    int fields = 0;
    bool ok = true;
    for (qsizetype i = 0; i < format.size() && ok;) {
        const QChar c = format[i];
        qsizetype n = 1;
        while (i + n < format.size() && format[i + n] == c)
            ++n;
        if (c == u'd' || c == u'M' || c == u'y') {
            ok = fields < 3 && (c == u'y' ? n == 4 : n <= 2);
            if (ok)
                cached.order[fields++] = char(c.unicode());
        } else if (!c.isLetterOrNumber() && n == 1 && c != u'\'') {
            if (cached.separator.isNull())
                cached.separator = c;
            ok = c == cached.separator;
        } else {
            ok = false;
        }
        i += n;
    }
    cached.numeric = ok && fields == 3;
    return cached;
}

QDate parseNumericDate(const QString &t, const NumericDateFormat &f)
{
    int day = -1;
    int month = -1;
    int year = -1;
    qsizetype i = 0;
    for (int k = 0; k < 3; ++k) {
        if (k > 0) {
            if (i >= t.size() || t[i] != f.separator)
                return {};
            ++i;
        }
        const qsizetype start = i;
        const int value = readNumber(t, i, f.order[k] == 'y' ? 4 : 2);
        if (value < 0 || (f.order[k] == 'y' && i - start != 4))
            return {};
        (f.order[k] == 'd' ? day : f.order[k] == 'M' ? month : year) = value;
    }
    return i == t.size() ? QDate(year, month, day) : QDate();
}

bool looksIso(const QString &t)
{
    return t.size() >= 10 && t[4] == u'-' && t[7] == u'-';
}

} // namespace

QDate parseDateText(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    if (looksIso(t)) {
        qsizetype i = 0;
        const int y = readNumber(t, i, 4);
        i = 5;
        const int m = readNumber(t, i, 2);
        i = 8;
        const int d = readNumber(t, i, 2);
        if (t.size() == 10 && y >= 0 && m >= 0 && d >= 0)
            return QDate(y, m, d);
        const QDateTime dt = QDateTime::fromString(t, Qt::ISODateWithMs);
        if (dt.isValid())
            return dt.date();
        const QDate date = QDate::fromString(t, Qt::ISODate);
        if (date.isValid())
            return date;
    }
    const QLocale locale;
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    const NumericDateFormat &numeric = numericFormat(format);
    if (numeric.numeric)
        return parseNumericDate(t, numeric);
    QDate d = locale.toDate(t, QLocale::ShortFormat);
    if (d.isValid())
        return d;
    // Day and month may come with one digit ("5/6/2020").
    QString lenient = format;
    lenient.replace(u"dd"_s, u"d"_s).replace(u"MM"_s, u"M"_s);
    return QDate::fromString(t, lenient);
}

QTime parseTimeText(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    QTime time = QTime::fromString(t, Qt::ISODateWithMs);
    if (time.isValid())
        return time;
    const QDateTime dt = QDateTime::fromString(t, Qt::ISODateWithMs);
    if (dt.isValid())
        return dt.time();
    const QLocale locale;
    for (auto format : {QLocale::ShortFormat, QLocale::LongFormat}) {
        time = locale.toTime(t, format);
        if (time.isValid())
            return time;
    }
    for (const char16_t *format : {u"H:mm:ss", u"H:mm"}) {
        time = QTime::fromString(t, QString::fromUtf16(format));
        if (time.isValid())
            return time;
    }
    return {};
}

namespace {

enum class Tok { Space, Word, Quoted, String, Param, Op, Other };

struct Token {
    Tok kind;
    qsizetype begin;
    qsizetype end;
};

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

qsizetype skipQuoted(const QString &s, qsizetype i, QChar close)
{
    for (++i; i < s.size(); ++i) {
        if (s[i] == close) {
            if (i + 1 < s.size() && s[i + 1] == close && close != u']')
                ++i; // doubled quote inside
            else
                return i + 1;
        }
    }
    return s.size();
}

QList<Token> tokenize(const QString &s)
{
    QList<Token> out;
    qsizetype i = 0;
    while (i < s.size()) {
        const qsizetype b = i;
        const QChar c = s[i];
        Tok kind = Tok::Other;
        if (c.isSpace()) {
            while (i < s.size() && s[i].isSpace())
                ++i;
            kind = Tok::Space;
        } else if (c == u'-' && i + 1 < s.size() && s[i + 1] == u'-') {
            while (i < s.size() && s[i] != u'\n')
                ++i;
            kind = Tok::Space;
        } else if (c == u'/' && i + 1 < s.size() && s[i + 1] == u'*') {
            const qsizetype e = s.indexOf(u"*/"_s, i + 2);
            i = e < 0 ? s.size() : e + 2;
            kind = Tok::Space;
        } else if (c == u'\'') {
            i = skipQuoted(s, i, u'\'');
            kind = Tok::String;
        } else if (c == u'"' || c == u'`' || c == u'[') {
            i = skipQuoted(s, i, c == u'[' ? QChar(u']') : c);
            kind = Tok::Quoted;
        } else if (c == u'?' || ((c == u':' || c == u'@' || c == u'$') && i + 1 < s.size()
                                 && isWordChar(s[i + 1]))) {
            ++i;
            while (i < s.size() && isWordChar(s[i]))
                ++i;
            kind = Tok::Param;
        } else if (isWordChar(c)) {
            while (i < s.size() && isWordChar(s[i]))
                ++i;
            kind = Tok::Word;
        } else if (c == u'=' || c == u'<' || c == u'>' || c == u'!') {
            ++i;
            if (i < s.size() && (s[i] == u'=' || (c == u'<' && s[i] == u'>')))
                ++i;
            kind = Tok::Op;
        } else {
            ++i;
        }
        out.append({kind, b, i});
    }
    return out;
}

bool isComparison(const QString &s, const Token &t)
{
    if (t.kind != Tok::Op)
        return false;
    const QStringView op = QStringView(s).mid(t.begin, t.end - t.begin);
    return op != u"!"; // =, ==, <>, !=, <, <=, >, >=
}

enum class Kind { None, Date, Time };

Kind columnKind(const QString &s, const Token &t)
{
    static const auto names = [] {
        QHash<QString, Kind> map;
        for (const TableSchema &table : storeSchema()) {
            for (const Field &f : table.columns) {
                if (f.type == FieldType::Date)
                    map.insert(f.name.toCaseFolded(), Kind::Date);
                else if (f.type == FieldType::Time)
                    map.insert(f.name.toCaseFolded(), Kind::Time);
            }
        }
        return map;
    }();
    QString name = s.mid(t.begin, t.end - t.begin);
    if (t.kind == Tok::Quoted)
        name = name.mid(1, name.size() - 2);
    else if (t.kind != Tok::Word)
        return Kind::None;
    return names.value(name.toCaseFolded(), Kind::None);
}

// Index of the next (dir=+1) or previous (dir=-1) token that is not blank.
qsizetype neighbour(const QList<Token> &tokens, qsizetype i, int dir)
{
    for (i += dir; i >= 0 && i < tokens.size(); i += dir) {
        if (tokens[i].kind != Tok::Space)
            return i;
    }
    return -1;
}

// The column named right of an operator: "Data" or "C.Data".
qsizetype columnAfter(const QString &s, const QList<Token> &tokens, qsizetype i)
{
    qsizetype name = neighbour(tokens, i, +1);
    while (name >= 0) {
        const qsizetype dot = neighbour(tokens, name, +1);
        if (dot < 0 || tokens[dot].kind != Tok::Other || s[tokens[dot].begin] != u'.')
            return name;
        name = neighbour(tokens, dot, +1);
    }
    return -1;
}

void wrap(Kind kind, qsizetype token, QHash<qsizetype, Kind> &wraps)
{
    if (kind != Kind::None)
        wraps.insert(token, kind);
}

} // namespace

QString rewriteDateComparisons(const QString &sql)
{
    const QList<Token> tokens = tokenize(sql);
    QHash<qsizetype, Kind> wraps; // operand token → how to read it
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (!isComparison(sql, tokens[i]))
            continue;
        const qsizetype left = neighbour(tokens, i, -1);
        const qsizetype right = neighbour(tokens, i, +1);
        if (left < 0 || right < 0)
            continue;
        const auto operand = [&](qsizetype t) {
            return tokens[t].kind == Tok::String || tokens[t].kind == Tok::Param;
        };
        if (operand(right))
            wrap(columnKind(sql, tokens[left]), right, wraps);
        if (operand(left)) {
            const qsizetype column = columnAfter(sql, tokens, i);
            if (column >= 0)
                wrap(columnKind(sql, tokens[column]), left, wraps);
        }
    }
    if (wraps.isEmpty())
        return sql;
    QString out;
    out.reserve(sql.size() + 24 * wraps.size());
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const QStringView text = QStringView(sql).mid(tokens[i].begin, tokens[i].end - tokens[i].begin);
        const auto it = wraps.constFind(i);
        if (it == wraps.cend()) {
            out += text;
            continue;
        }
        out += *it == Kind::Date ? u"kelvo_date(" : u"kelvo_time(";
        out += text;
        out += u')';
    }
    return out;
}

namespace {

void readAs(sqlite3_context *ctx, sqlite3_value *arg, bool date)
{
    if (sqlite3_value_type(arg) != SQLITE_TEXT) {
        sqlite3_result_value(ctx, arg);
        return;
    }
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_value_text(arg));
    const QString text = QString::fromUtf8(bytes, sqlite3_value_bytes(arg));
    QByteArray iso;
    if (date) {
        const QDate d = parseDateText(text);
        if (d.isValid())
            iso = d.toString(Qt::ISODate).toUtf8();
    } else {
        const QTime t = parseTimeText(text);
        if (t.isValid())
            iso = t.toString(u"HH:mm:ss"_s).toUtf8();
    }
    if (iso.isEmpty()) {
        const QString message = date ? u"'%1' is not a valid date"_s : u"'%1' is not a valid time"_s;
        const QByteArray utf8 = message.arg(text).toUtf8();
        sqlite3_result_error(ctx, utf8.constData(), int(utf8.size()));
        return;
    }
    sqlite3_result_text(ctx, iso.constData(), int(iso.size()), SQLITE_TRANSIENT);
}

void dateFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    readAs(ctx, argv[0], true);
}

void timeFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    readAs(ctx, argv[0], false);
}

} // namespace

void registerDateFunctions(sqlite3 *db)
{
    // Deterministic within one run of a statement, so a constant operand is read once.
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "kelvo_date", 1, flags, nullptr, dateFunction, nullptr, nullptr);
    sqlite3_create_function(db, "kelvo_time", 1, flags, nullptr, timeFunction, nullptr, nullptr);
}
