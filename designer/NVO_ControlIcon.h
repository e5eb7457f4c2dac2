#pragma once

#include <QtGui/QIcon>

namespace nvo::designer {

/// The widget-box icon of a control: its initials in a rounded box, drawn at run
/// time so that no control needs an image file to appear in Designer.
QIcon ControlIcon(const QString &className);

} // namespace nvo::designer
