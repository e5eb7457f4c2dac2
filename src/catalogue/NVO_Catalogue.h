#pragma once

#include "NVO_Global.h"

#include <QtCore/QString>

#include <functional>
#include <vector>

class QWidget;

namespace nvo {

/// One control as forms and Qt Designer see it.
struct TControlEntry {
    QString ClassName;   ///< fully qualified, as .ui files name it ("nvo::TNumLab")
    QString IncludeFile; ///< the header uic includes ("NVO_NumLab.h")
    QString Group;       ///< Designer's widget box group
    QString ToolTip;
    bool IsContainer = false;
    std::function<QWidget *(QWidget *parent)> Create;
};

/// Every control of the library, in widget-box order.
NVO_EXPORT const std::vector<TControlEntry> &ControlCatalogue();
/// Creates the control of class `className`; nullptr when the library has none.
NVO_EXPORT QWidget *CreateControl(const QString &className, QWidget *parent);

} // namespace nvo
