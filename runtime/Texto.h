#pragma once
// Where a CP1252 text of the system meets Qt.
#include "platform/Export.h"

#include <QList>
#include <QString>
#include <string>
#include <string_view>

/// QString of CP1252 bytes.
KOVANRT_API QString QStringDeCp1252(std::string_view Texto);
/// CP1252 bytes of a QString; a character outside the code page becomes '?'.
KOVANRT_API std::string Cp1252DeQString(const QString& Texto);
