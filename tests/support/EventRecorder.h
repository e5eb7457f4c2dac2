#pragma once

#include <QtCore/QString>
#include <QtCore/QStringList>

namespace nvo::test {

/// Collects the events a control raises, in order, as short texts ("OnChange",
/// "OnOverFlow 12.5"), so that a test can compare the whole sequence at once.
class EventRecorder
{
public:
    void Record(const QString &event) { FEvents << event; }
    auto Recorder(const QString &event)
    {
        return [this, event](auto &&...) { Record(event); };
    }
    const QStringList &Events() const { return FEvents; }
    int Count(const QString &event) const { return int(FEvents.count(event)); }
    void Clear() { FEvents.clear(); }

private:
    QStringList FEvents;
};

} // namespace nvo::test
