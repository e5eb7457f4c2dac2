#pragma once

// Header-only on purpose: the runtime library does not link Qt's UiTools; an
// application that loads forms at run time links Qt6::UiTools itself.

#include "NVO_Catalogue.h"
#include "NVO_Errors.h"

#include <QtUiTools/QUiLoader>
#include <QtWidgets/QWidget>

namespace nvo {

/// Loads .ui forms that hold the library's controls, without the Designer
/// plugin: catalogue classes are created here, everything else by QUiLoader.
/// Properties written with stdset="0" (as Designer writes GetX/SetX properties)
/// are applied by name through the setters, clamps included. Enum properties
/// take their key with or without its scope (<enum>nvo::TNumLab::dtExp</enum>,
/// <enum>nvo::fsRaised</enum>) or the ordinal as <number>; colours are unsigned
/// 32-bit values, so system colours need <UInt> (as Designer writes them).
class TFormLoader : public QUiLoader
{
public:
    using QUiLoader::QUiLoader;

    QWidget *createWidget(const QString &className, QWidget *parent = nullptr,
                          const QString &name = QString()) override
    {
        // Qt's form builder is not exception safe: a control whose constructor
        // throws is reported to the application's exception handler, and the form
        // gets QUiLoader's stand-in instead (a widget of the base class the form
        // declares for it, as Designer always writes).
        QWidget *control = nullptr;
        Guarded([&] { control = CreateLibraryControl(className, parent); });
        if (control) {
            control->setObjectName(name);
            return control;
        }
        return QUiLoader::createWidget(className, parent, name);
    }

protected:
    /// The library's control of class `className`, nullptr for other classes.
    virtual QWidget *CreateLibraryControl(const QString &className, QWidget *parent)
    {
        return CreateControl(className, parent);
    }
};

} // namespace nvo
