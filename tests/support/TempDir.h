#pragma once

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

namespace nvo::test {

/// A folder that lives as long as the test, for files a test writes and reads back.
class TempDir
{
public:
    QString Path(const QString &name) const { return FDir.filePath(name); }
    QString Root() const { return FDir.path(); }
    /// Writes `bytes` to `name` and returns the full path.
    QString Write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(Path(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return Path(name);
    }

private:
    QTemporaryDir FDir;
};

} // namespace nvo::test
