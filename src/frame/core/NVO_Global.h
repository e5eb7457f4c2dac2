#pragma once

#include <QtCore/qglobal.h>

#if defined(NVO_BUILD_LIB)
#  define NVO_EXPORT Q_DECL_EXPORT
#else
#  define NVO_EXPORT Q_DECL_IMPORT
#endif
