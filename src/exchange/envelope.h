#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The lines of a server answer. A line ends at CR LF or at a lone LF; a lone
// CR does not end a line, since the buyer's server sends carriage returns
// inside application texts. A final line break does not start an empty last
// line, and a line is read up to its first 4096 characters.
class AnswerLines final {
public:
    static constexpr qsizetype MaxLineLength = 4096;

    explicit AnswerLines(const QString &answer);

    qsizetype count() const { return m_lines.size(); }
    // The line at index, or an empty text past the last line.
    QString line(qsizetype index) const;
    const QStringList &lines() const { return m_lines; }

    // For an item script: every line but the last is an item line, and the
    // last is the status line (line 0 of an answer of fewer than two lines,
    // empty when there is none).
    QStringList itemLines() const { return m_lines.mid(0, qMax<qsizetype>(0, count() - 1)); }
    QString statusLine() const { return line(count() >= 2 ? count() - 1 : 0); }

private:
    QStringList m_lines;
};

// Cuts a text into fields at a separator. Every separator gives a field
// boundary, fields are neither trimmed nor unquoted, and the empty text gives
// one empty field. With a separator longer than one character only its first
// character is consumed at a match.
QStringList splitt(const QString &text, const QString &separator);

// True when the answer reports an error or refusal: its first character is "*".
bool isRefusal(const QString &answer);

// The fields of a record line cut at "|", or nothing for a line whose first
// field is blank (no record). Fewer than needed fields throw ConversionError.
std::optional<QStringList> recordFields(const QString &line, int needed);
