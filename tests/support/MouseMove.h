#pragma once

#include <QtCore/QCoreApplication>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QWidget>

namespace nvo::test {

/// Moves the mouse over `widget` to `position` without a button, as a tracking widget
/// sees it. Sent straight to the widget: QTest::mouseMove sends nothing when the
/// pointer already stands at that screen position, as it may after an earlier test.
inline void MoveMouse(QWidget *widget, QPoint position)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(position), QPointF(widget->mapToGlobal(position)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

/// The mouse leaves `widget`.
inline void LeaveWidget(QWidget *widget)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &leave);
}

} // namespace nvo::test
