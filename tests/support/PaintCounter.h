#pragma once

#include <QtCore/QEvent>
#include <QtCore/QObject>
#include <QtWidgets/QWidget>

namespace nvo::test {

/// Counts the paint events a widget receives, to show that a setter repaints once
/// for a change and not at all for an equal value.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int Count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        Count += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace nvo::test
