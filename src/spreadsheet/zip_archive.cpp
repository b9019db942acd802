#include "spreadsheet/zip_archive.h"

#include "spreadsheet/spreadsheet_error.h"

#include <QDir>
#include <QFile>

#include <unzip.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// minizip reads through a QIODevice: the file's bytes, read through QFile,
// so that any path Qt can open works, whatever the system's encoding of
// file names.
QIODevice *device(voidpf opaque)
{
    return static_cast<QIODevice *>(opaque);
}

voidpf ZCALLBACK openDevice(voidpf opaque, const void *, int)
{
    return opaque;
}

uLong ZCALLBACK readDevice(voidpf opaque, voidpf, void *buf, uLong size)
{
    const qint64 n = device(opaque)->read(static_cast<char *>(buf), qint64(size));
    return n < 0 ? 0 : uLong(n);
}

uLong ZCALLBACK writeDevice(voidpf, voidpf, const void *, uLong)
{
    return 0;
}

ZPOS64_T ZCALLBACK tellDevice(voidpf opaque, voidpf)
{
    return ZPOS64_T(device(opaque)->pos());
}

long ZCALLBACK seekDevice(voidpf opaque, voidpf, ZPOS64_T offset, int origin)
{
    QIODevice *d = device(opaque);
    qint64 base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = d->pos();
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = d->size();
    // Outside the file is an error of the zip, not a place to go.
    const qint64 target = base + qint64(offset);
    if (target < 0 || target > d->size())
        return -1;
    return d->seek(target) ? 0 : -1;
}

int ZCALLBACK closeDevice(voidpf, voidpf)
{
    return 0;
}

int ZCALLBACK errorDevice(voidpf, voidpf)
{
    return 0;
}

unzFile handle(void *zip)
{
    return static_cast<unzFile>(zip);
}

} // namespace

ZipArchive::ZipArchive(const QString &path, const XlsxLimits &limits)
    : m_path(path)
    , m_limits(limits)
{
    QFile file(path);
    if (!file.exists())
        fail(u"o arquivo não existe"_s);
    if (!file.open(QIODevice::ReadOnly))
        fail(u"o arquivo não pôde ser aberto (%1)"_s.arg(file.errorString()));
    // No workbook within the limits is larger than what it may unpack; a
    // device that never ends is cut there too.
    char chunk[1 << 16];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0)
            fail(u"o arquivo não pôde ser lido (%1)"_s.arg(file.errorString()));
        if (n == 0)
            break;
        if (m_bytes.size() + n > m_limits.maxTotalSize)
            fail(u"o arquivo passa de %1 bytes"_s.arg(m_limits.maxTotalSize));
        m_bytes.append(chunk, n);
    }
    file.close();
    m_device.setBuffer(&m_bytes);
    m_device.open(QIODevice::ReadOnly);
    zlib_filefunc64_def io {};
    io.zopen64_file = openDevice;
    io.zread_file = readDevice;
    io.zwrite_file = writeDevice;
    io.ztell64_file = tellDevice;
    io.zseek64_file = seekDevice;
    io.zclose_file = closeDevice;
    io.zerror_file = errorDevice;
    io.opaque = &m_device;
    m_zip.reset(unzOpen2_64("workbook", &io));
    if (!m_zip)
        fail(u"o arquivo não é uma pasta de trabalho .xlsx (não é um arquivo zip válido)"_s);
    listEntries();
}

void ZipArchive::ZipCloser::operator()(void *zip) const
{
    unzClose(handle(zip));
}

QString ZipArchive::failure(const QString &reason) const
{
    return u"Não foi possível ler a planilha \"%1\": %2."_s.arg(QDir::toNativeSeparators(m_path), reason);
}

void ZipArchive::fail(const QString &reason) const
{
    throw SpreadsheetError(failure(reason));
}

void ZipArchive::listEntries()
{
    int status = unzGoToFirstFile(handle(zip()));
    while (status == UNZ_OK) {
        if (m_entries.size() >= m_limits.maxEntries)
            fail(u"o arquivo zip tem mais de %1 arquivos internos"_s.arg(m_limits.maxEntries));
        char name[512];
        unz_file_info64 info {};
        if (unzGetCurrentFileInfo64(handle(zip()), &info, name, sizeof name, nullptr, 0, nullptr, 0)
            != UNZ_OK)
            break;
        unz64_file_pos pos {};
        unzGetFilePos64(handle(zip()), &pos);
        const QString entryName
            = QString::fromUtf8(name, qsizetype(std::min<uLong>(info.size_filename, sizeof name - 1)));
        m_entries.insert(entryName.toLower(), Entry { pos.pos_in_zip_directory, pos.num_of_file, entryName });
        status = unzGoToNextFile(handle(zip()));
    }
    if (status != UNZ_END_OF_LIST_OF_FILE)
        fail(u"o índice do arquivo zip está danificado"_s);
}

bool ZipArchive::contains(const QString &name) const
{
    return m_entries.contains(name.toLower());
}

QByteArray ZipArchive::read(const QString &name)
{
    const auto it = m_entries.constFind(name.toLower());
    if (it == m_entries.cend())
        fail(u"falta a parte \"%1\" (o arquivo não é uma pasta de trabalho completa)"_s.arg(name));
    const QString part = it->name;
    unz64_file_pos pos { it->position, it->directoryIndex };
    unz_file_info64 info {};
    if (unzGoToFilePos64(handle(zip()), &pos) != UNZ_OK
        || unzGetCurrentFileInfo64(handle(zip()), &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        fail(u"a parte \"%1\" está danificada"_s.arg(part));
    if (info.flag & 1)
        fail(u"a parte \"%1\" está protegida por senha"_s.arg(part));
    if (unzOpenCurrentFile(handle(zip())) != UNZ_OK)
        fail(u"a parte \"%1\" não pôde ser descompactada"_s.arg(part));
    const auto closeCurrent = [this] { return unzCloseCurrentFile(handle(zip())); };

    // The sizes the zip declares are not trusted: what is inflated is
    // counted as it comes.
    const qint64 compressed = std::max<qint64>(qint64(info.compressed_size), 1);
    QByteArray bytes;
    char buffer[1 << 16];
    for (;;) {
        const int n = unzReadCurrentFile(handle(zip()), buffer, sizeof buffer);
        if (n < 0) {
            closeCurrent();
            fail(u"a parte \"%1\" está danificada"_s.arg(part));
        }
        if (n == 0)
            break;
        m_totalRead += n;
        const qint64 inflated = bytes.size() + n;
        QString problem;
        if (inflated > m_limits.maxPartSize)
            problem = u"a parte \"%1\" passa de %2 bytes descompactada"_s.arg(part).arg(m_limits.maxPartSize);
        else if (m_totalRead > m_limits.maxTotalSize)
            problem = u"o conteúdo passa de %1 bytes descompactado"_s.arg(m_limits.maxTotalSize);
        else if (inflated > m_limits.ratioFloor && inflated / compressed > m_limits.maxRatio)
            problem = u"a parte \"%1\" tem taxa de compressão suspeita (mais de %2 para 1)"_s.arg(part).arg(
                m_limits.maxRatio);
        if (!problem.isEmpty()) {
            closeCurrent();
            fail(problem);
        }
        bytes.append(buffer, n);
    }
    if (closeCurrent() != UNZ_OK)
        fail(u"a parte \"%1\" está danificada (falha na verificação)"_s.arg(part));
    return bytes;
}
