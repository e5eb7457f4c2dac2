// Report list XML comes from files anyone can edit. Whatever the bytes, a read must
// not crash or allocate without bound; a failed read leaves the store exactly as it
// was, and a list that was read writes back and reads again to the same content.
#include "NVO_replist.h"

#include <QtCore/QBuffer>
#include <QtCore/QCoreApplication>

#include <cstdlib>

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

QStringList Snapshot(const nvo::TRLData &d)
{
    QStringList all = {QString::number(d.GetNrOfColumns()), QString::number(d.GetNrOfRows()),
                       d.GetComment(), d.GetCommonHeader(), d.GetDataID()};
    for (int col = 1; col <= d.GetNrOfColumns(); ++col)
        all << d.GetColName(col) << d.GetColumnFormat(col) << QString::number(d.GetColCheckMode(col));
    for (int row = 1; row <= d.GetNrOfRows(); ++row)
        for (int col = 0; col <= d.GetNrOfColumns(); ++col)
            all << d.Strings().GetString(col, row);
    return all;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte chooses the identifier asked for: any list, "a" or "b".
    if (size < 1)
        return 0;
    const QString id = data[0] % 3 == 0 ? QString() : QString(QChar(u'a' + data[0] % 3 - 1));
    QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    nvo::TRLData store;
    store.SetNrCols(2);
    store.SetNrRows(2);
    store.SetElem(1, 1, QStringLiteral("before"));
    store.SetColCheckMode(2, nvo::TRLData::cmRadio);
    const QStringList before = Snapshot(store);

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    if (!store.ReadFromXMLStream(buffer, id)) {
        Require(Snapshot(store) == before);
        return 0;
    }
    Require(store.GetNrOfColumns() >= 1 && store.GetNrOfRows() >= 0);
    QByteArray written;
    QBuffer out(&written);
    out.open(QIODevice::WriteOnly);
    store.WriteToXMLStream(out, true, store.GetDataID());
    nvo::TRLData again;
    Require(again.ReadFromXMLString(QString::fromUtf8(written), store.GetDataID()));
    Require(Snapshot(again) == Snapshot(store));
    return 0;
}
