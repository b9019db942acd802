// Runs a fuzz target once on each file named, or on each file of each folder
// named: the targets' corpora in the ordinary build, where no fuzzing engine
// is linked, and a finding replayed under a debugger.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

bool runOne(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    LLVMFuzzerTestOneInput(
        reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size()));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (LLVMFuzzerInitialize(&argc, &argv) != 0)
        return 1;
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const QString name = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(name).isDir()) {
            QDirIterator it(name, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                if (!runOne(it.next()))
                    return 1;
                ++inputs;
            }
        } else {
            if (!runOne(name))
                return 1;
            ++inputs;
        }
    }
    std::printf("%d inputs run\n", inputs);
    return inputs > 0 ? 0 : 1;
}
