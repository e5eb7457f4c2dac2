#pragma once

#include "NVO_Catalogue.h"

namespace gallery {

/// The list title of a control that has no page of its own: its class name.
QString GenericPageTitle(const nvo::TControlEntry &entry);
/// A page for a control that has no page of its own yet: one instance and an
/// editor for each of its own published properties that has a simple type.
QWidget *CreateGenericPage(const nvo::TControlEntry &entry, QWidget *parent);

} // namespace gallery
