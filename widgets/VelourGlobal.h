#pragma once
// Export macro of the Velour widget library: every public class carries VELOUR_EXPORT.

#include <QtCore/qglobal.h>

#if defined(VELOUR_LIBRARY)
#define VELOUR_EXPORT Q_DECL_EXPORT
#else
#define VELOUR_EXPORT Q_DECL_IMPORT
#endif
