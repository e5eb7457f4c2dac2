// CSV files come from spreadsheets and scripts. Whatever the bytes and delimiter, an
// import must not crash or allocate without bound, a failed import leaves the store as
// it was, and an imported table exports and imports again to the same cells.
#include "NVO_replist.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <cstdlib>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

QStringList Cells(const nvo::TRLData &d)
{
    QStringList all = {QString::number(d.GetNrOfColumns()), QString::number(d.GetNrOfRows()), d.GetCommonHeader()};
    for (int col = 1; col <= d.GetNrOfColumns(); ++col)
        all << d.GetColName(col);
    for (int row = 1; row <= d.GetNrOfRows(); ++row)
        for (int col = 1; col <= d.GetNrOfColumns(); ++col)
            all << d.GetElem(col, row);
    return all;
}

QTemporaryDir *Dir()
{
    static QTemporaryDir dir;
    return &dir;
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Require(file.write(bytes) == bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // First byte: delimiter (low bits) and whether the first line holds column names.
    if (size < 1)
        return 0;
    const auto delimiter = nvo::TCSVDelimiters(data[0] % 6);
    const bool headers = data[0] & 0x80;
    const QString in = Dir()->filePath(QStringLiteral("in.csv"));
    WriteFile(in, QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)));

    nvo::TRLData store;
    store.SetNrCols(2);
    store.SetNrRows(1);
    store.SetElem(2, 1, QStringLiteral("before"));
    const QStringList before = Cells(store);
    const int status = store.ImportCSV(in, delimiter, headers);
    if (status < 0) {
        Require(Cells(store) == before);
        return 0;
    }
    // Names are cut to 50 characters on import; a second round must change nothing more.
    const QString out = Dir()->filePath(QStringLiteral("out.csv"));
    Require(store.ExportCSV(out, delimiter, true, true, 1, 1, store.GetNrOfColumns(), store.GetNrOfRows())
            == store.GetNrOfRows());
    nvo::TRLData again;
    Require(again.ImportCSV(out, delimiter, true) == 0);
    Require(Cells(again) == Cells(store));
    return 0;
}
