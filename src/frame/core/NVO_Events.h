#pragma once

// The event types the controls and containers share. Events are std::function members
// named as the event (OnChange, ...), with the sender first; a control fires one only
// when the application assigned it.

#include <QtCore/QString>
#include <QtCore/Qt>

#include <functional>

class QObject;

namespace nvo {

/// A plain notification: only the sender.
using TNotifyEvent = std::function<void(QObject *Sender)>;
/// Progress of a long operation, 0..100.
using TOnPercentDoneEvent = std::function<void(QObject *Sender, int Percent)>;
/// Raised by a container while it sorts, before two entries are exchanged: a text and
/// a text the handler may change.
using TBeforeSortExchgEvent = std::function<void(QObject *Sender, const QString &Text,
                                                 QString &ExchgText)>;

using TMouseEvent = std::function<void(QObject *Sender, Qt::MouseButton Button,
                                       Qt::KeyboardModifiers Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;
/// A key going down or up: `Key` is the Qt key code; a handler that sets it to 0
/// swallows the key, one that changes it passes the new key on.
using TKeyEvent = std::function<void(QObject *Sender, int &Key, Qt::KeyboardModifiers Shift)>;
/// The character a key typed; a handler that sets it to QChar() swallows it, one that
/// changes it types the new character instead.
using TKeyPressEvent = std::function<void(QObject *Sender, QChar &Key)>;

} // namespace nvo
