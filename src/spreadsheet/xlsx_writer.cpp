#include "spreadsheet/xlsx_writer.h"

#include "spreadsheet/cell_reference.h"
#include "spreadsheet/sheet_limits.h"
#include "spreadsheet/spreadsheet_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <xlsxwriter.h>

#include <cmath>
#include <exception>

using namespace Qt::StringLiterals;

namespace {

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A file name as libxlsxwriter takes it. Our Windows build of the library
// reads names as UTF-8 and opens them with wide calls, so that a folder such
// as a user's temporary folder may be named beyond the ANSI code page.
QByteArray libraryFileName(const QString &path)
{
#ifdef Q_OS_WIN
    return nativePath(path).toUtf8();
#else
    return QFile::encodeName(path);
#endif
}

SpreadsheetError writeFailure(const QString &path, const QString &reason)
{
    return SpreadsheetError(
        u"Não foi possível gravar a planilha \"%1\": %2."_s.arg(nativePath(path), reason));
}

} // namespace

XlsxWriter::XlsxWriter(const QString &path, const QString &sheetName)
    : m_path(path)
    , m_uncaught(std::uncaught_exceptions())
{
    m_tempDir = std::make_unique<QTemporaryDir>();
    if (!m_tempDir->isValid())
        throw writeFailure(path, u"a pasta temporária não pôde ser criada"_s);
    m_tempPath = m_tempDir->filePath(u"workbook.xlsx"_s);
    const QByteArray tempName = libraryFileName(m_tempPath);
    const QByteArray tempDir = libraryFileName(m_tempDir->path());
    lxw_workbook_options options {};
    options.tmpdir = const_cast<char *>(tempDir.constData()); // only read
    m_workbook = workbook_new_opt(tempName.constData(), &options);
    if (!m_workbook)
        throw writeFailure(path, u"a planilha não pôde ser iniciada"_s);
    const QByteArray name = sheetName.toUtf8();
    if (!sheetName.isEmpty() && workbook_validate_sheet_name(m_workbook, name.constData()) != LXW_NO_ERROR) {
        discard();
        throw SpreadsheetError(u"Nome de aba inválido: \"%1\"."_s.arg(sheetName));
    }
    m_sheet = workbook_add_worksheet(m_workbook, sheetName.isEmpty() ? nullptr : name.constData());
    if (!m_sheet) {
        discard();
        throw writeFailure(path, u"a aba não pôde ser criada"_s);
    }
}

XlsxWriter::~XlsxWriter()
{
    if (!m_workbook)
        return;
    if (std::uncaught_exceptions() > m_uncaught) {
        discard();
        return;
    }
    try {
        close();
    } catch (const std::exception &) {
        // Nobody is left to hear it; the target stays as it was.
    }
}

void XlsxWriter::requireOpen() const
{
    if (!m_workbook)
        throw writeFailure(m_path, u"a planilha já foi fechada"_s);
}

void XlsxWriter::checkCell(int error, int row, int col) const
{
    if (error == LXW_NO_ERROR)
        return;
    if (error == LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE || row < 0 || col < 0)
        throw writeFailure(
            m_path, u"a célula da linha %1, coluna %2 está fora da planilha"_s.arg(row + 1).arg(col + 1));
    if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
        throw writeFailure(m_path,
            u"o texto da célula %1 passa de %2 caracteres"_s.arg(cellName(row, col))
                .arg(SheetLimits::MaxTextLength));
    throw writeFailure(m_path, u"a célula %1 não pôde ser escrita"_s.arg(cellName(row, col)));
}

void XlsxWriter::writeText(int row, int col, const QString &text)
{
    requireOpen();
    if (row < 0 || col < 0)
        checkCell(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE, row, col);
    if (text.isEmpty())
        return;
    if (text.size() > SheetLimits::MaxTextLength)
        checkCell(LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED, row, col);
    const QByteArray utf8 = text.toUtf8();
    checkCell(
        worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(col), utf8.constData(), nullptr), row, col);
}

void XlsxWriter::writeNumber(int row, int col, double value)
{
    writeNumber(row, col, value, QString());
}

void XlsxWriter::writeNumber(int row, int col, double value, const QString &numberFormat)
{
    requireOpen();
    if (row < 0 || col < 0)
        checkCell(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE, row, col);
    if (!std::isfinite(value))
        throw writeFailure(m_path, u"a célula %1 recebeu um número inválido"_s.arg(cellName(row, col)));
    lxw_format *format = nullptr;
    if (!numberFormat.isEmpty()) {
        lxw_format *&cached = m_numberFormats[numberFormat];
        if (!cached) {
            cached = workbook_add_format(m_workbook);
            if (!cached)
                throw writeFailure(m_path, u"o formato \"%1\" não pôde ser criado"_s.arg(numberFormat));
            format_set_num_format(cached, numberFormat.toUtf8().constData());
        }
        format = cached;
    }
    checkCell(worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(col), value, format), row, col);
}

void XlsxWriter::setColumnWidth(int col, double characters)
{
    requireOpen();
    if (col < 0 || !std::isfinite(characters) || characters < 0)
        throw writeFailure(m_path, u"largura inválida para a coluna %1"_s.arg(col + 1));
    checkCell(worksheet_set_column(m_sheet, lxw_col_t(col), lxw_col_t(col), characters, nullptr), 0, col);
}

void XlsxWriter::close()
{
    if (!m_workbook)
        return;
    lxw_workbook *workbook = m_workbook;
    m_workbook = nullptr;
    m_sheet = nullptr;
    m_numberFormats.clear();
    const lxw_error error = workbook_close(workbook); // frees it in every case
    if (error != LXW_NO_ERROR) {
        m_tempDir.reset();
        throw writeFailure(
            m_path, u"falha ao montar o arquivo (%1)"_s.arg(QString::fromUtf8(lxw_strerror(error))));
    }
    copyToTarget();
    m_tempDir.reset();
}

void XlsxWriter::copyToTarget() const
{
    const QFileInfo target(m_path);
    const QDir folder = target.absoluteDir();
    if (!folder.exists())
        throw writeFailure(m_path, u"a pasta \"%1\" não existe"_s.arg(nativePath(folder.path())));
    if (target.isDir())
        throw writeFailure(m_path, u"já existe uma pasta com esse nome"_s);
    QFile built(m_tempPath);
    if (!built.open(QIODevice::ReadOnly))
        throw writeFailure(m_path, u"o arquivo temporário não pôde ser lido"_s);
    // QSaveFile replaces the target only on commit: a full disk or a refused
    // write leaves the former file in place.
    QSaveFile out(m_path);
    if (!out.open(QIODevice::WriteOnly))
        throw writeFailure(m_path, u"sem permissão para gravar (%1)"_s.arg(out.errorString()));
    while (!built.atEnd()) {
        const QByteArray chunk = built.read(1 << 20);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            throw writeFailure(
                m_path, u"falha na gravação, o disco pode estar cheio (%1)"_s.arg(out.errorString()));
        }
    }
    if (!out.commit())
        throw writeFailure(m_path,
            u"o arquivo não pôde ser substituído; ele pode estar aberto em outro programa (%1)"_s.arg(
                out.errorString()));
}

void XlsxWriter::discard()
{
    if (m_workbook)
        lxw_workbook_free(m_workbook);
    m_workbook = nullptr;
    m_sheet = nullptr;
    m_numberFormats.clear();
    m_tempDir.reset();
}
